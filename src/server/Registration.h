#pragma once
// Self-registration: the class entries of the control and its type library.
#include <windows.h>

namespace ramvel::server {

// True when the command line carries "/REGSERVERPERUSER" or "/UNREGSERVERPERUSER"
// ("-" works as well as "/", in any letter case); such a switch sends the entries to
// HKEY_CURRENT_USER\Software\Classes instead of HKEY_CLASSES_ROOT.
bool PerUserSwitch(const wchar_t* commandLine);

// S_OK, or E_FAIL at the first step that fails (steps done stay done).
HRESULT RegisterServer();
// S_OK; E_FAIL only when the loaded type library's attributes cannot be read.
HRESULT UnregisterServer();

}  // namespace ramvel::server
