// The image members of the control: which list the tree shows, and the standard list's
// content and size.
#include "control/ModuleState.h"
#include "control/MyRamvel.h"
#include "control/RamvelError.h"
#include "images/ImageErrors.h"
#include "images/ImageFile.h"

namespace ramvel {
namespace {

const std::u16string kNoListShown = u"No image list is shown: switch images on (Images or ImageList) first.";

}  // namespace

void TMyRamvel::ShowList(ImageList* list) {
    shownList_ = list;
    TView->ShowImages(list);
}

ImageList& TMyRamvel::ShownList() {
    if (!shownList_) throw RamvelError(kNoListShown);
    return *shownList_;
}

ImageFile TMyRamvel::ReadImage(const ImageList& list, std::u16string_view imageName) {
    if (!files_) throw RamvelError(u"Ramvel: this control reads no files.");
    return ReadImageFile(*files_, imageName, list.Width(), list.Height());
}

void TMyRamvel::ImagesChanged(const ImageList& list, std::int32_t firstChanged) {
    TView->ImagesChanged(list, firstChanged);
}

std::int32_t TMyRamvel::GetImageList() const {
    if (shownList_ == &ImageList1) return 1;
    if (shownList_ == &AlternateImageList) return 2;
    return 0;
}

void TMyRamvel::SetImageList(std::int32_t value) {
    if (value < 2)
        ShowList(&ImageList1);
    else if (value == 2)
        ShowList(&AlternateImageList);
}

bool TMyRamvel::GetImages() const { return shownList_ != nullptr; }

void TMyRamvel::SetImages(std::int16_t value) {
    ShowList(value != 0 ? &ImageList1 : nullptr);
    Module().imageDisplay = value;
}

void TMyRamvel::ClearImages() {
    if (ImageList1.Count() == 0) return;
    ImageList1.Clear();
    ImagesChanged(ImageList1, 0);
}

void TMyRamvel::imageSize(std::int32_t width, std::int32_t height) {
    // Both sides are checked first: a refused size changes nothing.
    if (!ImageList::ValidSide(width) || !ImageList::ValidSide(height)) throw RamvelError(kInvalidImageSize);
    UpdateScope update(*this);
    const bool changed = width != ImageList1.Width() || height != ImageList1.Height();
    ImageList1.SetWidth(width);
    ImageList1.SetHeight(height);
    if (changed) ImagesChanged(ImageList1, 0);
}

void TMyRamvel::resetImages() {
    UpdateScope update(*this);
    const std::int32_t first = ImageList1.Count();
    ImageList1.AppendImagesOf(ImageList2);
    ImagesChanged(ImageList1, first);
}

std::int32_t TMyRamvel::AddImage(std::u16string_view imageName) {
    ImageList& list = ShownList();
    const ImageFile file = ReadImage(list, imageName);
    const std::int32_t first = list.Count();
    const std::int32_t index =
        file.icon ? list.AddIcon(file.picture) : list.AddMasked(file.picture, file.transparent);
    if (index >= 0) ImagesChanged(list, first);
    return index;
}

void TMyRamvel::ReplaceImage(std::int32_t index, std::u16string_view imageName) {
    ImageList& list = ShownList();
    const ImageFile file = ReadImage(list, imageName);
    const std::int32_t count = list.Count();
    if (file.icon)
        list.ReplaceIcon(index, file.picture);
    else
        list.ReplaceMasked(index, file.picture, file.transparent);
    ImagesChanged(list, index == -1 ? count : index);
}

}  // namespace ramvel
