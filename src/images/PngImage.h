#pragma once
// PNG pictures inside icon files, decoded by stb_image.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>

#include "images/Picture.h"

namespace ramvel {

inline bool IsPng(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::equal(kSignature, kSignature + 8, bytes.begin());
}

// The picture, with pixels whose alpha is below one half masked; nothing when the data is not
// a PNG picture of at most 256 by 256 pixels (the most an icon holds) that decodes.
std::optional<Picture> DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace ramvel
