#pragma once
// Self-registration: the class entries of the control and its type library.
#include <windows.h>

namespace ramvel::server {

// True when the command line carries "/REGSERVERPERUSER" or "/UNREGSERVERPERUSER"
// ("-" works as well as "/", in any letter case); such a switch sends the entries to
// HKEY_CURRENT_USER\Software\Classes instead of HKEY_CLASSES_ROOT.
bool PerUserSwitch(const wchar_t* commandLine);

// S_OK, or the cause of the first step that fails: HRESULT_FROM_WIN32 of a registry call that
// failed (access denied: 0x80070005), the type library registration's own failure, or
// SELFREG_E_TYPELIB when the module's type library cannot be read. What the call had written
// is removed again.
HRESULT RegisterServer();
// S_OK; E_FAIL only when the loaded type library's attributes cannot be read (failed deletions
// are ignored), or the cause of reading the class's names from it.
HRESULT UnregisterServer();

}  // namespace ramvel::server
