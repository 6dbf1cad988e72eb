// A list of 100,000 siblings on the real tree view: the scroll bar, typing, the keys that
// jump and the thumb dragged by the mouse see every row, and the events are those of a small
// list.
#include "TreeViewHarness.h"

using namespace treetest;

namespace {

// A folder holding `count` rows, the last of them "Zeta last row", and a root after it.
std::u16string WideList(int count) {
    std::u16string lines = u"0\tFolder\t0,1";
    for (int row = 0; row + 1 < count; ++row) lines += u"\n1\tRow " + U16(std::to_string(row).c_str()) + u"\t2";
    return lines + u"\n1\tZeta last row\t2\n0\tAfter";
}

constexpr int kWide = 100000;

struct WideHost : Host {
    explicit WideHost(int count) {
        control.AddNodes(WideList(count));
        control.SetExpanded(HandleAt(*this, 0), true);
        control.GoToNode(1);
        sink->Take();
    }
};

std::uint32_t Rows(Host& host) { return VisibleRows(host.control.Tree()).Count(); }
int Page(Host& host) { return static_cast<int>(SendMessageW(host.Tree(), TVM_GETVISIBLECOUNT, 0, 0)); }
std::uint32_t TopRow(Host& host) {
    TreeModel& model = host.control.Tree();
    const HTREEITEM top = NextItem(host.Tree(), nullptr, TVGN_FIRSTVISIBLE);
    return VisibleRows(model).RowOf(*model.Find(ReadItem(host.Tree(), top).handle));
}

void Key(Host& host, WPARAM key) {
    PostMessageW(host.Tree(), WM_KEYDOWN, key, 1);
    PostMessageW(host.Tree(), WM_KEYUP, key, 0xC0000001);
    Pump();
}

void Type(Host& host, const char* text) {
    for (; *text; ++text) PostMessageW(host.Tree(), WM_CHAR, static_cast<WPARAM>(*text), 1);
    Pump();
}

void Wide() {
    RAMVEL_CASE("the scroll bar counts every row from the start") {
        WideHost host(kWide);
        EXPECT_EQ(Rows(host), static_cast<std::uint32_t>(kWide + 2));
        SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(host.Tree(), SB_VERT, &bar);
        EXPECT_EQ(bar.nMax, kWide + 1);
        EXPECT_EQ(static_cast<int>(bar.nPage), Page(host));
        EXPECT_MIRROR(host);
    }
    RAMVEL_CASE("typing reaches a row that has no item yet") {
        WideHost host(kWide);
        Type(host, "Z");
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 100000 Zeta last row");
        EXPECT_MIRROR(host);
        Sleep(TypeAhead::kPauseMs + 100);  // a new search, which wraps round to the top
        Type(host, "F");
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 0 Folder");
        EXPECT_MIRROR(host);
    }
    RAMVEL_CASE("End, Page Down and Home reach every row") {
        WideHost host(kWide);
        Key(host, VK_END);
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 100001 After");
        EXPECT_EQ(TopRow(host), Rows(host) - static_cast<std::uint32_t>(Page(host)));
        EXPECT_MIRROR(host);
        Key(host, VK_PRIOR);
        Key(host, VK_PRIOR);
        EXPECT_EQ(host.sink->Take().size(), 2u);
        EXPECT_MIRROR(host);
        Key(host, VK_HOME);
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 0 Folder");
        EXPECT_EQ(TopRow(host), 0u);
        for (int press = 0; press < 120; ++press) Key(host, VK_NEXT);
        EXPECT_EQ(host.sink->Take().size(), 120u);
        EXPECT_TRUE(TopRow(host) > 2000);  // well past the first window
        EXPECT_MIRROR(host);
    }
    RAMVEL_CASE("the thumb dragged to the bottom shows the last rows") {
        WideHost host(kWide);
        SCROLLBARINFO bar{sizeof bar};
        EXPECT_TRUE(GetScrollBarInfo(host.Tree(), OBJID_VSCROLL, &bar));
        // Screen points: the middle of the thumb, then the bar's lower end (further out, the
        // scroll bar would put the thumb back).
        const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
        const int thumbY = bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2;
        const int bottomY = bar.rcScrollBar.bottom - 1;
        INPUT inputs[4] = {};
        const auto mouse = [&](INPUT& input, DWORD flags, int py) {
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
            input.mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
            input.mi.dy = (py * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
        };
        mouse(inputs[0], 0, thumbY);
        mouse(inputs[1], MOUSEEVENTF_LEFTDOWN, thumbY);
        mouse(inputs[2], 0, bottomY);
        mouse(inputs[3], MOUSEEVENTF_LEFTUP, bottomY);
        // The press starts the scroll bar's own loop on this thread; the drag and the release
        // come from another thread meanwhile, as from the mouse.
        SendInput(2, inputs, sizeof inputs[0]);
        std::thread hand([&] {
            Sleep(200);
            SendInput(1, &inputs[2], sizeof inputs[0]);
            Sleep(200);
            SendInput(1, &inputs[3], sizeof inputs[0]);
        });
        for (const DWORD until = GetTickCount() + 1000; GetTickCount() < until;) Pump();
        hand.join();
        EXPECT_EQ(TopRow(host), Rows(host) - static_cast<std::uint32_t>(Page(host)));
        EXPECT_NO_EVENTS(host.sink->Take());
        EXPECT_MIRROR(host);
    }
    RAMVEL_CASE("keys, typing, clicks and opening give the events of a small list") {
        // The same input on a list of 100,000 and on one of 300, staying among the first rows.
        const auto play = [](int count) {
            WideHost host(count);
            for (WPARAM key : {VK_NEXT, VK_NEXT, VK_NEXT, VK_DOWN, VK_DOWN, VK_UP, VK_PRIOR}) Key(host, key);
            Type(host, "Row 1");
            Key(host, VK_LEFT);   // to the folder
            Key(host, VK_LEFT);   // closes it
            Key(host, VK_RIGHT);  // opens it again
            Key(host, VK_DOWN);
            PostClick(host.Tree(), WM_LBUTTONDOWN, WM_LBUTTONUP, RowPoint(host, HandleAt(host, 5)), MK_LBUTTON);
            EXPECT_MIRROR(host);
            return host.sink->Take();
        };
        const std::vector<std::string> wide = play(kWide), small = play(300);
        EXPECT_TRUE(wide.size() > 10);
        std::vector<const char*> expected;
        for (const std::string& line : small) expected.push_back(line.c_str());
        ExpectSequence(wide, expected, __FILE__, __LINE__);
    }
}

}  // namespace

int main() {
    Watchdog watchdog(120000);
    Wide();
    return winecheck::Report();
}
