#pragma once
// The module's own bookkeeping around ServerModule.h: load, unload and the unload query.
#include <windows.h>

#include <string>

namespace ramvel::server {

// Called from DllMain.
void SetModuleHandle(HMODULE module);
void ReleaseModuleState(bool processExiting);

// True when no control object, lock or class-object reference remains.
bool CanUnload();

// The module's full file name as the loader reports it; empty if it cannot be read.
std::wstring ModulePath();

}  // namespace ramvel::server
