#include "server/ComPtr.h"

#include <new>

namespace ramvel::server {

std::u16string_view TextView(BSTR s) {
    return s ? std::u16string_view(reinterpret_cast<const char16_t*>(s), SysStringLen(s)) : std::u16string_view();
}

std::u16string ToText(BSTR s) { return std::u16string(TextView(s)); }

Bstr ToBstr(std::u16string_view text) {
    Bstr result(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size())));
    if (!result) throw std::bad_alloc();
    return result;
}

}  // namespace ramvel::server
