#include "images/Dib.h"

#include <bit>

#include "control/RamvelError.h"

namespace ramvel {
namespace {

constexpr std::uint32_t kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;
constexpr std::uint32_t kCoreHeaderSize = 12, kInfoHeaderSize = 40;

Rgb MakeRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r << 16 | g << 8 | b; }

// One channel of a packed pixel, scaled to 8 bits.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t top = mask >> shift;
    return static_cast<std::uint32_t>(std::uint64_t{(value & mask) >> shift} * 255 / top);
}

// A contiguous mask keeps its top 24 bits: the bits below them cannot change an 8-bit channel
// by more than rounding does.
std::uint32_t Significant(std::uint32_t mask) {
    const int dropped = std::popcount(mask) - 24;
    if (dropped <= 0) return mask;
    const int below = std::countr_zero(mask) + dropped;
    return mask >> below << below;
}

bool ValidMasks(const std::uint32_t (&masks)[4]) {
    for (std::uint32_t mask : masks) {
        // Each channel's bits must be contiguous.
        if (mask != 0 && !std::has_single_bit((mask >> std::countr_zero(mask)) + std::uint64_t{1})) return false;
    }
    return masks[0] | masks[1] | masks[2];
}

}  // namespace

std::uint64_t DibStride(std::int64_t width, int bitCount) {
    return (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
}

DibHeader ReadDibHeader(std::span<const std::uint8_t> data, bool rowsHoldMask, const DibErrors& errors) {
    if (data.size() < 4) throw RamvelError(errors.truncated);
    const std::uint32_t size = ReadU32(data.data());
    if (size != kCoreHeaderSize && size < kInfoHeaderSize) throw RamvelError(errors.invalid);
    if (data.size() < size) throw RamvelError(errors.truncated);
    const std::uint8_t* p = data.data();

    DibHeader header;
    std::int64_t height;
    std::uint32_t colours = 0;
    if (size == kCoreHeaderSize) {
        header.width = ReadU16(p + 4);
        height = ReadU16(p + 6);
        header.bitCount = ReadU16(p + 10);
    } else {
        header.width = static_cast<std::int32_t>(ReadU32(p + 4));
        height = static_cast<std::int32_t>(ReadU32(p + 8));
        header.bitCount = ReadU16(p + 14);
        header.compression = ReadU32(p + 16);
        colours = ReadU32(p + 32);
    }
    if (height < 0) {
        if (rowsHoldMask) throw RamvelError(errors.invalid);
        header.topDown = true;
        height = -height;
    }
    if (rowsHoldMask) height /= 2;
    if (header.width <= 0 || height <= 0 || header.width * height > kMaxPicturePixels)
        throw RamvelError(errors.invalid);
    header.height = static_cast<std::int32_t>(height);

    const std::uint16_t bits = header.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw RamvelError(errors.invalid);

    std::size_t at = size;
    if (header.compression == kBitfields || header.compression == kAlphaBitfields) {
        if (bits != 16 && bits != 32) throw RamvelError(errors.invalid);
        const int count = header.compression == kAlphaBitfields ? 4 : 3;
        if (size >= kInfoHeaderSize + 4 * count) {
            for (int i = 0; i < count; ++i) header.masks[i] = ReadU32(p + kInfoHeaderSize + 4 * i);
        } else {
            if (data.size() < at + 4 * count) throw RamvelError(errors.truncated);
            for (int i = 0; i < count; ++i) header.masks[i] = ReadU32(p + at + 4 * i);
            at += 4 * count;
        }
        if (size >= 56 && count == 3) header.masks[3] = ReadU32(p + 52);
        if (!ValidMasks(header.masks)) throw RamvelError(errors.invalid);
        for (std::uint32_t& mask : header.masks) mask = Significant(mask);
    } else if (header.compression != kRgb) {
        throw RamvelError(errors.invalid);
    } else if (bits == 16) {
        header.masks[0] = 0x7C00, header.masks[1] = 0x03E0, header.masks[2] = 0x001F;
    } else if (bits == 32) {
        header.masks[0] = 0xFF0000, header.masks[1] = 0x00FF00, header.masks[2] = 0x0000FF;
        header.masks[3] = 0xFF000000;
    }

    // Palette: every colour of the pixel depth unless the header names fewer. Larger depths may
    // carry one too (a hint for displays), which only has to be skipped.
    const std::uint32_t depthColours = bits <= 8 ? 1u << bits : 0;
    if (colours == 0) colours = depthColours;
    if (colours > 256) throw RamvelError(errors.invalid);
    const std::size_t entry = size == kCoreHeaderSize ? 3 : 4;
    if (data.size() - at < colours * entry) throw RamvelError(errors.truncated);
    if (bits <= 8) {
        header.palette.reserve(colours);
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::uint8_t* c = p + at + i * entry;
            header.palette.push_back(MakeRgb(c[2], c[1], c[0]));
        }
    }
    header.end = at + colours * entry;
    return header;
}

DibPixels DecodeDibPixels(const DibHeader& header, std::span<const std::uint8_t> bits, const DibErrors& errors,
                          std::size_t& used) {
    const std::int32_t w = header.width, h = header.height;
    const int depth = header.bitCount;
    const std::uint64_t stride = DibStride(w, depth);
    if (bits.size() / stride < static_cast<std::uint64_t>(h)) throw RamvelError(errors.truncated);
    used = static_cast<std::size_t>(stride * h);

    DibPixels out;
    out.picture = Picture(w, h);
    std::fill(out.picture.masked.begin(), out.picture.masked.end(), 0);
    if (depth == 32) out.alpha.assign(out.picture.pixels.size(), 0);
    const std::vector<Rgb>& palette = header.palette;
    auto fromPalette = [&](std::uint32_t index) { return index < palette.size() ? palette[index] : Rgb{0}; };

    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint8_t* row = bits.data() + stride * (header.topDown ? y : h - 1 - y);
        Rgb* pixel = &out.picture.pixels[out.picture.At(0, y)];
        for (std::int32_t x = 0; x < w; ++x) {
            switch (depth) {
            case 1: pixel[x] = fromPalette(row[x >> 3] >> (7 - (x & 7)) & 1); break;
            case 4: pixel[x] = fromPalette(row[x >> 1] >> (x & 1 ? 0 : 4) & 0x0F); break;
            case 8: pixel[x] = fromPalette(row[x]); break;
            case 24: pixel[x] = MakeRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
            default: {
                const std::uint32_t v = depth == 16 ? ReadU16(row + 2 * x) : ReadU32(row + 4 * x);
                pixel[x] = MakeRgb(Channel(v, header.masks[0]), Channel(v, header.masks[1]), Channel(v, header.masks[2]));
                if (depth == 32) {
                    const std::uint8_t a = static_cast<std::uint8_t>(Channel(v, header.masks[3]));
                    out.alpha[out.picture.At(x, y)] = a;
                    out.hasAlpha |= a != 0;
                }
            }
            }
        }
    }
    return out;
}

}  // namespace ramvel
