// The form's own events with real windows: two controls side by side in Wine's ATL container
// next to an edit box, each with its own recording sink, driven by focus moves and posted
// input. Every step compares the recorded sequence (both controls, in order) with its table.
#include "HostedControl.h"

#include <commctrl.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <memory>

using namespace comtest;

namespace {

enum : DISPID {
    OnActivate = 1,
    OnCreate = 3,
    OnDblClick = 4,
    OnDestroy = 5,
    OnDeactivate = 6,
    OnChange = 7,
    OnCollapsed = 8,
    OnRightClick = 9,
    OnKeyPress = 10,
    OnClick = 11,
    OnPaint = 15,
    OnExpanded = 16,
};

std::string EventName(DISPID id) {
    static const std::map<DISPID, const char*> names{
        {OnActivate, "OnActivate"},   {OnCreate, "OnCreate"},       {OnDblClick, "OnDblClick"},
        {OnDestroy, "OnDestroy"},     {OnDeactivate, "OnDeactivate"}, {OnChange, "OnChange"},
        {OnCollapsed, "OnCollapsed"}, {OnRightClick, "OnRightClick"}, {OnKeyPress, "OnKeyPress"},
        {OnClick, "OnClick"},         {OnPaint, "OnPaint"},         {OnExpanded, "OnExpanded"},
    };
    auto found = names.find(id);
    return found != names.end() ? found->second : "DISPID " + std::to_string(id);
}

// The node's text out of a node info text (index SOH handle SOH level TAB text TAB ...).
std::string NodeText(const std::wstring& info) {
    auto parts = Split(info, L'\x01');
    if (parts.size() < 3) return winecheck::Utf8(info);
    auto fields = Split(parts[2], L'\t');
    return fields.size() > 1 ? winecheck::Utf8(fields[1]) : std::string();
}

// Events of every control in the order they came, as "<tag> <event> [argument]".
struct EventLog {
    std::vector<std::string> lines;

    // Painting follows the display's own timing: left out unless asked for.
    std::vector<std::string> Take(bool withPaint = false) {
        std::vector<std::string> taken;
        for (auto& line : lines)
            if (withPaint || line.find(" OnPaint") == std::string::npos) taken.push_back(line);
        lines.clear();
        return taken;
    }
    bool Has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
};

// The host's IRamvelEvents for one control; answers OnKeyPress through `answerKey`.
class Sink final : public EventSinkBase {
public:
    Sink(EventLog& log, std::string tag) : log_(log), tag_(std::move(tag)) {}

    std::function<SHORT(SHORT)> answerKey = [](SHORT key) { return key; };
    std::vector<std::string> problems;  // argument shapes that were not as declared

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        std::string line = tag_ + " " + EventName(id);
        if (id == OnKeyPress) {
            if (params->cArgs != 1 || V_VT(&params->rgvarg[0]) != (VT_I2 | VT_BYREF)) {
                problems.push_back("OnKeyPress without a short by reference");
            } else {
                SHORT& key = *V_I2REF(&params->rgvarg[0]);
                line += " " + std::to_string(key);
                key = answerKey(key);
            }
        } else if (params->cArgs == 1 && V_VT(&params->rgvarg[0]) == VT_BSTR) {
            line += " " + NodeText(Text(V_BSTR(&params->rgvarg[0])));
        } else if (params->cArgs != 0) {
            problems.push_back("unexpected arguments: " + EventName(id));
        }
        log_.lines.push_back(line);
        return S_OK;
    }

private:
    EventLog& log_;
    std::string tag_;
};

// Prints both sequences side by side when they differ.
bool ExpectEvents(const std::vector<std::string>& actual, const char* what, const char* file, int line,
                  const std::vector<std::string>& expected) {
    if (actual == expected) return winecheck::Check(true, file, line, {});
    std::string table = std::string(what) + ": event sequences differ\n      expected                 | actual\n";
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        std::string e = i < expected.size() ? expected[i] : "-";
        const std::string a = i < actual.size() ? actual[i] : "-";
        const bool differs = e != a;
        e.resize(std::max<size_t>(e.size(), 24), ' ');
        table += (differs ? "   >> " : "      ") + e + " | " + a + "\n";
    }
    return winecheck::Check(false, file, line, table);
}
// EXPECT_EVENTS(actual, what, expected): the expected list last, as a braced list or a vector.
#define EXPECT_EVENTS(actual, what, ...) ExpectEvents((actual), (what), __FILE__, __LINE__, __VA_ARGS__)

// Pumps until `done` holds or `milliseconds` have passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (done()) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// One control as Wine's ATL hosts it, with the windows the tests drive.
struct Hosted {
    HWND host = nullptr, form = nullptr, tree = nullptr;
    ComPtr<IRamvel> control;
    ComPtr<IConnectionPoint> point;

    Hosted(HWND frame, int left, AtlAxGetControlFn getControl) {
        host = CreateWindowExW(0, L"AtlAxWin", L"RamvelProj1.Ramvel", WS_CHILD | WS_VISIBLE, left, 10, 280, 200,
                               frame, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!host) winecheck::Abort("the AtlAxWin window was not created");
        ComPtr<IUnknown> unknown;
        if (FAILED(getControl(host, unknown.Put()))) winecheck::Abort("AtlAxGetControl failed");
        control = ramvel::server::QueryAs<IRamvel>(unknown.Get());
        auto window = ramvel::server::QueryAs<IOleInPlaceObject>(unknown.Get());
        auto container = ramvel::server::QueryAs<IConnectionPointContainer>(unknown.Get());
        if (!control || !window || !container) winecheck::Abort("the hosted object is not a Ramvel control");
        if (FAILED(window->GetWindow(&form))) winecheck::Abort("the control is not active in place");
        tree = FindWindowExW(form, nullptr, WC_TREEVIEWW, nullptr);
        if (!tree) winecheck::Abort("the form holds no tree view");
        if (FAILED(container->FindConnectionPoint(DIID_IRamvelEvents, point.Put())))
            winecheck::Abort("no connection point for IRamvelEvents");
    }

    bool ShowsSelectionAlways() const { return (GetWindowLongPtrW(tree, GWL_STYLE) & TVS_SHOWSELALWAYS) != 0; }

    std::string SelectedText() {
        BSTR info = nullptr;
        EXPECT_HR(control->GetSelectedNode(&info), S_OK);
        return NodeText(Take(info));
    }
};

// Everything the cases share: the frame, its edit box, the two controls and their sinks.
struct Scene {
    EventLog log;
    Sink sink1{log, "1"};
    Sink firstSink2{log, "2"};
    Sink sink2{log, "2"};  // takes over control 2 from firstSink2
    DWORD cookie1 = 0, cookie2 = 0;
    HWND frame = nullptr, edit = nullptr;
    std::unique_ptr<Hosted> one, two;
};

void CreationAndFirstPaint(Scene& s, AtlAxGetControlFn getControl) {
    s.frame = CreateWindowExW(0, L"STATIC", L"Ramvel form events", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 320,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    s.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 220, 200, 24,
                             s.frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(s.frame);
    SetFocus(s.edit);
    s.one = std::make_unique<Hosted>(s.frame, 10, getControl);
    s.two = std::make_unique<Hosted>(s.frame, 320, getControl);

    RAMVEL_CASE("before the first paint the tree view hides its selection without the focus") {
        EXPECT_FALSE(s.one->ShowsSelectionAlways());  // nothing has painted yet
        EXPECT_FALSE(s.two->ShowsSelectionAlways());
    }

    RAMVEL_CASE("OnCreate: once, when the first sink connects") {
        EXPECT_HR(s.one->point->Advise(&s.sink1, &s.cookie1), S_OK);
        EXPECT_EVENTS(s.log.Take(true), "first sink of control 1", {"1 OnCreate"});
        DWORD firstCookie = 0;
        EXPECT_HR(s.two->point->Advise(&s.firstSink2, &firstCookie), S_OK);
        EXPECT_EVENTS(s.log.Take(true), "first sink of control 2", {"2 OnCreate"});
        EXPECT_HR(s.two->point->Unadvise(firstCookie), S_OK);
        EXPECT_HR(s.two->point->Advise(&s.sink2, &s.cookie2), S_OK);
        EXPECT_EVENTS(s.log.Take(true), "another sink of control 2", {});
        EXPECT_EQ(s.firstSink2.refs, 0u);
    }

    RAMVEL_CASE("the first paint raises OnPaint and shows the selection always") {
        const bool painted = PumpUntil([&] { return s.log.Has("1 OnPaint") && s.log.Has("2 OnPaint"); }, 5000);
        EXPECT_TRUE(painted);
        EXPECT_TRUE(s.one->ShowsSelectionAlways());
        EXPECT_TRUE(s.two->ShowsSelectionAlways());
        EXPECT_EVENTS(s.log.Take(), "showing the controls", {});  // nothing else than painting
    }

    RAMVEL_CASE("a later paint of one form") {
        Pump();
        s.log.Take(true);
        InvalidateRect(s.one->form, nullptr, TRUE);
        UpdateWindow(s.one->form);
        Pump();
        EXPECT_EVENTS(s.log.Take(true), "UpdateWindow on control 1's form", {"1 OnPaint"});
        EXPECT_TRUE(s.one->ShowsSelectionAlways());
    }
}

void Activation(Scene& s) {
    struct Step {
        const char* name;
        HWND target;
        HWND focusAfter;
        std::vector<std::string> expected;
    } steps[] = {
        {"control 1's tree view", s.one->tree, s.one->tree, {"1 OnActivate"}},
        {"control 2's tree view", s.two->tree, s.two->tree, {"1 OnDeactivate", "2 OnActivate"}},
        {"the edit box", s.edit, s.edit, {}},
        {"control 2 again", s.two->tree, s.two->tree, {}},
        {"control 1 through its form", s.one->form, s.one->tree, {"2 OnDeactivate", "1 OnActivate"}},
        {"control 1's tree view, already focused", s.one->tree, s.one->tree, {}},
    };
    EXPECT_TRUE(GetFocus() == s.edit);  // no form has had the focus yet
    s.log.Take();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        SetFocus(step.target);
        Pump();
        EXPECT_TRUE(GetFocus() == step.focusAfter);
        EXPECT_EVENTS(s.log.Take(), step.name, step.expected);
    }
}

void PostMouse(HWND window, UINT message, POINT point) {
    PostMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

void Clicks(Scene& s) {
    using Input = std::vector<std::pair<UINT, POINT>>;
    constexpr POINT inside{5, 5}, outside{-10, -10};
    // Messages go straight to the form: the tree view covers all of its surface.
    struct Case {
        const char* name;
        HWND target;
        Input input;
        std::vector<std::string> expected;
    } cases[] = {
        {"press and release on the form", s.one->form, {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, inside}},
         {"1 OnClick"}},
        {"a double click's messages",
         s.one->form,
         {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, inside}, {WM_LBUTTONDBLCLK, inside}, {WM_LBUTTONUP, inside}},
         {"1 OnClick", "1 OnDblClick"}},
        {"a lone double click", s.one->form, {{WM_LBUTTONDBLCLK, inside}}, {"1 OnDblClick"}},
        {"press on the form, release outside it", s.one->form, {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, outside}},
         {}},
        {"release without a press", s.one->form, {{WM_LBUTTONUP, inside}}, {}},
        {"click on control 2's form", s.two->form, {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, inside}},
         {"2 OnClick"}},
        {"click on control 1's empty tree view", s.one->tree, {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, inside}},
         {}},
    };
    SetFocus(s.one->tree);  // clicking the tree view must not move the activation
    Pump();
    s.log.Take();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [message, point] : c.input) PostMouse(c.target, message, point);
        Pump();
        EXPECT_EVENTS(s.log.Take(), c.name, c.expected);
        EXPECT_TRUE(GetCapture() == nullptr);
    }
}

void KeyPreviewProperty(Scene& s) {
    VARIANT_BOOL value = 1;
    EXPECT_HR(s.one->control->get_KeyPreview(&value), S_OK);
    EXPECT_EQ(value, VARIANT_FALSE);  // off until the host turns it on
    struct {
        VARIANT_BOOL put, get;
    } cases[] = {{VARIANT_TRUE, VARIANT_TRUE}, {VARIANT_FALSE, VARIANT_FALSE}, {1, VARIANT_TRUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE("put " + std::to_string(c.put));
        EXPECT_HR(s.one->control->put_KeyPreview(c.put), S_OK);
        EXPECT_HR(s.one->control->get_KeyPreview(&value), S_OK);
        EXPECT_EQ(value, c.get);
    }
}

void Keys(Scene& s) {
    Bstr nodes = MakeBstr(L"0\talpha\n0\tx-ray\n0\tyak");
    EXPECT_HR(s.one->control->AddNodes(nodes.Get()), S_OK);

    const auto leave = [](SHORT key) { return key; };
    const auto cancel = [](SHORT) -> SHORT { return 0; };
    const auto xIntoY = [](SHORT key) -> SHORT { return key == 'x' ? 'y' : key; };
    const auto xIntoEnter = [](SHORT key) -> SHORT { return key == 'x' ? 13 : key; };
    HWND form = s.one->form, tree = s.one->tree;
    // Each case starts on "alpha"; a character that reaches the tree view selects by its
    // incremental search (the next root starting with it).
    struct Case {
        const char* name;
        HWND target;
        bool preview;
        std::function<SHORT(SHORT)> answer;
        wchar_t key;
        std::vector<std::string> expected;
        const char* selectedAfter;
    } cases[] = {
        {"a letter on the form", form, false, leave, 'a', {"1 OnKeyPress 97"}, "alpha"},
        {"Enter on the form", form, false, leave, 13, {"1 OnKeyPress 13"}, "alpha"},
        {"a letter on the form, preview on", form, true, leave, 'x', {"1 OnKeyPress 120"}, "alpha"},
        {"preview off: a letter goes to the tree view silently", tree, false, leave, 'x', {"1 OnChange x-ray"},
         "x-ray"},
        {"preview off: Enter is reported once and kept", tree, false, leave, 13, {"1 OnKeyPress 13"}, "alpha"},
        {"preview on, the host leaves the letter", tree, true, leave, 'x', {"1 OnKeyPress 120", "1 OnChange x-ray"},
         "x-ray"},
        {"preview on, the host turns x into y", tree, true, xIntoY, 'x', {"1 OnKeyPress 120", "1 OnChange yak"},
         "yak"},
        {"preview on, the host cancels the letter", tree, true, cancel, 'x', {"1 OnKeyPress 120"}, "alpha"},
        {"preview on: Enter is reported by the form, then by the tree", tree, true, leave, 13,
         {"1 OnKeyPress 13", "1 OnKeyPress 13"}, "alpha"},
        {"preview on, the host cancels Enter", tree, true, cancel, 13, {"1 OnKeyPress 13"}, "alpha"},
        {"preview on, the host turns x into Enter", tree, true, xIntoEnter, 'x',
         {"1 OnKeyPress 120", "1 OnKeyPress 13"}, "alpha"},
    };
    // The tree view's incremental search joins characters typed less than about half a second
    // apart: a letter waits until the previous one is forgotten.
    constexpr DWORD kSearchReset = 600;
    DWORD lastLetter = GetTickCount() - kSearchReset;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BSTR info = nullptr;
        EXPECT_HR(s.one->control->GoToNode(0, &info), S_OK);
        SysFreeString(info);
        EXPECT_HR(s.one->control->put_KeyPreview(c.preview ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
        s.sink1.answerKey = c.answer;
        const bool letterToTree = c.target == tree && c.key >= 32;
        if (letterToTree) PumpUntil([&] { return GetTickCount() - lastLetter >= kSearchReset; }, kSearchReset);
        Pump();
        s.log.Take();
        PostMessageW(c.target, WM_CHAR, c.key, 1);
        Pump();
        if (letterToTree) lastLetter = GetTickCount();
        EXPECT_EVENTS(s.log.Take(), c.name, c.expected);
        EXPECT_EQ(s.one->SelectedText(), c.selectedAfter);
    }
    s.sink1.answerKey = leave;
    EXPECT_HR(s.one->control->put_KeyPreview(VARIANT_FALSE), S_OK);
}

// Releasing the focused control: OnDestroy reaches its sink, and the other control then
// activates without a deactivation from the gone one.
void ReleaseFocusedControl(Scene& s) {
    SetFocus(s.two->tree);
    Pump();
    EXPECT_EVENTS(s.log.Take(), "focus to control 2", {"1 OnDeactivate", "2 OnActivate"});

    DestroyWindow(s.two->host);
    Pump();
    EXPECT_EVENTS(s.log.Take(), "the container let go; the test still holds control 2", {});
    s.two.reset();
    Pump();
    EXPECT_EVENTS(s.log.Take(), "the last reference released", {"2 OnDestroy"});
    EXPECT_EQ(s.sink2.refs, 0u);

    SetFocus(s.one->tree);
    Pump();
    EXPECT_EVENTS(s.log.Take(), "focus back to control 1", {"1 OnActivate"});
}

}  // namespace

int main() {
    Apartment apartment;
    const AtlAxGetControlFn getControl = LoadAtlHosting();

    Scene s;
    CreationAndFirstPaint(s, getControl);
    RAMVEL_CASE("activation follows the focus between the controls") { Activation(s); }
    RAMVEL_CASE("clicks on the form's surface") { Clicks(s); }
    RAMVEL_CASE("KeyPreview property") { KeyPreviewProperty(s); }
    RAMVEL_CASE("keys with and without key preview") { Keys(s); }
    RAMVEL_CASE("releasing the focused control") { ReleaseFocusedControl(s); }
    RAMVEL_CASE("closing the container") {
        DestroyWindow(s.frame);
        s.one.reset();
        Pump();
        EXPECT_EVENTS(s.log.Take(), "control 1 released", {"1 OnDestroy"});
        EXPECT_EQ(s.sink1.refs, 0u);
    }
    EXPECT_EQ(s.sink1.problems, std::vector<std::string>{});
    EXPECT_EQ(s.sink2.problems, std::vector<std::string>{});
    return winecheck::Report();
}
