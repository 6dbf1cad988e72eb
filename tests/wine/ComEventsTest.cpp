// Events through the connection point: a C++ sink records every call (DISPID, argument) and the
// recorded sequences are compared with expected ones built from the node lines.
#include <ocidl.h>
#include <olectl.h>

#include <functional>

#include "ComTestSupport.h"

using namespace comtest;

namespace {

struct Event {
    DISPID id;
    std::wstring arg;
    bool operator==(const Event&) const = default;
};

std::string Describe(const Event& e) { return std::to_string(e.id) + " " + winecheck::Describe(e.arg); }

// Prints both sequences side by side when they differ.
bool ExpectSequence(const std::vector<Event>& actual, const std::vector<Event>& expected, const char* what) {
    bool same = actual == expected;
    std::string table = std::string(what) + ": event sequences differ\n      expected | actual\n";
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        std::string e = i < expected.size() ? Describe(expected[i]) : "-";
        std::string a = i < actual.size() ? Describe(actual[i]) : "-";
        table += (e == a ? "      " : "   >> ") + e + " | " + a + "\n";
    }
    return winecheck::Check(same, __FILE__, __LINE__, table);
}

enum : DISPID { OnCreate = 3, OnDblClick = 4, OnDestroy = 5, OnChange = 7, OnCollapsed = 8, OnExpanded = 16 };

// The host's IRamvelEvents. `answersEvents` false makes an object without that interface.
class Sink final : public EventSinkBase {
public:
    explicit Sink(bool answersEvents = true, HRESULT invokeResult = S_OK)
        : EventSinkBase(answersEvents), invokeResult_(invokeResult) {}

    std::vector<Event> events;
    std::vector<std::string> problems;           // argument shapes that were not as declared
    std::function<void(const Event&)> onEvent;   // runs inside the event, after recording it

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        Event e{id, {}};
        if (flags != DISPATCH_METHOD) problems.push_back("not a method call: " + std::to_string(id));
        if (params->cNamedArgs != 0) problems.push_back("named arguments: " + std::to_string(id));
        bool textEvent = id == OnChange || id == OnCollapsed || id == OnExpanded;
        if (textEvent) {
            if (params->cArgs != 1 || V_VT(&params->rgvarg[0]) != VT_BSTR)
                problems.push_back("no BSTR argument: " + std::to_string(id));
            else
                e.arg = Text(V_BSTR(&params->rgvarg[0]));
            if (!result) problems.push_back("no result requested: " + std::to_string(id));
        }
        if (result && (textEvent || id == OnDblClick)) {  // the declared BSTR result, freed by the control
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(L"ignored");
        }
        events.push_back(e);
        if (onEvent) onEvent(e);
        return invokeResult_;
    }

private:
    HRESULT invokeResult_;
};

struct Fixture {
    ComPtr<IRamvel> control;
    ComPtr<IConnectionPoint> point;
    ExpectedTree tree{{L"0\tA\t0,1", L"1\tB\t2,3", L"2\tC\t4\t5\t\tc-data", L"0\tD"}};

    Fixture() {
        HRESULT hr = CoCreateInstance(CLSID_Ramvel, nullptr, CLSCTX_INPROC_SERVER, IID_IRamvel,
                                      reinterpret_cast<void**>(control.Put()));
        if (FAILED(hr)) winecheck::Abort("CoCreateInstance failed: " + winecheck::DescribeHr(hr));
        auto container = ramvel::server::QueryAs<IConnectionPointContainer>(control.Get());
        if (!container || FAILED(container->FindConnectionPoint(DIID_IRamvelEvents, point.Put())))
            winecheck::Abort("no connection point for IRamvelEvents");
        Build(control.Get(), tree);
    }
    LONG H(int i) const { return tree.nodes[i].handle; }
    Event Ev(DISPID id, int node) const { return {id, tree.Info(node)}; }
    std::wstring GoTo(LONG index) {
        BSTR v = nullptr;
        EXPECT_HR(control->GoToNode(index, &v), S_OK);
        return Take(v);
    }
    std::wstring GoToH(LONG handle) {
        BSTR v = nullptr;
        EXPECT_HR(control->GotohNode(handle, &v), S_OK);
        return Take(v);
    }
};

void Sequences() {
    Fixture f;
    Sink sink;
    DWORD cookie = 0;
    ASSERT_HR(f.point->Advise(&sink, &cookie), S_OK);
    EXPECT_TRUE(cookie != 0);

    struct Step {
        const char* action;
        std::function<void()> run;
        std::vector<Event> expected;
    } steps[] = {
        // C sits under collapsed A and B: the ancestors open from the root down, then the selection moves.
        {"GoToNode(2), a hidden node", [&] { EXPECT_EQ(f.GoTo(2), f.tree.Info(2)); },
         {f.Ev(OnExpanded, 0), f.Ev(OnExpanded, 1), f.Ev(OnChange, 2)}},
        {"GoToNode(2) again: already selected", [&] { f.GoTo(2); }, {}},
        {"GotohNode(D)", [&] { EXPECT_EQ(f.GoToH(f.H(3)), f.tree.Info(3)); }, {f.Ev(OnChange, 3)}},
        {"Expanded put false on A", [&] { f.control->put_Expanded(f.H(0), VARIANT_FALSE); },
         {f.Ev(OnCollapsed, 0)}},
        {"Expanded put true on A, twice", [&] {
             f.control->put_Expanded(f.H(0), VARIANT_TRUE);
             f.control->put_Expanded(f.H(0), -1);
         },
         {f.Ev(OnExpanded, 0), f.Ev(OnExpanded, 0)}},
        {"Expanded put on a leaf", [&] { f.control->put_Expanded(f.H(3), VARIANT_TRUE); }, {}},
        {"GoToNode past the end", [&] { EXPECT_EQ(f.GoTo(4), L""); }, {}},
        {"TreeRefresh bracket mutes OnChange", [&] {
             f.control->put_TreeRefresh(VARIANT_FALSE);
             f.GoTo(1);
             f.control->put_TreeRefresh(VARIANT_TRUE);
         },
         {}},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(s.action);
        sink.events.clear();
        s.run();
        ExpectSequence(sink.events, s.expected, s.action);
    }
    EXPECT_EQ(sink.problems, std::vector<std::string>{});

    RAMVEL_CASE("EnumConnections") {
        ComPtr<IEnumConnections> connections;
        EXPECT_HR(f.point->EnumConnections(connections.Put()), S_OK);
        std::vector<DWORD> cookies;
        CONNECTDATA data{};
        while (connections && connections->Next(1, &data, nullptr) == S_OK) {
            cookies.push_back(data.dwCookie);
            data.pUnk->Release();
        }
        EXPECT_EQ(cookies, std::vector<DWORD>{cookie});
    }

    EXPECT_HR(f.point->Unadvise(cookie), S_OK);
    RAMVEL_CASE("after Unadvise no events") {
        sink.events.clear();
        f.GoTo(0);
        f.control->put_Expanded(f.H(0), VARIANT_FALSE);
        ExpectSequence(sink.events, {}, "after Unadvise");
        EXPECT_EQ(sink.refs, 0u);  // the wrapper let go of the host's sink
    }
}

void ConnectionRules() {
    Fixture f;
    Sink first, second, noEvents(false);
    DWORD cookie1 = 0, cookie2 = 0, cookie3 = 0;
    EXPECT_HR(f.point->Advise(&first, &cookie1), S_OK);
    EXPECT_HR(f.point->Advise(&second, &cookie2), CONNECT_E_ADVISELIMIT);
    EXPECT_HR(f.point->Unadvise(cookie1 + 100), CONNECT_E_NOCONNECTION);
    f.GoTo(3);
    // OnCreate reaches the first sink ever connected, once.
    ExpectSequence(first.events, {{OnCreate, L""}, f.Ev(OnChange, 3)}, "the first sink stays connected");
    ExpectSequence(second.events, {}, "the refused sink");
    EXPECT_HR(f.point->Unadvise(cookie1), S_OK);
    EXPECT_HR(f.point->Unadvise(cookie1), CONNECT_E_NOCONNECTION);
    EXPECT_HR(f.point->Advise(&noEvents, &cookie3), E_NOINTERFACE);
    EXPECT_EQ(noEvents.refs, 0u);
    EXPECT_HR(f.point->Advise(&second, &cookie2), S_OK);
    f.GoTo(0);
    ExpectSequence(second.events, {f.Ev(OnChange, 0)}, "the second sink after the first left");
    f.point->Unadvise(cookie2);

    RAMVEL_CASE("connection point container") {
        auto container = ramvel::server::QueryAs<IConnectionPointContainer>(f.control.Get());
        ComPtr<IConnectionPoint> notify, none;
        EXPECT_HR(container->FindConnectionPoint(IID_IPropertyNotifySink, notify.Put()), S_OK);
        EXPECT_HR(container->FindConnectionPoint(IID_IDispatch, none.Put()), CONNECT_E_NOCONNECTION);
        ComPtr<IConnectionPointContainer> back;
        EXPECT_HR(f.point->GetConnectionPointContainer(back.Put()), S_OK);
        EXPECT_TRUE(back.Get() == container.Get());
        IID iid{};
        EXPECT_HR(f.point->GetConnectionInterface(&iid), S_OK);
        EXPECT_EQ(iid, DIID_IRamvelEvents);
        std::vector<IID> iids;
        ComPtr<IEnumConnectionPoints> points;
        EXPECT_HR(container->EnumConnectionPoints(points.Put()), S_OK);
        IConnectionPoint* p = nullptr;
        while (points && points->Next(1, &p, nullptr) == S_OK) {
            p->GetConnectionInterface(&iid);
            iids.push_back(iid);
            p->Release();
        }
        EXPECT_EQ(iids, (std::vector<IID>{DIID_IRamvelEvents, IID_IPropertyNotifySink}));
    }
}

// IPropertyNotifySink holds any number of sinks.
class NotifySink final : public IPropertyNotifySink {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = (riid == IID_IUnknown || riid == IID_IPropertyNotifySink) ? this : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
    ULONG refs = 0;
};

void PropertyNotify() {
    Fixture f;
    auto container = ramvel::server::QueryAs<IConnectionPointContainer>(f.control.Get());
    ComPtr<IConnectionPoint> notify;
    ASSERT_HR(container->FindConnectionPoint(IID_IPropertyNotifySink, notify.Put()), S_OK);
    NotifySink sinks[3];
    DWORD cookies[3] = {};
    for (int i = 0; i < 3; ++i) EXPECT_HR(notify->Advise(&sinks[i], &cookies[i]), S_OK);
    for (int i = 0; i < 3; ++i) EXPECT_HR(notify->Unadvise(cookies[i]), S_OK);
    for (auto& s : sinks) EXPECT_EQ(s.refs, 0u);
}

// The host calls back into the control from inside its handlers, and even disconnects there.
void Reentrancy() {
    Fixture f;
    Sink sink;
    DWORD cookie = 0;
    ASSERT_HR(f.point->Advise(&sink, &cookie), S_OK);
    std::vector<std::wstring> seenInside;
    sink.onEvent = [&](const Event& e) {
        if (e.id != OnChange) return;
        BSTR v = nullptr;
        EXPECT_HR(f.control->GetSelectedNode(&v), S_OK);
        seenInside.push_back(Take(v));
        EXPECT_HR(f.control->GethNode(HandleOf(e.arg), &v), S_OK);
        seenInside.push_back(Take(v));
        LONG count = 0;
        EXPECT_HR(f.control->ChildrenNumber(0, &count), S_OK);
        seenInside.push_back(std::to_wstring(count));
    };
    EXPECT_EQ(f.GoTo(3), f.tree.Info(3));
    EXPECT_EQ(seenInside, (std::vector<std::wstring>{f.tree.Info(3), f.tree.Info(3), std::to_wstring(f.tree.nodes.size())}));

    RAMVEL_CASE("a host that disconnects inside OnExpanded") {
        sink.events.clear();
        sink.onEvent = [&](const Event& e) {
            if (e.id == OnExpanded) EXPECT_HR(f.point->Unadvise(cookie), S_OK);
        };
        EXPECT_EQ(f.GoTo(2), f.tree.Info(2));  // two ancestors to open: only the first is heard
        ExpectSequence(sink.events, {f.Ev(OnExpanded, 0)}, "disconnected inside the first event");
        EXPECT_EQ(sink.refs, 0u);
    }
}

// A host whose handler fails does not disturb the control.
void FailingHost() {
    Fixture f;
    Sink sink(true, E_FAIL);
    DWORD cookie = 0;
    ASSERT_HR(f.point->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(f.GoTo(3), f.tree.Info(3));
    EXPECT_HR(f.control->put_Expanded(f.H(0), VARIANT_TRUE), S_OK);
    ExpectSequence(sink.events, {{OnCreate, L""}, f.Ev(OnChange, 3), f.Ev(OnExpanded, 0)}, "failing handlers");
    f.point->Unadvise(cookie);
}

// Releasing the control while a sink is connected raises OnDestroy, after the records are
// released, and lets go of the host's sink.
void ReleaseWhileConnected() {
    Sink sink;
    {
        Fixture f;
        DWORD cookie = 0;
        ASSERT_HR(f.point->Advise(&sink, &cookie), S_OK);
        EXPECT_TRUE(sink.refs > 0);
        sink.events.clear();
        // A host that calls back from OnDestroy gets harmless answers.
        IRamvel* control = f.control.Get();
        sink.onEvent = [&](const Event& e) {
            if (e.id != OnDestroy) return;
            BSTR v = nullptr;
            EXPECT_HR(control->GetNode(0, &v), S_OK);
            SysFreeString(v);
            LONG count = -1;
            EXPECT_HR(control->ChildrenNumber(0, &count), S_OK);
            EXPECT_EQ(count, static_cast<LONG>(f.tree.nodes.size()));
        };
    }
    ExpectSequence(sink.events, {{OnDestroy, L""}}, "releasing the control");
    EXPECT_EQ(sink.refs, 0u);
}

}  // namespace

int main() {
    Apartment apartment;
    RAMVEL_CASE("event sequences") { Sequences(); }
    RAMVEL_CASE("one sink at a time") { ConnectionRules(); }
    RAMVEL_CASE("property change sinks") { PropertyNotify(); }
    RAMVEL_CASE("calls back into the control") { Reentrancy(); }
    RAMVEL_CASE("failing host handlers") { FailingHost(); }
    RAMVEL_CASE("release while connected") { ReleaseWhileConnected(); }
    return winecheck::Report();
}
