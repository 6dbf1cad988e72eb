#pragma once
// An image list: same-size masked pictures indexed from 0. Pictures are shared between lists
// that copy them and never change once made, so copies of the stored lists cost little.
#include <cstdint>
#include <memory>
#include <vector>

#include "images/Picture.h"

namespace ramvel {

class ImageList {
public:
    // Image sides outside 1..kMaxSide are refused; a list holds at most kMaxPixels pixels.
    static constexpr std::int32_t kMaxSide = 1024;
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

    ImageList(std::int32_t width = 16, std::int32_t height = 16) : width_(width), height_(height) {}

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t Count() const { return static_cast<std::int32_t>(images_.size()); }
    const Picture& Image(std::int32_t index) const { return *images_.at(static_cast<std::size_t>(index)); }

    void Clear() { images_.clear(); }
    // A new value empties the list; the same value changes nothing. Throws RamvelError
    // "Taille de l'image non valide" for a side outside 1..kMaxSide.
    void SetWidth(std::int32_t width);
    void SetHeight(std::int32_t height);
    static bool ValidSide(std::int32_t side) { return side >= 1 && side <= kMaxSide; }

    // Appends the icon, scaled to the list's size; its index, or -1 when the list is full.
    std::int32_t AddIcon(const Picture& icon);
    // Appends one image per list width of the bitmap (left to right, the top rows of each),
    // transparent where the colour is `transparent`; the first one's index, or -1 when full.
    std::int32_t AddMasked(const Picture& bitmap, Rgb transparent);
    // Puts the scaled icon in place of image `index`; -1 appends it instead.
    void ReplaceIcon(std::int32_t index, const Picture& icon);
    // Puts the bitmap's top-left part, masked by the colour, in place of image `index`.
    void ReplaceMasked(std::int32_t index, const Picture& bitmap, Rgb transparent);
    // Appends every image of `source`, each drawn unscaled into a transparent cell of this
    // list's size, as long as the list has room.
    void AppendImagesOf(const ImageList& source);

    // Appends a picture of exactly the list's size, shared with whoever else holds it.
    void Append(std::shared_ptr<const Picture> picture);

private:
    void CheckSize(const Picture& picture) const;
    void CheckIndex(std::int32_t index) const;
    bool Fits(std::int64_t images) const;

    std::int32_t width_, height_;
    std::vector<std::shared_ptr<const Picture>> images_;
};

}  // namespace ramvel
