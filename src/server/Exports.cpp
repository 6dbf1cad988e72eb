// The four entries every in-process server exports, and the module's DllMain.
#include <windows.h>
#include <olectl.h>

#include <Ramvel_h.h>

#include "ClassFactory.h"
#include "ModuleLifetime.h"
#include "Registration.h"

using namespace ramvel::server;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        SetModuleHandle(instance);
        DisableThreadLibraryCalls(instance);
        // Nothing else here: the loader lock is held (the cursors are registered on first use).
        break;
    case DLL_PROCESS_DETACH:
        ReleaseModuleState(reserved != nullptr);
        break;
    default:
        break;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Ramvel)) return CLASS_E_CLASSNOTAVAILABLE;
    return ClassObject()->QueryInterface(riid, object);
}

STDAPI DllCanUnloadNow() { return CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return RegisterServer(); }

STDAPI DllUnregisterServer() { return UnregisterServer(); }
