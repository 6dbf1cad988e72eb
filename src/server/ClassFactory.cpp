// Class object of the Ramvel control: counts its references and the server locks,
// refuses aggregation unless IUnknown is asked for, and builds control objects.
#include "ClassFactory.h"

#include "ControlFactory.h"
#include "ServerModule.h"

namespace ramvel::server {
namespace {

LONG g_classReferences = 0;

class RamvelClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&g_classReferences));
    }

    // Static object: Release only lowers the count.
    ULONG STDMETHODCALLTYPE Release() override {
        return static_cast<ULONG>(InterlockedDecrement(&g_classReferences));
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        try {
            return CreateRamvelControl(outer, riid, object);
        } catch (...) {
            // Nothing may cross the COM boundary; a failed build has shown its box already.
            *object = nullptr;
            return E_UNEXPECTED;
        }
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        HRESULT hr = CoLockObjectExternal(this, lock, TRUE);
        if (lock) {
            ObjectCreated();
        } else {
            ObjectDestroyed();
        }
        return hr;
    }
};

RamvelClassFactory g_classFactory;

}  // namespace

IClassFactory* ClassObject() { return &g_classFactory; }

LONG ClassObjectReferences() { return InterlockedCompareExchange(&g_classReferences, 0, 0); }

}  // namespace ramvel::server
