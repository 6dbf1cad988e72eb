// The properties of the tree and of the form against the real module: Wine's ATL hosts the
// control, each step puts a property, then the windows are read back (styles, the tree view's
// font and colours, the form's text, frame, visibility and enabled state, the cursor shown)
// along with every property's get.
#include <functional>

#include "PropertySupport.h"

using namespace comtest;

namespace {

using Put = std::function<HRESULT(IRamvel*)>;

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The style bits a border style sets, by name ("none" without any).
std::string BorderOf(HWND form) {
    const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE), extended = GetWindowLongPtrW(form, GWL_EXSTYLE);
    std::string names;
    const auto add = [&](bool on, const char* name) {
        if (on) names += (names.empty() ? "" : "|") + std::string(name);
    };
    add(style & WS_BORDER, "WS_BORDER");
    add(style & WS_DLGFRAME, "WS_DLGFRAME");
    add(extended & WS_EX_CLIENTEDGE, "WS_EX_CLIENTEDGE");
    add(extended & WS_EX_WINDOWEDGE, "WS_EX_WINDOWEDGE");
    return names.empty() ? "none" : names;
}

// How much wider the form's window is than its client area: the frame really drawn.
int FrameWidth(HWND form) {
    RECT window{}, client{};
    GetWindowRect(form, &window);
    GetClientRect(form, &client);
    return (window.right - window.left) - client.right;
}

std::string ReadingOf(HWND tree) {
    const LONG_PTR extended = GetWindowLongPtrW(tree, GWL_EXSTYLE);
    if (extended & WS_EX_LAYOUTRTL) return extended & WS_EX_RTLREADING ? "both" : "WS_EX_LAYOUTRTL";
    return extended & WS_EX_RTLREADING ? "WS_EX_RTLREADING" : "left to right";
}

// --- Every property with the window state it shows ----------------------------------------

struct Seen {
    // The windows.
    bool lines = false, buttons = false, track = false;
    std::wstring face;
    LONG height = 0;
    COLORREF background = 0, text = 0;
    std::wstring formText;
    bool formVisible = false, formEnabled = false, treeEnabled = false;
    std::string border, reading;
    int frame = 0;
    // The properties.
    std::wstring fontName, caption, helpFile;
    LONG fontSize = 0, pixelsPerInch = 0, axBorderStyle = 0, biDiMode = 0, printScale = 0;
    OLE_COLOR color = 0;
    short cursor = 0;
    VARIANT_BOOL visible = 0, enabled = 0, doubleBuffered = 0, scaled = 0, dropTarget = 0;
};

Seen Read(HostedControl& r) {
    Seen s;
    const HWND form = FormOf(r.control.Get());
    const LONG_PTR style = GetWindowLongPtrW(r.tree, GWL_STYLE);
    s.lines = style & TVS_HASLINES;
    s.buttons = style & TVS_HASBUTTONS;
    s.track = style & TVS_TRACKSELECT;
    const LOGFONTW font = TreeFont(r.tree);
    s.face = font.lfFaceName;
    s.height = font.lfHeight;
    s.background = static_cast<COLORREF>(SendMessageW(r.tree, TVM_GETBKCOLOR, 0, 0));
    s.text = static_cast<COLORREF>(SendMessageW(r.tree, TVM_GETTEXTCOLOR, 0, 0));
    s.formText = WindowText(form);
    s.formVisible = IsWindowVisible(form);
    s.formEnabled = IsWindowEnabled(form);
    s.treeEnabled = IsWindowEnabled(r.tree);
    s.border = BorderOf(form);
    s.frame = FrameWidth(form);
    s.reading = ReadingOf(r.tree);

    BSTR text = nullptr;
    EXPECT_HR(r->get_FontName(&text), S_OK);
    s.fontName = Take(text);
    EXPECT_HR(r->get_Caption(&text), S_OK);
    s.caption = Take(text);
    EXPECT_HR(r->get_HelpFile(&text), S_OK);
    s.helpFile = Take(text);
    EXPECT_HR(r->get_FontSize(&s.fontSize), S_OK);
    EXPECT_HR(r->get_PixelsPerInch(&s.pixelsPerInch), S_OK);
    TxActiveFormBorderStyle border{};
    EXPECT_HR(r->get_AxBorderStyle(&border), S_OK);
    s.axBorderStyle = border;
    TxBiDiMode bidi{};
    EXPECT_HR(r->get_BiDiMode(&bidi), S_OK);
    s.biDiMode = bidi;
    TxPrintScale scale{};
    EXPECT_HR(r->get_PrintScale(&scale), S_OK);
    s.printScale = scale;
    EXPECT_HR(r->get_Color(&s.color), S_OK);
    EXPECT_HR(r->get_Cursor(&s.cursor), S_OK);
    EXPECT_HR(r->get_Visible(&s.visible), S_OK);
    EXPECT_HR(r->get_Enabled(&s.enabled), S_OK);
    EXPECT_HR(r->get_DoubleBuffered(&s.doubleBuffered), S_OK);
    EXPECT_HR(r->get_Scaled(&s.scaled), S_OK);
    EXPECT_HR(r->get_DropTarget(&s.dropTarget), S_OK);
    return s;
}

void ExpectSeen(const Seen& actual, const Seen& expected) {
    EXPECT_EQ(actual.lines, expected.lines);
    EXPECT_EQ(actual.buttons, expected.buttons);
    EXPECT_EQ(actual.track, expected.track);
    EXPECT_EQ(actual.face, expected.face);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.background, expected.background);
    EXPECT_EQ(actual.text, expected.text);
    EXPECT_EQ(actual.formText, expected.formText);
    EXPECT_EQ(actual.formVisible, expected.formVisible);
    EXPECT_EQ(actual.formEnabled, expected.formEnabled);
    EXPECT_EQ(actual.treeEnabled, expected.treeEnabled);
    EXPECT_EQ(actual.border, expected.border);
    EXPECT_EQ(actual.frame, expected.frame);
    EXPECT_EQ(actual.reading, expected.reading);
    EXPECT_EQ(actual.fontName, expected.fontName);
    EXPECT_EQ(actual.caption, expected.caption);
    EXPECT_EQ(actual.helpFile, expected.helpFile);
    EXPECT_EQ(actual.fontSize, expected.fontSize);
    EXPECT_EQ(actual.pixelsPerInch, expected.pixelsPerInch);
    EXPECT_EQ(actual.axBorderStyle, expected.axBorderStyle);
    EXPECT_EQ(actual.biDiMode, expected.biDiMode);
    EXPECT_EQ(actual.printScale, expected.printScale);
    EXPECT_EQ(actual.color, expected.color);
    EXPECT_EQ(actual.cursor, expected.cursor);
    EXPECT_EQ(actual.visible, expected.visible);
    EXPECT_EQ(actual.enabled, expected.enabled);
    EXPECT_EQ(actual.doubleBuffered, expected.doubleBuffered);
    EXPECT_EQ(actual.scaled, expected.scaled);
    EXPECT_EQ(actual.dropTarget, expected.dropTarget);
}

Seen NewControl() {
    Seen s;
    s.lines = s.buttons = true;
    s.face = s.fontName = L"MS Sans Serif";
    s.height = -11;
    s.fontSize = 8;
    s.color = 0xFF00000F;
    s.background = GetSysColor(COLOR_BTNFACE);
    s.text = GetSysColor(COLOR_WINDOWTEXT);
    s.formText = s.caption = L"MyRamvel";
    s.formVisible = s.formEnabled = s.treeEnabled = true;
    s.visible = s.enabled = s.scaled = VARIANT_TRUE;
    s.axBorderStyle = 1;
    s.border = "WS_BORDER";
    s.frame = 2 * GetSystemMetrics(SM_CXBORDER);
    s.reading = "left to right";
    s.printScale = 1;
    s.pixelsPerInch = 96;
    return s;
}

// The frame a border style draws.
void Border(Seen& e, LONG value, const char* bits) {
    e.axBorderStyle = value;
    e.border = bits;
    const std::string b = bits;
    e.frame = b == "WS_BORDER"          ? 2 * GetSystemMetrics(SM_CXBORDER)
              : b == "WS_EX_CLIENTEDGE" ? 2 * GetSystemMetrics(SM_CXEDGE)
              : b == "none"             ? 0
                                        : 2 * GetSystemMetrics(SM_CXDLGFRAME);
}

void EveryProperty(Container& container) {
    HostedControl r(container);
    const char* const dialogFrame = "WS_DLGFRAME|WS_EX_WINDOWEDGE";
    struct {
        const char* step;
        Put put;
        std::function<void(Seen&)> change;  // what the step changes in what is seen
    } steps[] = {
        {"a new control", [](IRamvel*) { return S_OK; }, [](Seen&) {}},
        // The tree's switches.
        {"Lines = 0", [](IRamvel* c) { return c->put_Lines(0); }, [](Seen& e) { e.lines = false; }},
        {"Buttons = 0", [](IRamvel* c) { return c->put_Buttons(0); }, [](Seen& e) { e.buttons = false; }},
        {"Track = 5", [](IRamvel* c) { return c->put_Track(5); }, [](Seen& e) { e.track = true; }},
        {"Lines = 5", [](IRamvel* c) { return c->put_Lines(5); }, [](Seen& e) { e.lines = true; }},
        {"Buttons = -1", [](IRamvel* c) { return c->put_Buttons(-1); }, [](Seen& e) { e.buttons = true; }},
        {"Track = 0", [](IRamvel* c) { return c->put_Track(0); }, [](Seen& e) { e.track = false; }},
        // The tree's font.
        {"FontName = Courier New", [](IRamvel* c) { return c->put_FontName(MakeBstr(L"Courier New").Get()); },
         [](Seen& e) { e.face = e.fontName = L"Courier New"; }},
        {"FontName = \"\" is ignored", [](IRamvel* c) { return c->put_FontName(MakeBstr(L"").Get()); }, [](Seen&) {}},
        {"FontSize = 12", [](IRamvel* c) { return c->put_FontSize(12); },
         [](Seen& e) { e.height = -16, e.fontSize = 12; }},
        {"FontSize = 10 (13.33 pixels)", [](IRamvel* c) { return c->put_FontSize(10); },
         [](Seen& e) { e.height = -13, e.fontSize = 10; }},
        {"FontSize = 9", [](IRamvel* c) { return c->put_FontSize(9); },
         [](Seen& e) { e.height = -12, e.fontSize = 9; }},
        {"FontName = Tahoma", [](IRamvel* c) { return c->put_FontName(MakeBstr(L"Tahoma").Get()); },
         [](Seen& e) { e.face = e.fontName = L"Tahoma"; }},
        // The background: an RGB value, or a system colour by its low byte when the top bit is set.
        {"Color = red", [](IRamvel* c) { return c->put_Color(0x0000FF); },
         [](Seen& e) { e.color = 0x0000FF, e.background = RGB(0xFF, 0, 0); }},
        {"Color = 0x80000005 (window)", [](IRamvel* c) { return c->put_Color(0x80000005); },
         [](Seen& e) { e.color = 0x80000005, e.background = GetSysColor(COLOR_WINDOW); }},
        {"Color = 0xFF000012 (button text)", [](IRamvel* c) { return c->put_Color(0xFF000012); },
         [](Seen& e) { e.color = 0xFF000012, e.background = GetSysColor(COLOR_BTNTEXT); }},
        {"Color = 0x00123456", [](IRamvel* c) { return c->put_Color(0x00123456); },
         [](Seen& e) { e.color = 0x00123456, e.background = 0x00123456; }},
        // The form's text, visibility and enabled state.
        {"Caption = Arbre", [](IRamvel* c) { return c->put_Caption(MakeBstr(L"Arbre").Get()); },
         [](Seen& e) { e.caption = e.formText = L"Arbre"; }},
        {"Caption = \"\"", [](IRamvel* c) { return c->put_Caption(MakeBstr(L"").Get()); },
         [](Seen& e) { e.caption = e.formText = L""; }},
        {"Visible = 0", [](IRamvel* c) { return c->put_Visible(0); },
         [](Seen& e) { e.visible = VARIANT_FALSE, e.formVisible = false; }},
        {"Visible = 5", [](IRamvel* c) { return c->put_Visible(5); },
         [](Seen& e) { e.visible = VARIANT_TRUE, e.formVisible = true; }},
        {"Enabled = 0", [](IRamvel* c) { return c->put_Enabled(0); },
         [](Seen& e) { e.enabled = VARIANT_FALSE, e.formEnabled = e.treeEnabled = false; }},
        {"Enabled = 5", [](IRamvel* c) { return c->put_Enabled(5); },
         [](Seen& e) { e.enabled = VARIANT_TRUE, e.formEnabled = e.treeEnabled = true; }},
        // The frame, and the reading order: enumerations keep their low 8 bits.
        {"AxBorderStyle = 0", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(0)); },
         [](Seen& e) { Border(e, 0, "none"); }},
        {"AxBorderStyle = 2", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(2)); },
         [](Seen& e) { Border(e, 2, "WS_EX_CLIENTEDGE"); }},
        {"AxBorderStyle = 3", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(3)); },
         [&](Seen& e) { Border(e, 3, dialogFrame); }},
        {"AxBorderStyle = 1", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(1)); },
         [](Seen& e) { Border(e, 1, "WS_BORDER"); }},
        {"AxBorderStyle = 7 (none)", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(7)); },
         [](Seen& e) { Border(e, 7, "none"); }},
        {"AxBorderStyle = 258 (2)", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(258)); },
         [](Seen& e) { Border(e, 2, "WS_EX_CLIENTEDGE"); }},
        {"AxBorderStyle = 260 (4, none)",
         [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(260)); },
         [](Seen& e) { Border(e, 4, "none"); }},
        {"AxBorderStyle = 257 (1)", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(257)); },
         [](Seen& e) { Border(e, 1, "WS_BORDER"); }},
        {"BiDiMode = 1", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(1)); },
         [](Seen& e) { e.biDiMode = 1, e.reading = "WS_EX_LAYOUTRTL"; }},
        {"BiDiMode = 2", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(2)); },
         [](Seen& e) { e.biDiMode = 2, e.reading = "WS_EX_LAYOUTRTL"; }},
        {"BiDiMode = 3", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(3)); },
         [](Seen& e) { e.biDiMode = 3, e.reading = "WS_EX_RTLREADING"; }},
        {"BiDiMode = 0", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(0)); },
         [](Seen& e) { e.biDiMode = 0, e.reading = "left to right"; }},
        {"BiDiMode = 257 (1)", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(257)); },
         [](Seen& e) { e.biDiMode = 1, e.reading = "WS_EX_LAYOUTRTL"; }},
        // Stored and read back.
        {"Cursor = -21", [](IRamvel* c) { return c->put_Cursor(-21); }, [](Seen& e) { e.cursor = -21; }},
        {"Cursor = 300", [](IRamvel* c) { return c->put_Cursor(300); }, [](Seen& e) { e.cursor = 300; }},
        {"DoubleBuffered = 5", [](IRamvel* c) { return c->put_DoubleBuffered(5); },
         [](Seen& e) { e.doubleBuffered = VARIANT_TRUE; }},
        {"DoubleBuffered = 0", [](IRamvel* c) { return c->put_DoubleBuffered(0); },
         [](Seen& e) { e.doubleBuffered = VARIANT_FALSE; }},
        {"PrintScale = 2", [](IRamvel* c) { return c->put_PrintScale(TxPrintScale(2)); },
         [](Seen& e) { e.printScale = 2; }},
        {"PrintScale = 256 (0)", [](IRamvel* c) { return c->put_PrintScale(TxPrintScale(256)); },
         [](Seen& e) { e.printScale = 0; }},
        {"HelpFile = aide.hlp", [](IRamvel* c) { return c->put_HelpFile(MakeBstr(L"aide.hlp").Get()); },
         [](Seen& e) { e.helpFile = L"aide.hlp"; }},
        {"DropTarget = 3", [](IRamvel* c) { return c->put_DropTarget(3); },
         [](Seen& e) { e.dropTarget = VARIANT_TRUE; }},
        {"DropTarget = 0", [](IRamvel* c) { return c->put_DropTarget(0); },
         [](Seen& e) { e.dropTarget = VARIANT_FALSE; }},
        // Pixels per inch: 30 is no screen's; 0 stores none, Scaled stores the screen's.
        {"PixelsPerInch = 30 is ignored", [](IRamvel* c) { return c->put_PixelsPerInch(30); }, [](Seen&) {}},
        {"PixelsPerInch = 0", [](IRamvel* c) { return c->put_PixelsPerInch(0); },
         [](Seen& e) { e.scaled = VARIANT_FALSE, e.pixelsPerInch = 96; }},
        {"PixelsPerInch = 120", [](IRamvel* c) { return c->put_PixelsPerInch(120); },
         [](Seen& e) { e.scaled = VARIANT_TRUE, e.pixelsPerInch = 120; }},
        {"Scaled = 0", [](IRamvel* c) { return c->put_Scaled(0); },
         [](Seen& e) { e.scaled = VARIANT_FALSE, e.pixelsPerInch = 96; }},
        {"Scaled = 5", [](IRamvel* c) { return c->put_Scaled(5); },
         [](Seen& e) { e.scaled = VARIANT_TRUE, e.pixelsPerInch = 96; }},
        // None of the above changed the tree's font size in points.
        {"FontSize = 12 after the pixels per inch", [](IRamvel* c) { return c->put_FontSize(12); },
         [](Seen& e) { e.height = -16, e.fontSize = 12; }},
    };
    Seen expected = NewControl();
    for (auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_HR(s.put(r.control.Get()), S_OK);
        Pump();
        s.change(expected);
        ExpectSeen(Read(r), expected);
    }
}

// --- Styles changed in place -------------------------------------------------------------

// The tree view's items in order: "text, expanded" or "text, collapsed", the caret marked.
std::vector<std::string> Items(HWND tree) {
    std::vector<std::string> items;
    const auto caret = TreeView_GetSelection(tree);
    std::function<void(HTREEITEM)> walk = [&](HTREEITEM item) {
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            wchar_t text[128] = {};
            TVITEMW query{};
            query.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
            query.hItem = item;
            query.pszText = text;
            query.cchTextMax = 128;
            query.stateMask = TVIS_EXPANDED;
            TreeView_GetItem(tree, &query);
            items.push_back(winecheck::Utf8(text) + (query.state & TVIS_EXPANDED ? ", expanded" : ", collapsed") +
                            (item == caret ? ", selected" : ""));
            walk(TreeView_GetChild(tree, item));
        }
    };
    walk(TreeView_GetRoot(tree));
    return items;
}

struct InPlaceState {
    HWND form = nullptr, tree = nullptr;
    LRESULT count = 0;
    HTREEITEM caret = nullptr;
    std::vector<std::string> items;
    std::vector<std::wstring> nodes;  // GethNode of each handle taken at the start
    std::wstring selected;
};

InPlaceState ReadInPlace(HostedControl& r, const ExpectedTree& tree) {
    InPlaceState s;
    s.form = FormOf(r.control.Get());
    s.tree = FindWindowExW(s.form, nullptr, WC_TREEVIEWW, nullptr);
    s.count = SendMessageW(s.tree, TVM_GETCOUNT, 0, 0);
    s.caret = TreeView_GetSelection(s.tree);
    s.items = Items(s.tree);
    for (const auto& node : tree.nodes) {
        BSTR info = nullptr;
        EXPECT_HR(r->GethNode(node.handle, &info), S_OK);
        s.nodes.push_back(Take(info));
    }
    BSTR info = nullptr;
    EXPECT_HR(r->GetSelectedNode(&info), S_OK);
    s.selected = Take(info);
    return s;
}

// The switches, the frame and the reading order change the windows' styles only: the same
// windows keep their items, the selection and the open nodes, and no event is raised.
void InPlace(Container& container) {
    HostedControl r(container);
    ExpectedTree tree({L"0\tAlpha", L"1\tA1", L"2\tA1a", L"1\tA2", L"0\tBeta", L"1\tB1"});
    ASSERT_TRUE(Build(r.control.Get(), tree));
    EXPECT_HR(r->put_Expanded(tree.nodes[0].handle, VARIANT_TRUE), S_OK);
    EXPECT_HR(r->put_Expanded(tree.nodes[1].handle, VARIANT_TRUE), S_OK);
    BSTR info = nullptr;
    EXPECT_HR(r->GoToNode(2, &info), S_OK);
    SysFreeString(info);
    Pump();
    const InPlaceState before = ReadInPlace(r, tree);
    // The tree view holds what can be seen: B1 waits until Beta opens.
    EXPECT_SEQ_EQ(before.items, (std::vector<std::string>{"Alpha, expanded", "A1, expanded", "A1a, collapsed, selected",
                                                          "A2, collapsed", "Beta, collapsed"}));

    EventRecorder recorder;
    Connection connection(r.control.Get(), recorder);
    recorder.Take();  // OnCreate at the first connection
    enum Window { kTree, kForm };
    struct {
        const char* step;
        Put put;
        Window changes;
    } steps[] = {
        {"Lines = 0", [](IRamvel* c) { return c->put_Lines(0); }, kTree},
        {"Buttons = 0", [](IRamvel* c) { return c->put_Buttons(0); }, kTree},
        {"Track = -1", [](IRamvel* c) { return c->put_Track(-1); }, kTree},
        {"Lines = -1", [](IRamvel* c) { return c->put_Lines(-1); }, kTree},
        {"Buttons = -1", [](IRamvel* c) { return c->put_Buttons(-1); }, kTree},
        {"Track = 0", [](IRamvel* c) { return c->put_Track(0); }, kTree},
        {"AxBorderStyle = 0", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(0)); }, kForm},
        {"AxBorderStyle = 2", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(2)); }, kForm},
        {"AxBorderStyle = 3", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(3)); }, kForm},
        {"AxBorderStyle = 1", [](IRamvel* c) { return c->put_AxBorderStyle(TxActiveFormBorderStyle(1)); }, kForm},
        {"BiDiMode = 1", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(1)); }, kTree},
        {"BiDiMode = 3", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(3)); }, kTree},
        {"BiDiMode = 2", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(2)); }, kTree},
        {"BiDiMode = 0", [](IRamvel* c) { return c->put_BiDiMode(TxBiDiMode(0)); }, kTree},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(s.step);
        const HWND changed = s.changes == kTree ? before.tree : before.form;
        const auto styles = [&] {
            return std::vector<LONG_PTR>{GetWindowLongPtrW(changed, GWL_STYLE),
                                         GetWindowLongPtrW(changed, GWL_EXSTYLE)};
        };
        const std::vector<LONG_PTR> old = styles();
        EXPECT_HR(s.put(r.control.Get()), S_OK);
        Pump();
        EXPECT_NE(styles(), old);
        const InPlaceState now = ReadInPlace(r, tree);
        EXPECT_TRUE(now.form == before.form);
        EXPECT_TRUE(now.tree == before.tree);
        EXPECT_EQ(now.count, before.count);
        EXPECT_TRUE(now.caret == before.caret);
        EXPECT_SEQ_EQ(now.items, before.items);
        EXPECT_SEQ_EQ(now.nodes, before.nodes);
        EXPECT_EQ(now.selected, before.selected);
        EXPECT_SEQ_EQ(recorder.Take(), std::vector<std::string>{});
    }
}

// --- The switches through late binding: put only ------------------------------------------

void PutOnlySwitches(Container& container) {
    HostedControl r(container);
    for (const wchar_t* name : {L"Lines", L"Buttons", L"Track"}) {
        SCOPED_TRACE(name);
        DISPID id = 0;
        auto member = const_cast<LPOLESTR>(name);
        ASSERT_HR(r->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        VARIANT value;
        VariantInit(&value);
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = VARIANT_FALSE;
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS put{&value, &named, 1, 1};
        EXPECT_HR(r->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
                  S_OK);
        // A script's `x = c.Lines` asks for a property or a method.
        for (WORD flags : {WORD{DISPATCH_PROPERTYGET}, WORD{DISPATCH_PROPERTYGET | DISPATCH_METHOD}}) {
            SCOPED_TRACE("flags " + std::to_string(flags));
            VARIANT result;
            VariantInit(&result);
            DISPPARAMS none{};
            EXCEPINFO exception{};
            EXPECT_HR(r->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &none, &result, &exception, nullptr),
                      DISP_E_MEMBERNOTFOUND);
            VariantClear(&result);
        }
    }
    // The puts took effect.
    const LONG_PTR style = GetWindowLongPtrW(r.tree, GWL_STYLE);
    EXPECT_EQ(style & (TVS_HASLINES | TVS_HASBUTTONS | TVS_TRACKSELECT), 0);
}

// --- The cursor shown over the control --------------------------------------------------

void ShownCursor(Container& container) {
    HostedControl r(container);
    const auto system = [](const wchar_t* shape) { return LoadCursorW(nullptr, shape); };
    const HCURSOR arrow = system(IDC_ARROW);
    struct {
        short id;
        HCURSOR shown;
    } cases[] = {
        {-21, system(IDC_HAND)}, {-3, system(IDC_CROSS)},  {-4, system(IDC_IBEAM)},     {-11, system(IDC_WAIT)},
        {-20, system(IDC_HELP)}, {-13, system(IDC_NO)},    {-19, system(IDC_APPSTARTING)}, {-7, system(IDC_SIZENS)},
        {-9, system(IDC_SIZEWE)}, {-1, nullptr},           {-2, arrow},                 {300, arrow},
        {-99, arrow},            {0, arrow},               {-21, system(IDC_HAND)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Cursor = " + std::to_string(c.id));
        EXPECT_HR(r->put_Cursor(c.id), S_OK);
        short id = 7;
        EXPECT_HR(r->get_Cursor(&id), S_OK);
        EXPECT_EQ(id, c.id);
        EXPECT_TRUE(r.ShownCursor() == c.shown);  // with the pointer over the tree view
    }
}

// --- Clicks on a disabled control -------------------------------------------------------

// A real click of the left button at a point of the screen.
void ClickAt(POINT point) {
    SetCursorPos(point.x, point.y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::string SelectedText(HostedControl& r) {
    BSTR info = nullptr;
    EXPECT_HR(r->GetSelectedNode(&info), S_OK);
    const auto fields = Split(Take(info), L'\t');
    return fields.size() > 1 ? winecheck::Utf8(fields[1]) : std::string();
}

// Real clicks: the system gives a disabled window no mouse input.
void DisabledClicks(Container& container) {
    HostedControl r(container);
    Bstr nodes = MakeBstr(L"0\tAlpha\n0\tBeta");
    ASSERT_HR(r->AddNodes(nodes.Get()), S_OK);
    Pump();
    struct {
        const char* step;
        VARIANT_BOOL enabled;
        const char* selectedAfter;
    } steps[] = {
        {"disabled", VARIANT_FALSE, "Alpha"},
        {"enabled again", VARIANT_TRUE, "Beta"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        BSTR info = nullptr;
        EXPECT_HR(r->GoToNode(0, &info), S_OK);
        SysFreeString(info);
        EXPECT_HR(r->put_Enabled(s.enabled), S_OK);
        Pump();
        const HTREEITEM beta = TreeView_GetNextSibling(r.tree, r.Root());
        RECT row{};
        ASSERT_TRUE(TreeView_GetItemRect(r.tree, beta, &row, TRUE));
        POINT middle{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
        ClientToScreen(r.tree, &middle);
        ClickAt(middle);
        // The click comes back through the display: give it time to arrive.
        for (int round = 0; round < 50 && SelectedText(r) != s.selectedAfter; ++round) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Pump();
        }
        EXPECT_EQ(SelectedText(r), s.selectedAfter);
    }
}

// --- Double-buffered painting draws the same picture ---------------------------------------

// The tree view's client area as painted on the screen after it was first covered with
// `smear`: what a paint left of it shows which pixels the paint did not cover.
std::vector<COLORREF> Painted(HWND tree, COLORREF smear) {
    RECT client{};
    GetClientRect(tree, &client);
    HDC window = GetDC(tree);
    HBRUSH brush = CreateSolidBrush(smear);
    FillRect(window, &client, brush);
    DeleteObject(brush);
    ReleaseDC(tree, window);
    InvalidateRect(tree, nullptr, TRUE);
    UpdateWindow(tree);
    Pump();
    window = GetDC(tree);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; y += 2)
        for (int x = 0; x < client.right; x += 2) pixels.push_back(GetPixel(window, x, y));
    ReleaseDC(tree, window);
    return pixels;
}

// Whether the tree view erases its background on its own: without buffering it does, before it
// paints; with buffering the buffered paint covers everything in one copy and erasing alone
// leaves the screen as it was (no flicker between the two).
bool ErasesOnItsOwn(HWND tree, COLORREF smear) {
    HDC screen = GetDC(tree);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(tree, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 8, 8};
    HBRUSH brush = CreateSolidBrush(smear);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    SendMessageW(tree, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    const bool erased = GetPixel(memory, 4, 4) != smear;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return erased;
}

void DoubleBuffered(Container& container) {
    HostedControl r(container);
    constexpr COLORREF kBackground = RGB(0x40, 0x80, 0xC0), kSmear = RGB(0, 0xFF, 0);
    Bstr nodes = MakeBstr(L"0\tAlpha\n1\tA1\n0\tBeta\n0\tGamma");
    ASSERT_HR(r->AddNodes(nodes.Get()), S_OK);
    ASSERT_HR(r->put_Color(kBackground), S_OK);
    Pump();
    const std::vector<COLORREF> direct = Painted(r.tree, kSmear);
    const auto count = [](const std::vector<COLORREF>& pixels, COLORREF colour) {
        return std::count(pixels.begin(), pixels.end(), colour);
    };
    // Mostly background, some drawing (the items), nothing of the smear left.
    const auto all = static_cast<std::ptrdiff_t>(direct.size());
    EXPECT_TRUE(count(direct, kBackground) > all / 2);
    EXPECT_TRUE(count(direct, kBackground) < all);
    EXPECT_EQ(count(direct, kSmear), 0);
    EXPECT_TRUE(ErasesOnItsOwn(r.tree, kSmear));
    for (VARIANT_BOOL on : {VARIANT_TRUE, VARIANT_FALSE}) {
        SCOPED_TRACE(on ? "DoubleBuffered on" : "DoubleBuffered off again");
        EXPECT_HR(r->put_DoubleBuffered(on), S_OK);
        VARIANT_BOOL value = 7;
        EXPECT_HR(r->get_DoubleBuffered(&value), S_OK);
        EXPECT_EQ(value, on);
        EXPECT_EQ(ErasesOnItsOwn(r.tree, kSmear), !on);
        const std::vector<COLORREF> painted = Painted(r.tree, kSmear);
        EXPECT_EQ(count(painted, kSmear), 0);
        EXPECT_TRUE(painted == direct);
    }
}

// --- Active: the control whose form the focus entered last --------------------------------

void Active(Container& container) {
    HostedControl one(container), two(container);
    const auto active = [](HostedControl& r) {
        VARIANT_BOOL value = 7;
        EXPECT_HR(r->get_Active(&value), S_OK);
        return value;
    };
    struct {
        const char* step;
        HWND focus;
        VARIANT_BOOL first, second;
    } steps[] = {
        {"the container", container.frame, VARIANT_FALSE, VARIANT_FALSE},
        {"the first tree view", one.tree, VARIANT_TRUE, VARIANT_FALSE},
        {"the second tree view", two.tree, VARIANT_FALSE, VARIANT_TRUE},
        // Focus on a window of the host leaves the module's focused form as it was.
        {"the container again", container.frame, VARIANT_FALSE, VARIANT_TRUE},
        {"the first form", FormOf(one.control.Get()), VARIANT_TRUE, VARIANT_FALSE},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        SetFocus(s.focus);
        Pump();
        EXPECT_EQ(active(one), s.first);
        EXPECT_EQ(active(two), s.second);
    }
}

}  // namespace

int main() {
    Apartment apartment;
    InitCommonControls();
    RequireStandardScreen();
    Container container;
    RAMVEL_CASE("each property shows in the windows and reads back") { EveryProperty(container); }
    RAMVEL_CASE("switches, frame and reading order change in place") { InPlace(container); }
    RAMVEL_CASE("the tree's switches can be put, not read, late-bound") { PutOnlySwitches(container); }
    RAMVEL_CASE("the cursor shown over the tree view") { ShownCursor(container); }
    RAMVEL_CASE("a disabled control takes no clicks") { DisabledClicks(container); }
    RAMVEL_CASE("double-buffered painting draws the same picture") { DoubleBuffered(container); }
    RAMVEL_CASE("Active follows the focus between the module's forms") { Active(container); }
    return winecheck::Report();
}
