#pragma once
// A picture as the image lists hold it: 24-bit colour pixels plus a 1-bit mask.
#include <cstdint>
#include <vector>

namespace ramvel {

// 0x00RRGGBB, the byte order of a 32-bit top-down DIB row read as little-endian words.
using Rgb = std::uint32_t;

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Rgb> pixels;           // row by row from the top, width * height
    std::vector<std::uint8_t> masked;  // 1 where the pixel is transparent

    Picture() = default;
    // A fully transparent picture of the given size.
    Picture(std::int32_t w, std::int32_t h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0), masked(pixels.size(), 1) {}

    std::size_t At(std::int32_t x, std::int32_t y) const { return static_cast<std::size_t>(y) * width + x; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Picture&) const = default;
};

}  // namespace ramvel
