#pragma once
// Out-parameters of IRamvel members: checked and set to empty before a member starts, so a
// failed call never leaves one unset.
#include <windows.h>

#include <string_view>

#include "control/RamvelError.h"
#include "server/ComPtr.h"

namespace ramvel::server {

template <typename T>
T& OutParam(T* out, T empty) {
    if (!out) throw RamvelError(u"", E_POINTER);
    *out = empty;
    return *out;
}

inline BSTR& OutText(BSTR* out) { return OutParam<BSTR>(out, nullptr); }

// The empty text travels as a null BSTR, which every host reads as "".
inline void SetText(BSTR& out, std::u16string_view text) { out = text.empty() ? nullptr : ToBstr(text).Detach(); }

inline VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace ramvel::server
