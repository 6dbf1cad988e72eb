#include "win32/ImageListsWin32.h"

#include <algorithm>
#include <vector>

namespace ramvel::win32 {
namespace {

// Appends images first..count-1 of `list` in one strip: a 32-bit top-down DIB section whose
// fourth bytes stay 0, so the list draws through the mask, and a monochrome mask (1 =
// transparent). Masked pixels are black in the colour strip, as masked drawing expects.
void AppendImages(HIMAGELIST target, const ImageList& list, std::int32_t first) {
    const std::int32_t w = list.Width(), h = list.Height();
    const std::int32_t count = list.Count() - first;
    if (count <= 0) return;
    const std::int32_t stripWidth = w * count;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = stripWidth;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour) return;
    auto* pixels = static_cast<std::uint32_t*>(bits);

    // Monochrome bitmap rows are padded to 16 bits.
    const std::size_t maskStride = (static_cast<std::size_t>(stripWidth) + 15) / 16 * 2;
    std::vector<std::uint8_t> mask(maskStride * h, 0);
    for (std::int32_t i = 0; i < count; ++i) {
        const Picture& image = list.Image(first + i);
        for (std::int32_t y = 0; y < h; ++y) {
            for (std::int32_t x = 0; x < w; ++x) {
                const std::size_t at = image.At(x, y);
                const std::int32_t column = i * w + x;
                const bool masked = image.masked[at] != 0;
                pixels[static_cast<std::size_t>(y) * stripWidth + column] = masked ? 0 : image.pixels[at];
                if (masked) mask[y * maskStride + column / 8] |= static_cast<std::uint8_t>(0x80 >> (column % 8));
            }
        }
    }
    UniqueBitmap maskBitmap(CreateBitmap(stripWidth, h, 1, 1, mask.data()));
    if (maskBitmap) ImageList_Add(target, colour.get(), maskBitmap.get());
}

}  // namespace

HIMAGELIST Win32ImageLists::For(const ImageList& list) {
    UniqueImageList& entry = lists_[&list];
    if (!entry) {
        entry.reset(ImageList_Create(list.Width(), list.Height(), ILC_COLOR32 | ILC_MASK, list.Count(), 8));
        if (entry) AppendImages(entry.get(), list, 0);
    }
    return entry.get();
}

void Win32ImageLists::Changed(const ImageList& list, std::int32_t firstChanged) {
    const auto found = lists_.find(&list);
    if (found == lists_.end() || !found->second) return;  // made when first shown
    const HIMAGELIST target = found->second.get();
    int w = 0, h = 0;
    ImageList_GetIconSize(target, &w, &h);
    if (w != list.Width() || h != list.Height()) {
        ImageList_SetIconSize(target, list.Width(), list.Height());  // also removes every image
        firstChanged = 0;
    }
    // Images from firstChanged on go, then come back as the list now has them.
    const std::int32_t first = std::max(0, firstChanged);
    if (first == 0) {
        ImageList_Remove(target, -1);
    } else {
        for (int i = ImageList_GetImageCount(target) - 1; i >= first; --i) ImageList_Remove(target, i);
    }
    AppendImages(target, list, std::min(first, ImageList_GetImageCount(target)));
}

}  // namespace ramvel::win32
