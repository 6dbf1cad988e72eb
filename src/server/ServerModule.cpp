// Module-wide server state: the module handle, the two counts that decide
// unloading, and the type library the module carries.
#include "ServerModule.h"

#include "ClassFactory.h"
#include "ComPtr.h"
#include "ModuleLifetime.h"

#include <string>

namespace ramvel::server {
namespace {

HMODULE g_module = nullptr;
LONG g_objectCount = 0;  // control objects alive + class-factory locks

ComPtr<ITypeLib>& TypeLibrarySlot() {
    static ComPtr<ITypeLib> library;
    return library;
}

}  // namespace

void SetModuleHandle(HMODULE module) { g_module = module; }

HMODULE ModuleHandle() { return g_module; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0) return {};
        if (size < path.size()) {
            path.resize(size);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

ITypeLib* TypeLibrary() {
    // Loaded at first need from resource TYPELIB 1 of this module, without registering it.
    static ITypeLib* const library = [] {
        auto& slot = TypeLibrarySlot();
        std::wstring path = ModulePath();
        if (path.empty() || FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, slot.Put()))) slot.Reset();
        return slot.Get();
    }();
    return library;
}

void ReleaseModuleState(bool processExiting) {
    // At process exit oleaut32 may already be gone: leave the library to the system.
    if (processExiting) {
        TypeLibrarySlot().Detach();
    } else {
        TypeLibrarySlot().Reset();
    }
}

void ObjectCreated() { InterlockedIncrement(&g_objectCount); }

void ObjectDestroyed() { InterlockedDecrement(&g_objectCount); }

bool CanUnload() {
    return InterlockedCompareExchange(&g_objectCount, 0, 0) == 0 && ClassObjectReferences() == 0;
}

}  // namespace ramvel::server
