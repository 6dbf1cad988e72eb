// The thread's windows while a modal form is up.
#include "win32/ThreadWindowsDisabled.h"

#include <utility>

namespace ramvel::win32 {

ThreadWindowsDisabled::ThreadWindowsDisabled(HWND modal) : modal_(modal) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    // Thrown here, out of the system's enumeration: nothing is disabled yet.
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    for (const HWND window : disabled_) EnableWindow(window, FALSE);
}

BOOL CALLBACK ThreadWindowsDisabled::Collect(HWND window, LPARAM self) noexcept {
    auto& that = *reinterpret_cast<ThreadWindowsDisabled*>(self);
    try {
        if (window != that.modal_ && IsWindowVisible(window) && IsWindowEnabled(window))
            that.disabled_.push_back(window);
        return TRUE;
    } catch (...) {
        that.failure_ = std::current_exception();
        return FALSE;
    }
}

void ThreadWindowsDisabled::Restore() {
    for (const HWND window : disabled_)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    disabled_.clear();
}

}  // namespace ramvel::win32
