// Message boxes through MessageBoxW.
#include "win32/MessageBoxWin32.h"

namespace ramvel::win32 {

HWND Win32MessageBox::OwnerWindow() const {
    // A form still parked under the hidden holding window has no owner the user can see.
    if (owner_ && IsWindow(owner_)) {
        const HWND root = GetAncestor(owner_, GA_ROOT);
        if (root && IsWindowVisible(root)) return root;
    }
    return GetActiveWindow();
}

void Win32MessageBox::Show(const std::u16string& caption, const std::u16string& text, MessageIcon icon) {
    UINT style = MB_OK;
    switch (icon) {
    case MessageIcon::Warning: style |= MB_ICONWARNING; break;
    case MessageIcon::Error: style |= MB_ICONERROR; break;
    case MessageIcon::None: break;
    }
    const HWND owner = OwnerWindow();
    if (!owner) style |= MB_TASKMODAL;
    MessageBoxW(owner, reinterpret_cast<LPCWSTR>(text.c_str()), reinterpret_cast<LPCWSTR>(caption.c_str()), style);
}

}  // namespace ramvel::win32
