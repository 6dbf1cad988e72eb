#include "images/PngImage.h"

#include <climits>
#include <cstring>
#include <memory>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 256
#include <stb_image.h>

namespace ramvel {
namespace {

// An icon directory can only describe pictures of up to 256 by 256 pixels: larger PNG entries
// are malformed and refused before anything is decoded.
constexpr int kLargestPng = 256;

std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Whether every chunk lies inside the data, up to the closing IEND chunk. The decoder sizes
// its buffers from the lengths chunks declare: a few bytes claiming a gigabyte must never
// reach it.
bool ChunksFitIn(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kChunkFrame = 12;  // length, type, CRC
    for (std::size_t at = 8; bytes.size() - at >= kChunkFrame;) {
        const std::uint32_t length = ReadBigEndian32(bytes.data() + at);
        if (length > bytes.size() - at - kChunkFrame) return false;
        if (std::memcmp(bytes.data() + at + 4, "IEND", 4) == 0) return true;
        at += kChunkFrame + length;
    }
    return false;
}

}  // namespace

std::optional<Picture> DecodePng(std::span<const std::uint8_t> bytes) {
    if (!IsPng(bytes) || bytes.size() > static_cast<std::size_t>(INT_MAX) || !ChunksFitIn(bytes)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    const int length = static_cast<int>(bytes.size());
    // The header alone first, so that a hostile size never reaches the decoder's allocation.
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) || width <= 0 || height <= 0 ||
        width > kLargestPng || height > kLargestPng)
        return std::nullopt;
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4), stbi_image_free);
    if (!rgba) return std::nullopt;
    Picture picture(width, height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const stbi_uc* p = rgba.get() + 4 * i;
        picture.pixels[i] = Rgb{p[0]} << 16 | Rgb{p[1]} << 8 | p[2];
        picture.masked[i] = p[3] < 128;
    }
    return picture;
}

}  // namespace ramvel
