#pragma once
// Windows bitmap files (.bmp) read from their bytes.
#include <cstdint>
#include <span>

#include "images/Picture.h"

namespace ramvel {

struct BitmapFile {
    Picture picture;       // every pixel opaque
    Rgb transparent = 0;   // the bottom-left pixel's colour; white for two-colour bitmaps
};

// Reads a bitmap file: 1, 4, 8, 16, 24 or 32 bits per pixel, bottom-up or top-down, with a
// palette or colour masks. Zero bytes read as an empty picture. Throws RamvelError:
// "Erreur de lecture du flux" when the data ends early, "Image de bitmap non valide" when it
// is not a bitmap this reader can show.
BitmapFile ReadBitmapFile(std::span<const std::uint8_t> bytes);

}  // namespace ramvel
