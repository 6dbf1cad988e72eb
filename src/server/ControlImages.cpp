// IRamvel members for images: which list the tree shows, and the standard list's content.
#include "RamvelDispIds.h"
#include "server/ControlObject.h"
#include "server/ControlOut.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::ClearImages() {
    return Member([&] { Control().ClearImages(); });
}

HRESULT RamvelControl::AddImage(BSTR ImageName, LONG* ImageNumber) {
    return Member([&] {
        LONG& out = OutParam<LONG>(ImageNumber, 0);
        out = Control().AddImage(TextView(ImageName));
    });
}

HRESULT RamvelControl::ReplaceImage(LONG Index, BSTR ImageName) {
    return Member([&] { Control().ReplaceImage(Index, TextView(ImageName)); });
}

HRESULT RamvelControl::imageSize(LONG Width, LONG Height) {
    return Member([&] { Control().imageSize(Width, Height); });
}

HRESULT RamvelControl::resetImages() {
    return Member([&] { Control().resetImages(); });
}

HRESULT RamvelControl::get_Images(VARIANT_BOOL* Value) {
    return Member([&] {
        VARIANT_BOOL& out = OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        out = ToVariantBool(Control().GetImages());
    });
}

// Images is module-wide and not saved, but it changes the shown list, which ImageList saves.
HRESULT RamvelControl::put_Images(VARIANT_BOOL Value) {
    return PutSaved(DISPID_RAMVEL_IMAGES, [&] { Control().SetImages(Value); });
}

HRESULT RamvelControl::get_ImageList(LONG* Value) {
    return Member([&] {
        LONG& out = OutParam<LONG>(Value, 0);
        out = Control().GetImageList();
    });
}

HRESULT RamvelControl::put_ImageList(LONG Value) {
    return PutSaved(DISPID_RAMVEL_IMAGELIST, [&] { Control().SetImageList(Value); });
}

}  // namespace ramvel::server
