#pragma once
// Window classes and the hidden holding window the module shares among its forms. Counted:
// the first form registers and creates, the last one to go destroys and unregisters, so the
// module leaves nothing behind when it is unloaded.
#include <windows.h>

namespace ramvel::win32 {

inline constexpr wchar_t kFormClass[] = L"RamvelForm";

// Registers the form class (with `formProc`) and creates the holding window on first use.
// Returns the holding window.
HWND AcquireModuleWindows(HINSTANCE module, WNDPROC formProc);
void ReleaseModuleWindows(HINSTANCE module);

}  // namespace ramvel::win32
