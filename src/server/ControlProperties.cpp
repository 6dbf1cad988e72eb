// IRamvel properties of the control form.
#include "server/ControlObject.h"
#include "server/ControlOut.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::get_KeyPreview(VARIANT_BOOL* Value) {
    return ComCall([&] {
        VARIANT_BOOL& out = OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        out = ToVariantBool(Control().GetKeyPreview());
    });
}

HRESULT RamvelControl::put_KeyPreview(VARIANT_BOOL Value) {
    return ComCall([&] { Control().SetKeyPreview(Value != 0); });
}

}  // namespace ramvel::server
