#pragma once
// The window procedure of every window this layer makes or subclasses. It finds the object the
// window belongs to, keeps that object's COM owner alive while the message is handled (a host
// may release the control inside any event), and lets no exception into the window system.
//
// T derives from WindowImpl<T> and provides
//     LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// and may hide the defaults below: Owner() (the COM object behind the window) and Unattached()
// (the answer for a window whose object is gone, or not yet known).
#include <windows.h>
#include <unknwn.h>

namespace ramvel::win32 {

template <typename T>
class WindowImpl {
protected:
    // For a window created with its object as the creation parameter, or attached with Attach.
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_NCCREATE)
            Attach(window, static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
        T* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return T::Unattached(window, message, wParam, lParam);
        IUnknown* owner = self->Owner();
        if (owner) owner->AddRef();
        LRESULT result = 0;
        try {
            result = self->Handle(window, message, wParam, lParam);
        } catch (...) {
            // What the handler did not finish is dropped; the window system gets "not handled".
        }
        if (message == WM_NCDESTROY) Detach(window);
        if (owner) owner->Release();  // may destroy the window's object: nothing is touched after
        return result;
    }

    static void Attach(HWND window, T* self) noexcept {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    static void Detach(HWND window) noexcept { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }

    static LRESULT Unattached(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    IUnknown* Owner() const noexcept { return nullptr; }
};

}  // namespace ramvel::win32
