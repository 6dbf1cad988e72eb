// Tree events through the real tree view: selections, expansions, mouse and keys, each
// sequence compared with its expected table.
#include "TreeViewHarness.h"

using namespace treetest;

namespace {

// Levels 0 to 3; image specs with an open image on the branches.
const std::u16string kSample = Lines({
    "0|A|0,1|-1||a",  // 0
    "1|A1|2,3",       // 1
    "2|A1a|4,5",      // 2
    "3|A1a-x|6",      // 3
    "2|A1b|6",        // 4
    "1|A2|6",         // 5
    "0|B|0,1",        // 6
    "1|B1|6",         // 7
});

void Selections() {
    RAMVEL_CASE("selecting a hidden node opens its ancestors, then reports the change") {
        Host host;
        host.control.AddNodes(kSample);
        EXPECT_NO_EVENTS(host.sink->Take());
        EXPECT_EQ(SendMessageW(host.Tree(), TVM_GETCOUNT, 0, 0), 2);  // only the roots so far

        host.control.GoToNode(3);
        EXPECT_SEQUENCE(host.sink->Take(), "OnExpanded 0 A", "OnExpanded 1 A1", "OnExpanded 2 A1a", "OnChange 3 A1a-x");
        EXPECT_TRUE(host.control.GetExpanded(HandleAt(host, 0)));
        EXPECT_MIRROR(host);

        host.control.GoToNode(3);  // already selected: nothing
        EXPECT_NO_EVENTS(host.sink->Take());
        host.control.GoToNode(5);  // visible: no expansion
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 5 A2");
        EXPECT_MIRROR(host);
    }
}

void Expansions() {
    RAMVEL_CASE("Expanded put reports through the handlers only, once per put") {
        Host host;
        host.control.AddNodes(kSample);
        const NodeHandle b = HandleAt(host, 6);
        struct {
            const char* name;
            NodeHandle node;
            bool open;
            std::vector<std::string> expected;
            bool openAfter;
        } cases[] = {
            {"open B", b, true, {"OnExpanded 6 B"}, true},
            {"open B again", b, true, {"OnExpanded 6 B"}, true},
            {"close B", b, false, {"OnCollapsed 6 B"}, false},
            {"open the leaf B1", HandleAt(host, 7), true, {}, false},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            host.control.SetExpanded(c.node, c.open);
            std::vector<const char*> expected;
            for (const auto& line : c.expected) expected.push_back(line.c_str());
            ExpectSequence(host.sink->Take(), expected, __FILE__, __LINE__);
            EXPECT_EQ(host.control.GetExpanded(c.node), c.openAfter);
            EXPECT_MIRROR(host);
        }
        // Opened once, B holds its child's item.
        EXPECT_EQ(SendMessageW(host.Tree(), TVM_GETCOUNT, 0, 0), 3);
    }

    RAMVEL_CASE("closing a branch that holds the selection reports the caret's move") {
        Host host;
        host.control.AddNodes(kSample);
        host.control.GoToNode(2);
        host.sink->Take();
        host.control.SetExpanded(HandleAt(host, 0), false);
        EXPECT_SEQUENCE(host.sink->Take(), "OnCollapsed 0 A", "OnChange 0 A");
        EXPECT_MIRROR(host);
    }
}

void Mouse() {
    RAMVEL_CASE("posted right clicks: on another node, on the selected node, below the rows") {
        Host host;
        host.control.AddNodes(kSample);
        host.control.GoToNode(3);
        host.sink->Take();
        const POINT a2 = RowPoint(host, HandleAt(host, 5));
        PostClick(host.Tree(), WM_RBUTTONDOWN, WM_RBUTTONUP, a2, MK_RBUTTON);
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 5 A2", "OnChange 5 A2", "OnRightClick 5 A2");
        PostClick(host.Tree(), WM_RBUTTONDOWN, WM_RBUTTONUP, a2, MK_RBUTTON);
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 5 A2", "OnRightClick 5 A2");
        PostClick(host.Tree(), WM_RBUTTONDOWN, WM_RBUTTONUP, POINT{10, 300}, MK_RBUTTON);
        EXPECT_SEQUENCE(host.sink->Take(), "OnRightClick MOUSE,10,300");
        EXPECT_EQ(host.control.GethSelectedNode(), HandleAt(host, 5));
        EXPECT_MIRROR(host);
    }

    RAMVEL_CASE("right double click runs the right click twice; middle click raises nothing") {
        Host host;
        host.control.AddNodes(kSample);
        const POINT b = RowPoint(host, HandleAt(host, 6));
        PostMessageW(host.Tree(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(b.x, b.y));
        PostMessageW(host.Tree(), WM_RBUTTONUP, 0, MAKELPARAM(b.x, b.y));
        PostClick(host.Tree(), WM_RBUTTONDBLCLK, WM_RBUTTONUP, b, MK_RBUTTON);
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 6 B", "OnChange 6 B", "OnRightClick 6 B", "OnChange 6 B",
                        "OnRightClick 6 B");
        PostClick(host.Tree(), WM_MBUTTONDOWN, WM_MBUTTONUP, RowPoint(host, HandleAt(host, 0)), MK_MBUTTON);
        EXPECT_NO_EVENTS(host.sink->Take());
    }

    RAMVEL_CASE("left double click on a closed node with children: expanded, then the double click") {
        Host host;
        host.control.AddNodes(kSample);
        host.control.GoToNode(6);
        host.sink->Take();
        PostClick(host.Tree(), WM_LBUTTONDBLCLK, WM_LBUTTONUP, RowPoint(host, HandleAt(host, 6)), MK_LBUTTON);
        EXPECT_SEQUENCE(host.sink->Take(), "OnExpanded 6 B", "OnDblClick");
        EXPECT_TRUE(host.control.GetExpanded(HandleAt(host, 6)));
        EXPECT_MIRROR(host);
        // A left click on another row moves the selection; the click itself raises nothing.
        PostClick(host.Tree(), WM_LBUTTONDOWN, WM_LBUTTONUP, RowPoint(host, HandleAt(host, 7)), MK_LBUTTON);
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 7 B1");
    }

    RAMVEL_CASE("real input: right button through SendInput") {
        Host host;
        host.control.AddNodes(kSample);
        POINT point = RowPoint(host, HandleAt(host, 6));
        ClientToScreen(host.Tree(), &point);
        SetCursorPos(point.x, point.y);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        EXPECT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
        // Real input arrives through the X server: pump until it is handled (the watchdog
        // ends a test that never sees it).
        while (host.sink->lines.size() < 3) {
            Pump();
            Sleep(5);
        }
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 6 B", "OnChange 6 B", "OnRightClick 6 B");
    }
}

// The character's effect on a tree view: the selected item's text afterwards.
std::u16string SelectedText(HWND tree) {
    const HTREEITEM caret = NextItem(tree, nullptr, TVGN_CARET);
    return caret ? ReadItem(tree, caret).text : std::u16string();
}

// Records the characters that reach the tree view's own window procedure, below every
// subclass: installed as the class procedure before the control's tree view is made.
class CharacterRecorder {
public:
    CharacterRecorder() {
        HWND probe = CreateWindowExW(0, WC_TREEVIEWW, L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        original_ = reinterpret_cast<WNDPROC>(SetClassLongPtrW(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        DestroyWindow(probe);
    }
    ~CharacterRecorder() {
        HWND probe = CreateWindowExW(0, WC_TREEVIEWW, L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetClassLongPtrW(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        DestroyWindow(probe);
    }
    static std::vector<int> Take() { return std::exchange(seen_, {}); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CHAR) seen_.push_back(static_cast<int>(wParam));
        return CallWindowProcW(original_, window, message, wParam, lParam);
    }
    static inline WNDPROC original_ = nullptr;
    static inline std::vector<int> seen_;
};

void Keys() {
    // Letters select through the control's own search, which sees every row, so no character
    // reaches the tree view's.
    RAMVEL_CASE("typed characters: control characters are reported and kept from the tree view") {
        struct {
            const char* name;
            wchar_t character;
            std::vector<std::string> events;
            std::vector<int> reachesTree;
            const char16_t* selectedAfter;  // the incremental search moves on letters
        } cases[] = {
            {"Enter", 13, {"OnKeyPress 13"}, {}, u"first"},
            {"Backspace", 8, {"OnKeyPress 8"}, {}, u"first"},
            {"Escape", 27, {"OnKeyPress 27"}, {}, u"first"},
            {"letter a", 'a', {"OnChange 1 apple"}, {}, u"apple"},
            {"space", ' ', {}, {}, u"first"},
        };
        CharacterRecorder recorder;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            Host host;  // a fresh tree view: no search text left from the case before
            host.control.AddNodes(Lines({"0|first", "0|apple", "0|zebra"}));
            host.control.GoToNode(0);
            host.sink->Take();
            CharacterRecorder::Take();
            PostMessageW(host.Tree(), WM_CHAR, c.character, 1);
            Pump();
            EXPECT_TRUE(CharacterRecorder::Take() == c.reachesTree);
            EXPECT_EQ(SelectedText(host.Tree()), std::u16string(c.selectedAfter));
            std::vector<const char*> expected;
            for (const auto& line : c.events) expected.push_back(line.c_str());
            ExpectSequence(host.sink->Take(), expected, __FILE__, __LINE__);
        }
    }

    RAMVEL_CASE("without a sink, control characters are still kept from the tree view") {
        CharacterRecorder recorder;
        Host host(false);
        host.control.AddNodes(Lines({"0|first"}));
        CharacterRecorder::Take();
        PostMessageW(host.Tree(), WM_CHAR, 13, 1);
        PostMessageW(host.Tree(), WM_CHAR, 'f', 1);
        Pump();
        EXPECT_TRUE(CharacterRecorder::Take().empty());
        EXPECT_NO_EVENTS(host.sink->Take());
    }
}

}  // namespace

int main() {
    Watchdog watchdog(90000);
    Selections();
    Expansions();
    Mouse();
    Keys();
    return winecheck::Report();
}
