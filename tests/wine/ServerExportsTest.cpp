// The module's exports seen by a host that loads it itself: the class object,
// its argument checks and the counts that DllCanUnloadNow reports.
#include "WineCheck.h"

#include "server/ComPtr.h"

#include <Ramvel_h.h>
#include <windows.h>
#include <ole2.h>

using ramvel::server::ComPtr;

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

struct Module {
    HMODULE handle = nullptr;
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadNowFn canUnloadNow = nullptr;
};

// A minimal outer object for the aggregation cases; never asked for anything here.
class Outer final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

private:
    ULONG references_ = 1;
};

ComPtr<IClassFactory> GetFactory(const Module& module) {
    ComPtr<IClassFactory> factory;
    HRESULT hr = module.getClassObject(CLSID_Ramvel, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
    EXPECT_HR(hr, S_OK);
    return factory;
}

void CheckGetClassObject(const Module& module) {
    const GUID otherClass = {0x3B71D5C6, 0x7A2E, 0x11D2, {0xB4, 0xF9, 0x00, 0x60, 0xB8, 0x3C, 0x5E, 0x17}};
    const struct {
        const char* name;
        const CLSID* clsid;
        const IID* iid;
        HRESULT expected;
        bool objectSet;
    } cases[] = {
        {"another CLSID", &otherClass, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE, false},
        {"CLSID_NULL", &CLSID_NULL, &IID_IUnknown, CLASS_E_CLASSNOTAVAILABLE, false},
        {"IRamvel's IID as a CLSID", &IID_IRamvel, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE, false},
        {"an interface the class object lacks", &CLSID_Ramvel, &IID_IDispatch, E_NOINTERFACE, false},
        {"IClassFactory", &CLSID_Ramvel, &IID_IClassFactory, S_OK, true},
        {"IUnknown", &CLSID_Ramvel, &IID_IUnknown, S_OK, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Poisoned so that a forgotten null store shows.
        void* object = reinterpret_cast<void*>(static_cast<uintptr_t>(0xDEADBEEF));
        EXPECT_HR(module.getClassObject(*c.clsid, *c.iid, &object), c.expected);
        EXPECT_EQ(object != nullptr, c.objectSet);
        if (c.objectSet && object) {
            EXPECT_HR(module.canUnloadNow(), S_FALSE);
            static_cast<IUnknown*>(object)->Release();
        }
        EXPECT_HR(module.canUnloadNow(), S_OK);
    }
    EXPECT_HR(module.getClassObject(CLSID_Ramvel, IID_IClassFactory, nullptr), E_POINTER);
}

void CheckCreateInstanceArguments(const Module& module) {
    ComPtr<IClassFactory> factory = GetFactory(module);
    ASSERT_TRUE(factory);
    Outer outer;
    const struct {
        const char* name;
        IUnknown* outer;
        const IID* iid;
        bool nullOut;
        HRESULT expected;
    } cases[] = {
        {"null out reference", nullptr, &IID_IUnknown, true, E_POINTER},
        {"null out reference, aggregated", &outer, &IID_IRamvel, true, E_POINTER},
        {"outer object asking for IRamvel", &outer, &IID_IRamvel, false, CLASS_E_NOAGGREGATION},
        {"outer object asking for IDispatch", &outer, &IID_IDispatch, false, CLASS_E_NOAGGREGATION},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        void* object = reinterpret_cast<void*>(static_cast<uintptr_t>(0xDEADBEEF));
        EXPECT_HR(factory->CreateInstance(c.outer, *c.iid, c.nullOut ? nullptr : &object), c.expected);
        if (!c.nullOut) EXPECT_EQ(object, nullptr);
    }
}

void CheckUnloadCounts(const Module& module) {
    EXPECT_HR(module.canUnloadNow(), S_OK);
    {
        SCOPED_TRACE("class object referenced");
        ComPtr<IClassFactory> factory = GetFactory(module);
        ASSERT_TRUE(factory);
        EXPECT_HR(module.canUnloadNow(), S_FALSE);
        ComPtr<IClassFactory> second = factory;  // AddRef through the copy
        factory.Reset();
        EXPECT_HR(module.canUnloadNow(), S_FALSE);
        second.Reset();
        EXPECT_HR(module.canUnloadNow(), S_OK);
    }
    {
        SCOPED_TRACE("server lock held with no reference left");
        ComPtr<IClassFactory> factory = GetFactory(module);
        ASSERT_TRUE(factory);
        EXPECT_HR(factory->LockServer(TRUE), S_OK);
        factory.Reset();
        EXPECT_HR(module.canUnloadNow(), S_FALSE);
        factory = GetFactory(module);
        ASSERT_TRUE(factory);
        EXPECT_HR(factory->LockServer(FALSE), S_OK);
        EXPECT_HR(module.canUnloadNow(), S_FALSE);
        factory.Reset();
        EXPECT_HR(module.canUnloadNow(), S_OK);
    }
    {
        SCOPED_TRACE("unlocks without locks leave the count alone");
        ComPtr<IClassFactory> factory = GetFactory(module);
        ASSERT_TRUE(factory);
        EXPECT_HR(factory->LockServer(FALSE), S_OK);
        EXPECT_HR(factory->LockServer(FALSE), S_OK);
        EXPECT_HR(factory->LockServer(TRUE), S_OK);
        factory.Reset();
        EXPECT_HR(module.canUnloadNow(), S_FALSE);  // the lock still counts: the unlocks took nothing from it
        factory = GetFactory(module);
        ASSERT_TRUE(factory);
        EXPECT_HR(factory->LockServer(FALSE), S_OK);
        factory.Reset();
        EXPECT_HR(module.canUnloadNow(), S_OK);
    }
    {
        SCOPED_TRACE("control object alive");
        ComPtr<IClassFactory> factory = GetFactory(module);
        ASSERT_TRUE(factory);
        ComPtr<IUnknown> control;
        EXPECT_HR(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(control.Put())), S_OK);
        ASSERT_TRUE(control);
        factory.Reset();
        EXPECT_HR(module.canUnloadNow(), S_FALSE);
        ComPtr<IRamvel> ramvel;
        EXPECT_HR(control->QueryInterface(IID_IRamvel, reinterpret_cast<void**>(ramvel.Put())), S_OK);
        control.Reset();
        EXPECT_HR(module.canUnloadNow(), S_FALSE);
        ramvel.Reset();
        EXPECT_HR(module.canUnloadNow(), S_OK);
    }
    {
        SCOPED_TRACE("aggregated control object");
        ComPtr<IClassFactory> factory = GetFactory(module);
        ASSERT_TRUE(factory);
        Outer outer;
        ComPtr<IUnknown> inner;
        EXPECT_HR(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(inner.Put())), S_OK);
        EXPECT_TRUE(inner);
        factory.Reset();
        if (inner) EXPECT_HR(module.canUnloadNow(), S_FALSE);
        inner.Reset();
        EXPECT_HR(module.canUnloadNow(), S_OK);
    }
}

}  // namespace

int main() {
    const std::wstring path = winecheck::ModulePath();
    if (FAILED(OleInitialize(nullptr))) winecheck::Abort("OleInitialize failed");
    Module module;
    module.handle = LoadLibraryW(path.c_str());
    if (!module.handle) winecheck::Abort("cannot load " + winecheck::Utf8(path));
    module.getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module.handle, "DllGetClassObject")));
    module.canUnloadNow = reinterpret_cast<CanUnloadNowFn>(
        reinterpret_cast<void*>(GetProcAddress(module.handle, "DllCanUnloadNow")));
    if (!module.getClassObject || !module.canUnloadNow) winecheck::Abort("the module lacks its exports");

    RAMVEL_CASE("unload answer right after load") { EXPECT_HR(module.canUnloadNow(), S_OK); }
    RAMVEL_CASE("DllGetClassObject") { CheckGetClassObject(module); }
    RAMVEL_CASE("CreateInstance arguments") { CheckCreateInstanceArguments(module); }
    RAMVEL_CASE("unload counts") { CheckUnloadCounts(module); }

    FreeLibrary(module.handle);
    OleUninitialize();
    return winecheck::Report();
}
