#pragma once
// Windows icon files (.ico) read from their bytes.
#include <cstdint>
#include <span>

#include "images/Picture.h"

namespace ramvel {

// Reads the icon file's image that best fits a list of `width` by `height` images: the
// smallest one at least that size (the deepest colours among equals), else the largest one.
// Entries are bitmaps of 1 to 32 bits per pixel with an AND mask (32-bit ones may use their
// alpha instead), or PNG pictures. Throws RamvelError: "Erreur de lecture du flux" for a file
// shorter than its 6-byte header, "Image d'icône non valide" for anything else that is wrong.
Picture ReadIconFile(std::span<const std::uint8_t> bytes, std::int32_t width, std::int32_t height);

}  // namespace ramvel
