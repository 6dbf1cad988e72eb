#pragma once
// Pictures from the icon and bitmap files that hosts name.
#include <cstdint>
#include <string_view>

#include "images/Picture.h"
#include "platform/FileReader.h"

namespace ramvel {

// The file's kind is read from its name: the text after the first "." (up to the next one)
// is "ICO" in any letter case. The first dot may lie in a folder's name, so an icon in a
// folder named "my.icons" reads as a bitmap.
bool IsIconFileName(std::u16string_view name);

struct ImageFile {
    bool icon = false;
    Picture picture;
    Rgb transparent = 0;  // bitmaps: the colour that becomes transparent
};

// Reads the named file as its name's kind says. An icon file gives the image that best fits
// a list of `width` by `height` images. Throws RamvelError with the reader's message.
ImageFile ReadImageFile(IFileReader& files, std::u16string_view name, std::int32_t width, std::int32_t height);

}  // namespace ramvel
