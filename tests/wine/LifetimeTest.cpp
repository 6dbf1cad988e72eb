// Hosts that end the control's life at awkward moments: the last reference dropped inside an
// event (from a member and from a click), the tree cleared inside OnExpanded, a host's own
// subclass of the tree view, and a thousand create, fill, advise and release cycles after which
// the module can unload and memory is flat.
#include "HostedControl.h"  // windows.h first

#include <psapi.h>

#include <functional>
#include <memory>

using namespace comtest;

namespace {

enum : DISPID { OnChange = 7, OnExpanded = 16 };

// The host's IRamvelEvents: runs `onEvent` for every event, counts its own references.
class CallbackSink final : public EventSinkBase {
public:
    std::function<void(DISPID)> onEvent;
    std::vector<DISPID> events;

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        events.push_back(id);
        if (onEvent) onEvent(id);
        return S_OK;
    }
};

const wchar_t kLines[] = L"0\tA\n1\tA1\n2\tA1a\n1\tA2\n0\tB\n1\tB1";

HRESULT CanUnloadNow() {
    using Fn = HRESULT(STDAPICALLTYPE*)();
    const HMODULE module = GetModuleHandleW(L"Ramvel.ocx");
    if (!module) return S_OK;  // unloaded already
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return fn ? fn() : E_FAIL;
}

IRamvel* NewControl() {
    IRamvel* control = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_Ramvel, nullptr, CLSCTX_INPROC_SERVER, IID_IRamvel,
                                  reinterpret_cast<void**>(&control));
    if (FAILED(hr)) winecheck::Abort("CoCreateInstance failed: " + winecheck::DescribeHr(hr));
    return control;
}

DWORD Advise(IUnknown* control, IDispatch* sink) {
    auto container = ramvel::server::QueryAs<IConnectionPointContainer>(control);
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    if (!container || FAILED(container->FindConnectionPoint(DIID_IRamvelEvents, point.Put())) ||
        FAILED(point->Advise(sink, &cookie)))
        winecheck::Abort("cannot connect to IRamvelEvents");
    return cookie;
}

std::wstring Text(HRESULT hr, BSTR& value) {
    EXPECT_HR(hr, S_OK);
    return Take(value);
}

// The host holds one reference, which its handler of `event` gives up; the member that raised
// the event still answers as usual, and the object is gone once it has returned.
void ReleasedInsideEvents() {
    struct Case {
        const char* name;
        DISPID event;
        std::function<HRESULT(IRamvel*, BSTR*)> member;
        LONG expectedIndex;  // of the node the member's reply names
    } cases[] = {
        {"OnChange from GoToNode", OnChange, [](IRamvel* c, BSTR* v) { return c->GoToNode(4, v); }, 4},
        {"OnExpanded from GoToNode of a hidden node", OnExpanded,
         [](IRamvel* c, BSTR* v) { return c->GoToNode(2, v); }, 2},
        {"OnChange from GotohNode", OnChange,
         [](IRamvel* c, BSTR* v) {
             BSTR info = nullptr;
             c->GetNode(5, &info);
             return c->GotohNode(HandleOf(Take(info)), v);
         },
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CallbackSink sink;
        IRamvel* control = NewControl();
        Bstr lines = MakeBstr(kLines);
        EXPECT_HR(control->AddNodes(lines.Get()), S_OK);
        Advise(control, &sink);
        bool released = false;
        sink.onEvent = [&](DISPID id) {
            if (id == c.event && !std::exchange(released, true)) control->Release();
        };
        BSTR reply = nullptr;
        const std::wstring info = Text(c.member(control, &reply), reply);
        EXPECT_TRUE(released);
        EXPECT_EQ(std::wcstol(info.c_str(), nullptr, 10), c.expectedIndex);
        EXPECT_EQ(sink.refs, 0ul);  // the object went, and let its connection go
        EXPECT_HR(CanUnloadNow(), S_OK);
    }
}

// A hosted control whose container window is destroyed, and the host's own reference dropped,
// inside the OnChange of a user's click.
void ReleasedInsideClick() {
    Container container;
    auto hosted = std::make_unique<HostedControl>(container);
    CallbackSink sink;
    Bstr lines = MakeBstr(kLines);
    EXPECT_HR(hosted->control->AddNodes(lines.Get()), S_OK);
    Advise(hosted->control.Get(), &sink);
    const HWND tree = hosted->tree, host = hosted->host;
    IRamvel* control = hosted->control.Detach();
    hosted->host = nullptr;  // the handler takes the window down
    hosted.reset();
    bool released = false;
    sink.onEvent = [&](DISPID id) {
        if (id != OnChange || std::exchange(released, true)) return;
        DestroyWindow(host);
        control->Release();
    };
    const HTREEITEM second = TreeView_GetNextSibling(tree, TreeView_GetRoot(tree));
    RECT row{};
    *reinterpret_cast<HTREEITEM*>(&row) = second;
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&row)) != 0);
    const LPARAM point = MAKELPARAM(row.left + 2, (row.top + row.bottom) / 2);
    PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(tree, WM_LBUTTONUP, 0, point);
    for (int i = 0; i < 50 && !released; ++i) {
        Pump();
        Sleep(10);
    }
    Pump();
    EXPECT_TRUE(released);
    EXPECT_FALSE(IsWindow(tree));
    EXPECT_EQ(sink.refs, 0ul);
    EXPECT_HR(CanUnloadNow(), S_OK);
}

// Clear inside OnExpanded, while a member is opening the ancestors of a hidden node.
void ClearedInsideOnExpanded() {
    struct Case {
        const char* name;
        std::function<HRESULT(IRamvel*)> member;
    } cases[] = {
        {"GoToNode", [](IRamvel* c) {
             BSTR v = nullptr;
             HRESULT hr = c->GoToNode(2, &v);
             EXPECT_EQ(Take(v), std::wstring());  // the node it went to is gone
             return hr;
         }},
        {"Expanded put", [](IRamvel* c) {
             BSTR info = nullptr;
             c->GetNode(1, &info);
             return c->put_Expanded(HandleOf(Take(info)), VARIANT_TRUE);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CallbackSink sink;
        ComPtr<IRamvel> control(NewControl());
        Bstr lines = MakeBstr(kLines);
        EXPECT_HR(control->AddNodes(lines.Get()), S_OK);
        Advise(control.Get(), &sink);
        sink.onEvent = [&](DISPID id) {
            if (id == OnExpanded) EXPECT_HR(control->Clear(), S_OK);
        };
        EXPECT_HR(c.member(control.Get()), S_OK);
        EXPECT_TRUE(std::count(sink.events.begin(), sink.events.end(), OnExpanded) > 0);
        LONG count = -1;
        EXPECT_HR(control->ChildrenNumber(0, &count), S_OK);
        EXPECT_EQ(count, 0l);
        // The control carries on as new.
        sink.onEvent = nullptr;
        EXPECT_HR(control->AddNodes(lines.Get()), S_OK);
        BSTR info = nullptr;
        EXPECT_HR(control->GetNode(5, &info), S_OK);
        EXPECT_TRUE(Take(info).find(L"\tB1\t") != std::wstring::npos);
    }
}

// The process's committed private memory (Wine reports it as the page file usage).
// A host that subclasses the tree view after the control did stays in the chain to the end: it
// still sees the tree view's last messages when the control goes.
struct LaterSubclasser {
    static inline WNDPROC previous = nullptr;
    static inline int messages = 0;
    static inline bool sawNcDestroy = false;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        ++messages;
        if (message == WM_NCDESTROY) sawNcDestroy = true;
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
};

void LaterSubclasserKeepsItsPlace() {
    Container container;
    auto hosted = std::make_unique<HostedControl>(container);
    Bstr lines = MakeBstr(kLines);
    EXPECT_HR(hosted->control->AddNodes(lines.Get()), S_OK);
    const HWND tree = hosted->tree;
    LaterSubclasser::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclasser::Proc)));
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 2);  // through both procedures to the tree view
    EXPECT_TRUE(LaterSubclasser::messages > 0);
    hosted.reset();  // the container destroys its window and releases the control
    EXPECT_FALSE(IsWindow(tree));
    EXPECT_TRUE(LaterSubclasser::sawNcDestroy);
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) || counters.PagefileUsage == 0)
        winecheck::Abort("the process's memory use cannot be read");
    return counters.PagefileUsage;
}

void ManyCycles() {
    constexpr int kWarmUp = 100, kCycles = 1000;
    constexpr SIZE_T kAllowedGrowth = 2 << 20;  // 2 KB a cycle would be a leak
    std::wstring parm;
    for (int i = 0; i < 200; ++i) parm += std::wstring(i ? L"\n" : L"") + (i % 4 ? L"1\tchild" : L"0\troot");
    Bstr lines = MakeBstr(parm);
    SIZE_T before = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        if (cycle == kWarmUp) before = PrivateBytes();
        CallbackSink sink;
        ComPtr<IRamvel> control(NewControl());
        ASSERT_HR(control->AddNodes(lines.Get()), S_OK);
        Advise(control.Get(), &sink);
        BSTR v = nullptr;
        control->GoToNode(5, &v);  // selects, opens and raises events
        SysFreeString(v);
        control.Reset();
        ASSERT_EQ(sink.refs, 0ul);
        Pump();
    }
    const SIZE_T after = PrivateBytes();
    EXPECT_HR(CanUnloadNow(), S_OK);
    EXPECT_TRUE(after < before + kAllowedGrowth);
    // SIZE_T is unsigned long on x86, not size_t.
    std::printf("private bytes after %d cycles: %zu, after %d: %zu\n", kWarmUp, static_cast<size_t>(before), kCycles,
                static_cast<size_t>(after));
}

}  // namespace

int main() {
    Apartment apartment;
    RAMVEL_CASE("the last reference dropped inside an event raised by a member") { ReleasedInsideEvents(); }
    RAMVEL_CASE("the container destroyed inside the OnChange of a click") { ReleasedInsideClick(); }
    RAMVEL_CASE("the tree cleared inside OnExpanded") { ClearedInsideOnExpanded(); }
    RAMVEL_CASE("a later subclasser of the tree view keeps its place") { LaterSubclasserKeepsItsPlace(); }
    RAMVEL_CASE("create, fill, advise, release a thousand times") { ManyCycles(); }
    return winecheck::Report();
}
