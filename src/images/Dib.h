#pragma once
// Device-independent bitmaps as bitmap and icon files carry them: the info header, colour
// masks and palette, then rows of 1 to 32 bits per pixel. Shared by both file readers; every
// read is checked against the end of the data.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "images/Picture.h"

namespace ramvel {

// The messages a reader gives when its data ends early or makes no sense.
struct DibErrors {
    std::u16string truncated;
    std::u16string invalid;
};

struct DibHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;  // rows of the picture, always positive
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t masks[4] = {};  // red, green, blue, alpha for 16 and 32 bits per pixel
    std::vector<Rgb> palette;
    std::size_t end = 0;  // offset just past the header, its masks and its palette
};

// Reads the header that starts `data`. `rowsHoldMask`: the height counts the picture and its
// AND mask (icon images), so the picture has half the rows.
DibHeader ReadDibHeader(std::span<const std::uint8_t> data, bool rowsHoldMask, const DibErrors& errors);

struct DibPixels {
    Picture picture;             // every pixel opaque
    std::vector<std::uint8_t> alpha;  // per pixel, for 32 bits per pixel only
    bool hasAlpha = false;       // some alpha value is not 0
};

// Decodes the rows that start `bits`. Returns also how many bytes the rows took.
DibPixels DecodeDibPixels(const DibHeader& header, std::span<const std::uint8_t> bits, const DibErrors& errors,
                          std::size_t& used);

// Bytes in one row of `width` pixels at `bitCount` bits, rows being padded to 4 bytes.
std::uint64_t DibStride(std::int64_t width, int bitCount);

// Little-endian reads; the caller has checked the bounds.
inline std::uint16_t ReadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The largest picture a reader accepts, in pixels (4096 by 4096).
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 24;

}  // namespace ramvel
