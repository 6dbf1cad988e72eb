#pragma once
// Window classes the module's forms share, and the hidden holding window each thread keeps for
// its forms. Counted: the first form registers the classes and the first form of a thread creates
// its holding window; the last ones to go destroy and unregister, so the module leaves nothing
// behind when it is unloaded. Acquire and release on the thread that owns the form.
#include <windows.h>

namespace ramvel::win32 {

inline constexpr wchar_t kFormClass[] = L"RamvelForm";

// Registers the form class (with `formProc`) and creates the holding window on first use.
// Returns the calling thread's holding window.
HWND AcquireModuleWindows(HINSTANCE module, WNDPROC formProc);
void ReleaseModuleWindows(HINSTANCE module);

}  // namespace ramvel::win32
