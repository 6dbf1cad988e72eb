#pragma once
// The one place where a failure inside a COM method becomes an HRESULT and an error object.
// Every COM method body that may throw runs inside ComCall, e.g.
//     HRESULT RamvelControl::Clear() { return ComCall([&] { Control().Clear(); }); }
// so no exception ever crosses the COM boundary.
#include <windows.h>

#include <type_traits>

namespace ramvel::server {

// Maps the exception being handled: RamvelError -> its HRESULT plus an error object (source
// "RamvelProj1.Ramvel", GUID IID_IRamvel, description = its message when not empty);
// std::bad_alloc -> E_OUTOFMEMORY; anything else -> E_UNEXPECTED. Call only inside a catch block.
HRESULT ToHResult() noexcept;

// Drops the thread's error object, so that a failure without one of its own never shows a
// host an older failure's message.
void ClearErrorInfo() noexcept;

// Runs `body` and turns what it does into the method's HRESULT: S_OK when a void body returns,
// the body's own answer when it returns an HRESULT, ToHResult() when it throws.
template <typename Body>
HRESULT ComCall(Body&& body) noexcept {
    using Result = std::invoke_result_t<Body&>;
    static_assert(std::is_void_v<Result> || std::is_same_v<Result, HRESULT>,
                  "a COM method body returns nothing or an HRESULT");
    try {
        if constexpr (std::is_void_v<Result>) {
            body();
            return S_OK;
        } else {
            const HRESULT hr = body();
            if (FAILED(hr)) ClearErrorInfo();
            return hr;
        }
    } catch (...) {
        return ToHResult();
    }
}

// Throws a RamvelError carrying `hr` (no message) when `hr` is a failure.
void ThrowIfFailed(HRESULT hr);

}  // namespace ramvel::server
