#pragma once
// Module-wide server state: object and class-object counts, the module handle, the type library.
#include <windows.h>
#include <oaidl.h>

namespace ramvel::server {

HMODULE ModuleHandle();
// The type library embedded in the module (resource TYPELIB 1), loaded once; not AddRef'd.
ITypeLib* TypeLibrary();

// Control objects and class-factory locks (interlocked).
void ObjectCreated();
void ObjectDestroyed();

}  // namespace ramvel::server
