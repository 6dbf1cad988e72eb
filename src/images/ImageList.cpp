#include "images/ImageList.h"

#include "control/RamvelError.h"
#include "images/ImageErrors.h"
#include "images/PictureOps.h"

namespace ramvel {

void ImageList::SetWidth(std::int32_t width) {
    if (!ValidSide(width)) throw RamvelError(kInvalidImageSize);
    if (width == width_) return;
    width_ = width;
    Clear();
}

void ImageList::SetHeight(std::int32_t height) {
    if (!ValidSide(height)) throw RamvelError(kInvalidImageSize);
    if (height == height_) return;
    height_ = height;
    Clear();
}

void ImageList::CheckSize(const Picture& picture) const {
    if (picture.width < width_ || picture.height < height_) throw RamvelError(kInvalidImageSize);
}

void ImageList::CheckIndex(std::int32_t index) const {
    if (index < 0 || index >= Count()) throw RamvelError(kCannotReplaceImage);
}

bool ImageList::Fits(std::int64_t images) const {
    return (Count() + images) * width_ * height_ <= kMaxPixels;
}

void ImageList::Append(std::shared_ptr<const Picture> picture) { images_.push_back(std::move(picture)); }

std::int32_t ImageList::AddIcon(const Picture& icon) {
    CheckSize(icon);
    if (!Fits(1)) return -1;
    Append(std::make_shared<const Picture>(ScaleDown(icon, width_, height_)));
    return Count() - 1;
}

std::int32_t ImageList::AddMasked(const Picture& bitmap, Rgb transparent) {
    CheckSize(bitmap);
    const std::int32_t images = bitmap.width / width_;
    if (!Fits(images)) return -1;
    // Made apart first, so that a failure leaves the list as it was.
    std::vector<std::shared_ptr<const Picture>> made;
    made.reserve(images);
    for (std::int32_t i = 0; i < images; ++i)
        made.push_back(std::make_shared<const Picture>(CutMasked(bitmap, i * width_, 0, width_, height_, transparent)));
    const std::int32_t first = Count();
    images_.insert(images_.end(), made.begin(), made.end());
    return first;
}

void ImageList::ReplaceIcon(std::int32_t index, const Picture& icon) {
    CheckSize(icon);
    if (index == -1) {
        AddIcon(icon);
        return;
    }
    CheckIndex(index);
    images_[index] = std::make_shared<const Picture>(ScaleDown(icon, width_, height_));
}

void ImageList::ReplaceMasked(std::int32_t index, const Picture& bitmap, Rgb transparent) {
    CheckSize(bitmap);
    CheckIndex(index);
    images_[index] = std::make_shared<const Picture>(CutMasked(bitmap, 0, 0, width_, height_, transparent));
}

void ImageList::AppendImagesOf(const ImageList& source) {
    std::vector<std::shared_ptr<const Picture>> made;
    for (const auto& image : source.images_) {
        if (!Fits(static_cast<std::int64_t>(made.size()) + 1)) break;
        if (image->width == width_ && image->height == height_)
            made.push_back(image);
        else
            made.push_back(std::make_shared<const Picture>(DrawIntoCell(*image, width_, height_)));
    }
    images_.insert(images_.end(), made.begin(), made.end());
}

}  // namespace ramvel
