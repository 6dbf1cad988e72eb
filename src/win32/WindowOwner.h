#pragma once
// The COM object behind a window, kept alive while one of the window's messages is handled.
#include <windows.h>
#include <unknwn.h>

namespace ramvel::win32 {

// Runs `handler` for one message, holding a reference to `owner` (when there is one) meanwhile.
// No exception crosses into the window system: what a handler did not finish is dropped.
template <typename Handler>
LRESULT HoldingOwner(IUnknown* owner, Handler&& handler) noexcept {
    if (owner) owner->AddRef();
    LRESULT result = 0;
    try {
        result = handler();
    } catch (...) {
    }
    if (owner) owner->Release();  // may destroy the window and its objects: none is touched after
    return result;
}

}  // namespace ramvel::win32
