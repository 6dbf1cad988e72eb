#pragma once
// IMessageBox through MessageBoxW: modal, one OK button, owned by the form's top-level window
// (or the active window when the form has none yet).
#include <windows.h>

#include "platform/MessageBox.h"

namespace ramvel::win32 {

class Win32MessageBox : public IMessageBox {
public:
    // The box is owned by the top-level window of `window` (0: the active window).
    void SetOwnerWindow(HWND window) { owner_ = window; }
    HWND OwnerWindow() const;

    void Show(const std::u16string& caption, const std::u16string& text, MessageIcon icon) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace ramvel::win32
