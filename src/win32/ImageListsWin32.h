#pragma once
// The comctl32 image lists that draw the core's image lists: one HIMAGELIST (32-bit colour
// with a mask) per list, kept in step with it as images are added, replaced or removed.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>

#include "images/ImageList.h"
#include "win32/Handles.h"

namespace ramvel::win32 {

class Win32ImageLists {
public:
    // The HIMAGELIST that draws `list`, made on first use; 0 when it cannot be made.
    HIMAGELIST For(const ImageList& list);
    // Images of `list` from `firstChanged` on changed: the HIMAGELIST follows (same handle).
    void Changed(const ImageList& list, std::int32_t firstChanged);

private:
    std::map<const ImageList*, UniqueImageList> lists_;
};

}  // namespace ramvel::win32
