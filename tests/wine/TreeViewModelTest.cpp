// The tree view as a view of the model: a window of items over big trees, edits, deletions,
// and hosts that change the tree from inside events.
#include "TreeViewHarness.h"

using namespace treetest;

namespace {

int Items(Host& host) { return host.View().ItemCount(); }

// 1,000 roots with 99 children each: 100,000 nodes.
std::u16string BigTree() {
    std::u16string lines;
    for (int root = 0; root < 1000; ++root) {
        lines += u"0\tP" + std::u16string(1, static_cast<char16_t>(u'0' + root % 10)) + u"\t0,1";
        for (int child = 0; child < 99; ++child) lines += u"\n1\tc\t2";
        if (root < 999) lines += u'\n';
    }
    return lines;
}

void Lazy() {
    RAMVEL_CASE("100,000 nodes under 1,000 closed parents: items only for the window") {
        Host host;
        host.control.AddNodes(BigTree());
        EXPECT_EQ(host.control.ChildrenNumber(0), 100000);
        EXPECT_TRUE(Items(host) <= 1000);
        EXPECT_MIRROR(host);
        host.control.SetExpanded(HandleAt(host, 500 * 100), true);  // root 500
        EXPECT_SEQUENCE(host.sink->Take(), "OnExpanded 50000 P0");
        EXPECT_MIRROR(host);
        host.control.GoToNode(900 * 100 + 5);  // a hidden child of root 900
        EXPECT_SEQUENCE(host.sink->Take(), "OnExpanded 90000 P0", "OnChange 90005 c");
        EXPECT_TRUE(Items(host) <= 1000);
        EXPECT_MIRROR(host);
        host.control.Clear();
        EXPECT_EQ(Items(host), 0);
        EXPECT_MIRROR(host);
    }
}

// `count` roots, every tenth with two children.
std::u16string ManyRoots(int count) {
    std::u16string lines;
    for (int root = 0; root < count; ++root) {
        if (root) lines += u'\n';
        lines += u"0\tR" + U16(std::to_string(root).c_str()) + u"\t0,1";
        if (root % 10 == 0) lines += u"\n1\tc\t2\n1\td\t2";
    }
    return lines;
}

// Index of root `root` in a ManyRoots tree.
int RootIndex(int root) { return root + 2 * ((root + 9) / 10); }

// The row at the top of the view.
std::uint32_t TopRow(Host& host) {
    const HTREEITEM top = NextItem(host.Tree(), nullptr, TVGN_FIRSTVISIBLE);
    TreeModel& model = host.control.Tree();
    return VisibleRows(model).RowOf(*model.Find(ReadItem(host.Tree(), top).handle));
}

void ManyRootsCome() {
    RAMVEL_CASE("25,000 roots: the window follows the view, the bar counts every row") {
        Host host;
        host.control.AddNodes(ManyRoots(25000));
        EXPECT_MIRROR(host);
        SendMessageW(host.Tree(), WM_VSCROLL, SB_BOTTOM, 0);
        EXPECT_EQ(TopRow(host), 25000 - SendMessageW(host.Tree(), TVM_GETVISIBLECOUNT, 0, 0));
        EXPECT_MIRROR(host);
        SendMessageW(host.Tree(), WM_VSCROLL, SB_PAGEUP, 0);
        SendMessageW(host.Tree(), WM_VSCROLL, SB_LINEUP, 0);
        EXPECT_EQ(TopRow(host), 25000 - 2 * SendMessageW(host.Tree(), TVM_GETVISIBLECOUNT, 0, 0) - 1);
        EXPECT_MIRROR(host);
        host.control.Clear();
        EXPECT_EQ(Items(host), 0);
        host.control.AddNodes(ManyRoots(12000));
        EXPECT_EQ(TopRow(host), 0u);  // a new tree starts at the top
        EXPECT_MIRROR(host);
    }
    RAMVEL_CASE("a node under a root far down: the window goes there") {
        Host host;
        host.control.AddNodes(ManyRoots(25000));
        host.control.GoToNode(RootIndex(24990) + 2);  // the second child of root 24,990
        EXPECT_SEQUENCE(host.sink->Take(), "OnExpanded 29988 R24990", "OnChange 29990 d");
        EXPECT_MIRROR(host);
    }
    RAMVEL_CASE("End, the wheel and Page Down reach rows without items") {
        Host host;
        host.control.AddNodes(ManyRoots(25000));
        host.control.GoToNode(0);
        host.sink->Take();
        PostMessageW(host.Tree(), WM_KEYDOWN, VK_END, 1);
        Pump();
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 29999 R24999");
        EXPECT_MIRROR(host);

        host.control.Clear();
        host.control.AddNodes(ManyRoots(25000));
        for (int turn = 0; turn < 500; ++turn) SendMessageW(host.Tree(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
        EXPECT_TRUE(TopRow(host) >= 1000);  // well past the first window
        EXPECT_MIRROR(host);

        host.control.Clear();
        host.control.AddNodes(ManyRoots(25000));
        host.control.GoToNode(0);
        host.sink->Take();
        for (int page = 0; page < 100; ++page) SendMessageW(host.Tree(), WM_KEYDOWN, VK_NEXT, 1);
        host.sink->Take();
        const auto page = static_cast<std::uint32_t>(SendMessageW(host.Tree(), TVM_GETVISIBLECOUNT, 0, 0));
        const Node& caret = host.control.Tree().Get(host.control.GethSelectedNode());
        EXPECT_TRUE(VisibleRows(host.control.Tree()).RowOf(caret) >= 100 * (page - 1));
        EXPECT_MIRROR(host);
    }
    RAMVEL_CASE("deleting rows: the window closes the gap") {
        Host host;
        host.control.AddNodes(ManyRoots(25000));
        const NodeHandle inView = HandleAt(host, RootIndex(3));
        const NodeHandle middle = HandleAt(host, RootIndex(500));  // with two children
        const NodeHandle farDown = HandleAt(host, RootIndex(19997));
        host.control.DeleteHNode(inView);
        EXPECT_MIRROR(host);
        host.control.DeleteHNode(middle);
        EXPECT_MIRROR(host);
        host.control.DeleteHNode(farDown);
        EXPECT_EQ(host.control.ChildrenNumber(0), 30000 - 5);
        EXPECT_MIRROR(host);
    }
}

void Edits() {
    RAMVEL_CASE("edits reach the items that exist, and the rest when they appear") {
        Host host;
        host.control.AddNodes(Lines({"0|A|0,1", "1|A1|2", "0|B|3", "1|B1|4"}));
        host.control.SetExpanded(HandleAt(host, 0), true);
        host.sink->Take();
        struct {
            const char* name;
            std::function<void()> act;
            int items;
        } steps[] = {
            {"child added to an open node", [&] { host.control.AddAfterNode(1, U16("1\tA2\t5\t6\t3\tdata")); }, 4},
            {"child added to a closed node", [&] { host.control.AddAfterNode(3, U16("1\tB2\t5")); }, 4},
            {"open node's child rewritten", [&] { host.control.ChangeNode(2, U16("1\tA2'\t7\t$8\t15")); }, 4},
            {"hidden node rewritten", [&] { host.control.ChangeNode(5, U16("1\tB1'\t9\t\t2")); }, 4},
            {"closed node opened", [&] { host.control.SetExpanded(HandleAt(host, 3), true); }, 6},
            {"open node's children deleted", [&] {
                 host.control.DeleteNode(2);
                 host.control.DeleteNode(1);
             }, 4},
            {"child added to the emptied node", [&] { host.control.AddAfterNode(0, U16("1\tA3")); }, 4},
            {"emptied node opened again", [&] { host.control.SetExpanded(HandleAt(host, 0), true); }, 5},
            {"root deleted", [&] { host.control.DeleteNode(0); }, 3},
            {"state images out of range", [&] { host.control.ChangeNode(0, U16("0\tB\t3\t-1\t16")); }, 3},
        };
        for (const auto& step : steps) {
            SCOPED_TRACE(step.name);
            step.act();
            EXPECT_EQ(Items(host), step.items);
            EXPECT_MIRROR(host);
        }
    }

    RAMVEL_CASE("deleting the selected node: the tree view's new caret is reported once") {
        Host host;
        host.control.AddNodes(Lines({"0|A", "0|B", "0|C"}));
        host.control.GoToNode(1);
        host.sink->Take();
        host.control.DeleteNode(1);
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 1 C");
        EXPECT_MIRROR(host);
        host.control.Clear();
        EXPECT_NO_EVENTS(host.sink->Take());
        EXPECT_EQ(host.control.GethSelectedNode(), 0);
        EXPECT_MIRROR(host);
    }
}

void Reentry() {
    RAMVEL_CASE("hosts that change the tree from inside events") {
        struct {
            const char* name;
            EventId when;
            bool clear;  // else delete the node the event names
            std::function<void(Host&)> act;
        } cases[] = {
            {"delete the node being selected", EventId::OnChange, false, [](Host& h) { h.control.GoToNode(3); }},
            {"clear while selecting", EventId::OnChange, true, [](Host& h) { h.control.GoToNode(3); }},
            {"delete the node being opened", EventId::OnExpanded, false, [](Host& h) { h.control.GoToNode(3); }},
            {"clear while opening", EventId::OnExpanded, true, [](Host& h) { h.control.GoToNode(3); }},
            {"clear on a right click", EventId::OnChange, true,
             [](Host& h) {
                 PostClick(h.Tree(), WM_RBUTTONDOWN, WM_RBUTTONUP, RowPoint(h, HandleAt(h, 4)), MK_RBUTTON);
             }},
            {"delete on a double click", EventId::OnExpanded, false,
             [](Host& h) {
                 PostClick(h.Tree(), WM_LBUTTONDBLCLK, WM_LBUTTONUP, RowPoint(h, HandleAt(h, 4)), MK_LBUTTON);
             }},
            {"clear on a key", EventId::OnKeyPress, true,
             [](Host& h) {
                 PostMessageW(h.Tree(), WM_CHAR, 13, 1);
                 Pump();
             }},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            Host host;
            host.control.AddNodes(Lines({"0|A|0,1", "1|A1|2,3", "2|A1a|4", "3|A1a-x|6", "0|B", "1|B1"}));
            bool acted = false;
            host.sink->onEvent = [&](EventId id, const std::u16string& text) {
                if (id != c.when || acted) return;
                acted = true;
                if (c.clear) {
                    host.control.Clear();
                } else {
                    host.control.DeleteHNode(std::stoi(Narrow(ExtractField(text, 2, kSOH))));
                }
            };
            c.act(host);
            EXPECT_TRUE(acted);
            host.sink->onEvent = nullptr;
            EXPECT_MIRROR(host);
            // The control goes on working afterwards.
            host.control.AddNodes(Lines({"0|Z", "1|Z1"}));
            host.control.GoToNode(host.control.ChildrenNumber(0) - 1);
            EXPECT_MIRROR(host);
        }
    }
}

}  // namespace

int main() {
    Watchdog watchdog(120000);
    Lazy();
    ManyRootsCome();
    Edits();
    Reentry();
    return winecheck::Report();
}
