// The control's enumerators when the COM task allocator runs out: a malloc spy makes every
// CoTaskMemAlloc fail while armed. Next must fail cleanly, hand out nothing and keep its place.
#include "ComTestSupport.h"

using namespace comtest;

namespace {

class FailingMallocSpy final : public IMallocSpy {
public:
    bool armed = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IMallocSpy) return E_NOINTERFACE;
        *object = static_cast<IMallocSpy*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }  // static
    // A size of 0 from PreAlloc makes the allocation fail.
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return armed ? 0 : size; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override { return block; }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override { return block; }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override {
        *newBlock = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

void VerbsOutOfMemory() {
    ComPtr<IOleObject> object;
    ASSERT_HR(CoCreateInstance(CLSID_Ramvel, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(object.Put())),
              S_OK);
    ComPtr<IEnumOLEVERB> verbs;
    ASSERT_HR(object->EnumVerbs(verbs.Put()), S_OK);
    OLEVERB all[8]{};
    ULONG count = 0;
    ASSERT_HR(verbs->Next(8, all, &count), S_FALSE);  // every verb, in one call
    const bool named = count >= 1 && all[count - 1].lpszVerbName;  // its copy needs task memory
    for (ULONG i = 0; i < count; ++i) CoTaskMemFree(all[i].lpszVerbName);
    ASSERT_TRUE(named);
    ASSERT_HR(verbs->Reset(), S_OK);

    // COM may keep a revoked spy until the blocks it saw are freed: it outlives the test.
    static FailingMallocSpy spy;
    ASSERT_HR(CoRegisterMallocSpy(&spy), S_OK);
    spy.armed = true;
    void* probe = CoTaskMemAlloc(16);
    const bool spyWorks = probe == nullptr;
    OLEVERB got[8]{};
    ULONG fetched = 99;
    const HRESULT failed = verbs->Next(count, got, &fetched);
    spy.armed = false;
    CoTaskMemFree(probe);
    CoRevokeMallocSpy();
    ASSERT_TRUE(spyWorks);

    EXPECT_HR(failed, E_OUTOFMEMORY);
    EXPECT_EQ(fetched, 0ul);
    for (ULONG i = 0; i < count; ++i) EXPECT_TRUE(got[i].lpszVerbName == nullptr);
    // Nothing was taken: the same verbs come next.
    EXPECT_HR(verbs->Next(count, got, &fetched), S_OK);
    EXPECT_EQ(fetched, count);
    for (ULONG i = 0; i < fetched; ++i) {
        EXPECT_EQ(got[i].lVerb, all[i].lVerb);
        CoTaskMemFree(got[i].lpszVerbName);
    }
}

}  // namespace

int main() {
    Apartment apartment;
    RAMVEL_CASE("IEnumOLEVERB::Next out of task memory") { VerbsOutOfMemory(); }
    return winecheck::Report();
}
