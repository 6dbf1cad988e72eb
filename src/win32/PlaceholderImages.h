#pragma once
// Stand-in image lists (16x16, masked) for the slots the control can show until the real
// image strips arrive: a few generated pictures each, so that image indexes draw something.
#include <windows.h>
#include <commctrl.h>

#include "platform/TreeWidget.h"
#include "win32/Handles.h"

namespace ramvel::win32 {

class PlaceholderImages {
public:
    PlaceholderImages();
    // The list for a slot; 0 for ImageListSlot::None.
    HIMAGELIST For(ImageListSlot slot) const;
    HIMAGELIST State() const { return standard_.get(); }

private:
    UniqueImageList standard_, working_, alternate_;
};

}  // namespace ramvel::win32
