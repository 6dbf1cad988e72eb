// Class object of the Ramvel control: counts its references and the server locks,
// refuses aggregation unless IUnknown is asked for, and builds control objects.
#include "ClassFactory.h"

#include "ControlFactory.h"
#include "ServerModule.h"

namespace ramvel::server {
namespace {

LONG g_classReferences = 0;
LONG g_locks = 0;  // LockServer(TRUE) calls not yet matched by an unlock

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
        return CreateRamvelControl(outer, riid, object);
    }

    // An unlock without a lock before it changes nothing: the module's count never goes below
    // what its objects hold.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            InterlockedIncrement(&g_locks);
            ObjectCreated();
            return CoLockObjectExternal(this, TRUE, TRUE);
        }
        for (LONG held = g_locks; held > 0; held = g_locks) {
            if (InterlockedCompareExchange(&g_locks, held - 1, held) != held) continue;
            ObjectDestroyed();
            return CoLockObjectExternal(this, FALSE, TRUE);
        }
        return S_OK;
    }
};

RamvelClassFactory g_classFactory;

}  // namespace

IClassFactory* ClassObject() { return &g_classFactory; }

LONG ClassObjectReferences() { return InterlockedCompareExchange(&g_classReferences, 0, 0); }

}  // namespace ramvel::server
