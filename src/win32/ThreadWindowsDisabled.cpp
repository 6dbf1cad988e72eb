// The thread's windows while a modal form is up.
#include "win32/ThreadWindowsDisabled.h"

namespace ramvel::win32 {

ThreadWindowsDisabled::ThreadWindowsDisabled(HWND modal) : modal_(modal) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    for (const HWND window : disabled_) EnableWindow(window, FALSE);
}

BOOL CALLBACK ThreadWindowsDisabled::Collect(HWND window, LPARAM self) {
    auto& that = *reinterpret_cast<ThreadWindowsDisabled*>(self);
    if (window != that.modal_ && IsWindowVisible(window) && IsWindowEnabled(window)) that.disabled_.push_back(window);
    return TRUE;
}

void ThreadWindowsDisabled::Restore() {
    for (const HWND window : disabled_)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    disabled_.clear();
}

}  // namespace ramvel::win32
