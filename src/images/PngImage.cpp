#include "images/PngImage.h"

#include <climits>
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

}  // namespace

std::optional<Picture> DecodePng(std::span<const std::uint8_t> bytes) {
    if (!IsPng(bytes) || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
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
