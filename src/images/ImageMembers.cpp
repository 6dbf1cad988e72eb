// The image members of the control: which list the tree shows, and the standard list's
// content and size.
#include <utility>

#include "control/ModuleState.h"
#include "control/MyRamvel.h"
#include "control/RamvelError.h"
#include "images/ImageErrors.h"
#include "images/ImageFile.h"

namespace ramvel {
namespace {

const std::u16string kNoListShown = u"No image list is shown: switch images on (Images or ImageList) first.";

// Puts a list back as it was unless its change is kept: a member that fails, also when the
// widget runs out of memory taking the change, leaves the list unchanged, so that a host that
// tries again gets one change, not two. The copy shares the pictures.
class ListRestorer {
public:
    explicit ListRestorer(ImageList& list) : list_(list), before_(list) {}
    ~ListRestorer() {
        if (!kept_) list_ = std::move(before_);
    }
    ListRestorer(const ListRestorer&) = delete;
    ListRestorer& operator=(const ListRestorer&) = delete;
    void Keep() { kept_ = true; }

private:
    ImageList& list_;
    ImageList before_;
    bool kept_ = false;
};

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
    ListRestorer restorer(ImageList1);
    ImageList1.Clear();
    ImagesChanged(ImageList1, 0);
    restorer.Keep();
}

void TMyRamvel::imageSize(std::int32_t width, std::int32_t height) {
    // Both sides are checked first: a refused size changes nothing.
    if (!ImageList::ValidSide(width) || !ImageList::ValidSide(height)) throw RamvelError(kInvalidImageSize);
    UpdateScope update(*this);
    const bool changed = width != ImageList1.Width() || height != ImageList1.Height();
    ListRestorer restorer(ImageList1);
    ImageList1.SetWidth(width);
    ImageList1.SetHeight(height);
    if (changed) ImagesChanged(ImageList1, 0);
    restorer.Keep();
}

void TMyRamvel::resetImages() {
    UpdateScope update(*this);
    const std::int32_t first = ImageList1.Count();
    ListRestorer restorer(ImageList1);
    ImageList1.AppendImagesOf(ImageList2);
    ImagesChanged(ImageList1, first);
    restorer.Keep();
}

std::int32_t TMyRamvel::AddImage(std::u16string_view imageName) {
    ImageList& list = ShownList();
    const ImageFile file = ReadImage(list, imageName);
    const std::int32_t first = list.Count();
    ListRestorer restorer(list);
    const std::int32_t index =
        file.icon ? list.AddIcon(file.picture) : list.AddMasked(file.picture, file.transparent);
    if (index >= 0) ImagesChanged(list, first);
    restorer.Keep();
    return index;
}

void TMyRamvel::ReplaceImage(std::int32_t index, std::u16string_view imageName) {
    ImageList& list = ShownList();
    const ImageFile file = ReadImage(list, imageName);
    const std::int32_t count = list.Count();
    ListRestorer restorer(list);
    if (file.icon)
        list.ReplaceIcon(index, file.picture);
    else
        list.ReplaceMasked(index, file.picture, file.transparent);
    ImagesChanged(list, index == -1 ? count : index);
    restorer.Keep();
}

}  // namespace ramvel
