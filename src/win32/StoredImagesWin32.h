#pragma once
// The standard and alternate image lists stored in the module's resources, read once per
// process and shared (their pictures never change) by every control.
#include <windows.h>

#include "images/ImageList.h"

namespace ramvel::win32 {

struct StoredImageLists {
    ImageList standard;
    ImageList alternate;
};

// Throws RamvelError when the resources are missing or do not read.
const StoredImageLists& StoredImages(HINSTANCE module);

}  // namespace ramvel::win32
