#pragma once
// Builders of small bitmap, icon and PNG files for the image tests.
#include <cstdint>
#include <string>
#include <vector>

#include "images/Picture.h"

namespace ramvel::test {

using Bytes = std::vector<std::uint8_t>;

// A device-independent bitmap. `values` are the pixels row by row from the top: palette
// indexes up to 8 bits per pixel, else 0x00RRGGBB colours (0xAARRGGBB at 32 bits).
struct DibLayout {
    std::int32_t width = 2, height = 2;
    int bitCount = 24;
    std::vector<std::uint32_t> values;
    std::vector<Rgb> palette;
    bool topDown = false;
    std::uint32_t headerSize = 40;  // 12 (core header), 40, 108 or 124
    bool bitfields565 = false;      // 16 bits per pixel as red 5, green 6, blue 5
    // Red, green and blue masks, at 16 or 32 bits per pixel; `values` are then the pixels as
    // stored.
    std::vector<std::uint32_t> masks;
};

// The info header, palette (or masks) and rows. `maskRows` appends an AND mask (1 =
// transparent, row by row from the top) and doubles the height, as icons have it.
Bytes Dib(const DibLayout& layout, const std::vector<std::uint8_t>* andMask = nullptr);

// A .bmp file: "BM", file header, then the bitmap.
Bytes BitmapFileOf(const DibLayout& layout);

struct IconEntry {
    std::int32_t width, height;  // as the directory says
    int bitCount;
    Bytes data;
};
// An .ico file: header, directory, then each entry's data.
Bytes IconFileOf(const std::vector<IconEntry>& entries);

// A PNG file of RGBA pixels (0xAARRGGBB).
Bytes Png(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& argb);

// Writes little-endian values into a byte vector.
void Put16(Bytes& out, std::size_t at, std::uint32_t value);
void Put32(Bytes& out, std::size_t at, std::uint32_t value);

}  // namespace ramvel::test
