#include "images/PictureOps.h"

#include <algorithm>

namespace ramvel {

Picture ScaleDown(const Picture& source, std::int32_t w, std::int32_t h) {
    if (source.width == w && source.height == h) return source;
    Picture out(w, h);
    for (std::int32_t y = 0; y < h; ++y) {
        const std::int32_t top = static_cast<std::int32_t>(std::int64_t{y} * source.height / h);
        const std::int32_t bottom = std::max(top + 1, static_cast<std::int32_t>(std::int64_t{y + 1} * source.height / h));
        for (std::int32_t x = 0; x < w; ++x) {
            const std::int32_t left = static_cast<std::int32_t>(std::int64_t{x} * source.width / w);
            const std::int32_t right = std::max(left + 1, static_cast<std::int32_t>(std::int64_t{x + 1} * source.width / w));
            std::uint64_t r = 0, g = 0, b = 0, opaque = 0, all = 0;
            for (std::int32_t sy = top; sy < bottom; ++sy) {
                for (std::int32_t sx = left; sx < right; ++sx, ++all) {
                    const std::size_t at = source.At(sx, sy);
                    if (source.masked[at]) continue;
                    const Rgb c = source.pixels[at];
                    r += c >> 16 & 0xFF, g += c >> 8 & 0xFF, b += c & 0xFF;
                    ++opaque;
                }
            }
            if (opaque * 2 < all) continue;
            const std::size_t at = out.At(x, y);
            out.pixels[at] = static_cast<Rgb>((r / opaque) << 16 | (g / opaque) << 8 | b / opaque);
            out.masked[at] = 0;
        }
    }
    return out;
}

Picture CutMasked(const Picture& source, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                  Rgb transparent) {
    Picture out(w, h);
    for (std::int32_t row = 0; row < h; ++row) {
        for (std::int32_t column = 0; column < w; ++column) {
            const Rgb colour = source.pixels[source.At(x + column, y + row)];
            out.pixels[out.At(column, row)] = colour;
            out.masked[out.At(column, row)] = colour == transparent;
        }
    }
    return out;
}

Picture DrawIntoCell(const Picture& source, std::int32_t w, std::int32_t h) {
    Picture out(w, h);
    const std::int32_t rows = std::min(h, source.height), columns = std::min(w, source.width);
    for (std::int32_t row = 0; row < rows; ++row) {
        std::copy_n(&source.pixels[source.At(0, row)], columns, &out.pixels[out.At(0, row)]);
        std::copy_n(&source.masked[source.At(0, row)], columns, &out.masked[out.At(0, row)]);
    }
    return out;
}

}  // namespace ramvel
