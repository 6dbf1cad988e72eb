#include "images/StoredImages.h"

#include "control/RamvelError.h"
#include "images/BitmapFile.h"
#include "images/ImageErrors.h"

namespace ramvel {

ImageList ReadImageStrip(std::span<const std::uint8_t> colour, std::span<const std::uint8_t> mask,
                         std::int32_t count, std::int32_t side) {
    constexpr std::int32_t kColumns = 4;
    const Picture pixels = ReadBitmapFile(colour).picture;
    const Picture masks = ReadBitmapFile(mask).picture;
    const std::int32_t rows = (count + kColumns - 1) / kColumns;
    if (pixels.width < kColumns * side || pixels.height < rows * side || masks.width != pixels.width ||
        masks.height != pixels.height)
        throw RamvelError(kInvalidImageSize);

    ImageList list(side, side);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t left = i % kColumns * side, top = i / kColumns * side;
        auto image = std::make_shared<Picture>(side, side);
        for (std::int32_t y = 0; y < side; ++y) {
            for (std::int32_t x = 0; x < side; ++x) {
                const std::size_t from = pixels.At(left + x, top + y), to = image->At(x, y);
                image->pixels[to] = pixels.pixels[from];
                image->masked[to] = masks.pixels[from] != 0;
            }
        }
        list.Append(std::move(image));
    }
    return list;
}

}  // namespace ramvel
