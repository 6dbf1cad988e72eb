#pragma once
// Takes input away from the calling thread's other top-level windows while a modal form is up
// (the host's windows included), and gives it back to the same windows afterwards.
#include <windows.h>

#include <exception>
#include <vector>

namespace ramvel::win32 {

class ThreadWindowsDisabled {
public:
    // Disables every visible, enabled top-level window of this thread except `modal`. Out of
    // memory it throws and disables none.
    explicit ThreadWindowsDisabled(HWND modal);
    ~ThreadWindowsDisabled() { Restore(); }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

    // Enables again the windows that were disabled and still exist; once.
    void Restore();

private:
    // EnumThreadWindows callback: records `window` if it is to be disabled. A failure stops the
    // enumeration and waits in failure_ for the constructor.
    static BOOL CALLBACK Collect(HWND window, LPARAM self) noexcept;

    HWND modal_;
    std::vector<HWND> disabled_;
    std::exception_ptr failure_;
};

}  // namespace ramvel::win32
