#include "ImageBytes.h"

#include <algorithm>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

namespace ramvel::test {

void Put16(Bytes& out, std::size_t at, std::uint32_t value) {
    out[at] = value & 0xFF;
    out[at + 1] = value >> 8 & 0xFF;
}

void Put32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = value >> (8 * i) & 0xFF;
}

namespace {

void Append16(Bytes& out, std::uint32_t value) {
    out.resize(out.size() + 2);
    Put16(out, out.size() - 2, value);
}

void Append32(Bytes& out, std::uint32_t value) {
    out.resize(out.size() + 4);
    Put32(out, out.size() - 4, value);
}

std::size_t Stride(std::int32_t width, int bitCount) { return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4; }

void AppendRow(Bytes& out, const DibLayout& l, std::int32_t y) {
    Bytes row(Stride(l.width, l.bitCount), 0);
    for (std::int32_t x = 0; x < l.width; ++x) {
        const std::uint32_t v = l.values.at(static_cast<std::size_t>(y) * l.width + x);
        switch (l.bitCount) {
        case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 0xF) << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<std::uint8_t>(v); break;
        case 16: {
            const std::uint32_t r = v >> 16 & 0xFF, g = v >> 8 & 0xFF, b = v & 0xFF;
            if (!l.masks.empty()) {
                Put16(row, 2 * x, v);
                break;
            }
            Put16(row, 2 * x, l.bitfields565 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
            break;
        }
        case 24: row[3 * x] = v & 0xFF, row[3 * x + 1] = v >> 8 & 0xFF, row[3 * x + 2] = v >> 16 & 0xFF; break;
        case 32: Put32(row, 4 * x, v); break;
        }
    }
    out.insert(out.end(), row.begin(), row.end());
}

}  // namespace

Bytes Dib(const DibLayout& l, const std::vector<std::uint8_t>* andMask) {
    Bytes out;
    const std::int32_t rows = andMask ? 2 * l.height : l.height;
    Append32(out, l.headerSize);
    if (l.headerSize == 12) {
        Append16(out, l.width);
        Append16(out, rows);
        Append16(out, 1);
        Append16(out, l.bitCount);
    } else {
        Append32(out, l.width);
        Append32(out, static_cast<std::uint32_t>(l.topDown ? -rows : rows));
        Append16(out, 1);
        Append16(out, l.bitCount);
        const std::vector<std::uint32_t> masks =
            l.bitfields565 ? std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F} : l.masks;
        Append32(out, masks.empty() ? 0 : 3);
        Append32(out, 0);                                         // image size
        Append32(out, 2835), Append32(out, 2835);                 // pixels per metre
        Append32(out, static_cast<std::uint32_t>(l.palette.size()));  // colours used
        Append32(out, 0);
        out.resize(l.headerSize, 0);
        for (std::size_t i = 0; i < masks.size(); ++i) {
            if (l.headerSize >= 52) Put32(out, 40 + 4 * i, masks[i]);
            else Append32(out, masks[i]);
        }
    }
    for (Rgb c : l.palette) {
        out.push_back(c & 0xFF), out.push_back(c >> 8 & 0xFF), out.push_back(c >> 16 & 0xFF);
        if (l.headerSize != 12) out.push_back(0);
    }
    for (std::int32_t i = 0; i < l.height; ++i) AppendRow(out, l, l.topDown ? i : l.height - 1 - i);
    if (andMask) {
        DibLayout mask{l.width, l.height, 1, {andMask->begin(), andMask->end()}};
        for (std::int32_t i = 0; i < l.height; ++i) AppendRow(out, mask, l.height - 1 - i);
    }
    return out;
}

Bytes BitmapFileOf(const DibLayout& layout) {
    const Bytes dib = Dib(layout);
    const std::size_t paletteEntry = layout.headerSize == 12 ? 3 : 4;
    const std::size_t masks = (layout.bitfields565 || !layout.masks.empty()) && layout.headerSize < 52 ? 12 : 0;
    Bytes out(14, 0);
    out[0] = 'B', out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(out, 10, static_cast<std::uint32_t>(14 + layout.headerSize + masks + layout.palette.size() * paletteEntry));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

Bytes IconFileOf(const std::vector<IconEntry>& entries) {
    Bytes out(6 + 16 * entries.size(), 0);
    Put16(out, 2, 1);
    Put16(out, 4, static_cast<std::uint32_t>(entries.size()));
    std::size_t offset = out.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconEntry& e = entries[i];
        const std::size_t at = 6 + 16 * i;
        out[at] = static_cast<std::uint8_t>(e.width >= 256 ? 0 : e.width);
        out[at + 1] = static_cast<std::uint8_t>(e.height >= 256 ? 0 : e.height);
        Put16(out, at + 4, 1);
        Put16(out, at + 6, static_cast<std::uint32_t>(e.bitCount));
        Put32(out, at + 8, static_cast<std::uint32_t>(e.data.size()));
        Put32(out, at + 12, static_cast<std::uint32_t>(offset));
        offset += e.data.size();
    }
    for (const IconEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

Bytes Png(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& argb) {
    std::vector<std::uint8_t> rgba;
    for (std::uint32_t v : argb) {
        rgba.push_back(v >> 16 & 0xFF), rgba.push_back(v >> 8 & 0xFF), rgba.push_back(v & 0xFF);
        rgba.push_back(v >> 24 & 0xFF);
    }
    Bytes out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<Bytes*>(context);
            bytes->insert(bytes->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
        },
        &out, width, height, 4, rgba.data(), width * 4);
    return out;
}

}  // namespace ramvel::test
