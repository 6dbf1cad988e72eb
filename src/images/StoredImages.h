#pragma once
// The image lists stored with the control: strips four images wide, a 32-bit colour bitmap
// and a monochrome mask bitmap (white: transparent) of the same size.
#include <cstdint>
#include <span>

#include "images/ImageList.h"

namespace ramvel {

inline constexpr std::int32_t kStandardImageCount = 42;
inline constexpr std::int32_t kAlternateImageCount = 87;

// Cuts `count` images of `side` pixels from the strip, in rows of four from the top left.
// Throws RamvelError when the bitmaps do not read or are too small.
ImageList ReadImageStrip(std::span<const std::uint8_t> colour, std::span<const std::uint8_t> mask,
                         std::int32_t count, std::int32_t side = 16);

}  // namespace ramvel
