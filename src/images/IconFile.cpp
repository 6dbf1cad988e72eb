#include "images/IconFile.h"


#include "control/RamvelError.h"
#include "images/Dib.h"
#include "images/ImageErrors.h"
#include "images/PngImage.h"

namespace ramvel {
namespace {

constexpr std::size_t kHeaderSize = 6, kEntrySize = 16;

struct Entry {
    std::int32_t width, height, bitCount;
    std::uint32_t size, offset;
};

Entry ReadEntry(const std::uint8_t* p) {
    // A size byte of 0 means 256 pixels.
    return {p[0] ? p[0] : 256, p[1] ? p[1] : 256, ReadU16(p + 6), ReadU32(p + 8), ReadU32(p + 12)};
}

// Whether `a` suits a list of w by h images better than `b`.
bool FitsBetter(const Entry& a, const Entry& b, std::int32_t w, std::int32_t h) {
    const bool aBig = a.width >= w && a.height >= h, bBig = b.width >= w && b.height >= h;
    if (aBig != bBig) return aBig;
    const std::int64_t aArea = std::int64_t{a.width} * a.height, bArea = std::int64_t{b.width} * b.height;
    if (aArea != bArea) return aBig ? aArea < bArea : aArea > bArea;
    return a.bitCount > b.bitCount;
}

Picture DecodeBitmapEntry(std::span<const std::uint8_t> data) {
    static const DibErrors errors{kInvalidIcon, kInvalidIcon};
    const DibHeader header = ReadDibHeader(data, true, errors);
    std::size_t used = 0;
    DibPixels colour = DecodeDibPixels(header, data.subspan(header.end), errors, used);
    Picture& picture = colour.picture;
    if (colour.hasAlpha) {
        for (std::size_t i = 0; i < picture.masked.size(); ++i) picture.masked[i] = colour.alpha[i] < 128;
        return picture;
    }
    // The AND mask follows the colour rows: one bit per pixel, 1 for transparent.
    const std::span<const std::uint8_t> mask = data.subspan(header.end + used);
    const std::uint64_t stride = DibStride(header.width, 1);
    if (mask.size() / stride < static_cast<std::uint64_t>(header.height)) throw RamvelError(kInvalidIcon);
    for (std::int32_t y = 0; y < header.height; ++y) {
        const std::uint8_t* row = mask.data() + stride * (header.height - 1 - y);
        for (std::int32_t x = 0; x < header.width; ++x)
            picture.masked[picture.At(x, y)] = row[x >> 3] >> (7 - (x & 7)) & 1;
    }
    return picture;
}

}  // namespace

Picture ReadIconFile(std::span<const std::uint8_t> bytes, std::int32_t width, std::int32_t height) {
    if (bytes.size() < kHeaderSize) throw RamvelError(kStreamReadError);
    const std::uint16_t reserved = ReadU16(bytes.data()), type = ReadU16(bytes.data() + 2),
                        count = ReadU16(bytes.data() + 4);
    if (reserved != 0 || type != 1 || count == 0 || (bytes.size() - kHeaderSize) / kEntrySize < count)
        throw RamvelError(kInvalidIcon);

    Entry best = ReadEntry(bytes.data() + kHeaderSize);
    for (std::size_t i = 1; i < count; ++i) {
        const Entry entry = ReadEntry(bytes.data() + kHeaderSize + i * kEntrySize);
        if (FitsBetter(entry, best, width, height)) best = entry;
    }
    if (best.offset > bytes.size() || best.size > bytes.size() - best.offset) throw RamvelError(kInvalidIcon);
    const std::span<const std::uint8_t> data = bytes.subspan(best.offset, best.size);
    if (IsPng(data)) {
        if (std::optional<Picture> picture = DecodePng(data)) return std::move(*picture);
        throw RamvelError(kInvalidIcon);
    }
    return DecodeBitmapEntry(data);
}

}  // namespace ramvel
