#pragma once
// The one place where a failure inside a COM method becomes an HRESULT and an error object.
// Every COM method body reads: try { ...; return S_OK; } catch (...) { return ToHResult(); }
#include <windows.h>

#include <string_view>

namespace ramvel::server {

// Maps the exception being handled: RamvelError -> its HRESULT plus an error object (source
// "RamvelProj1.Ramvel", GUID IID_IRamvel, description = its message when not empty);
// std::bad_alloc -> E_OUTOFMEMORY; anything else -> E_UNEXPECTED. Call only inside a catch block.
HRESULT ToHResult() noexcept;

// Throws a RamvelError carrying `hr` (no message) when `hr` is a failure.
void ThrowIfFailed(HRESULT hr);

// For members whose behaviour lands later: fails with E_NOTIMPL and an English message.
[[noreturn]] void ThrowNotImplemented(std::u16string_view member);

}  // namespace ramvel::server
