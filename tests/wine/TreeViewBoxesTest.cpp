// Message boxes of the control, found and closed by a watcher: node line warnings and the
// error box of a notification handler.
#include "TreeViewHarness.h"

using namespace treetest;

namespace {

std::string Describe(const std::vector<BoxSeen>& boxes) {
    std::string out;
    for (const auto& box : boxes) out += "[" + box.caption + " | " + winecheck::Quote(box.text) + " | " + box.icon + "] ";
    return out.empty() ? "(no box)" : out;
}

void ExpectBoxes(const std::vector<BoxSeen>& actual, const std::vector<BoxSeen>& expected, const char* file, int line) {
    winecheck::Check(actual == expected, file, line,
                     "message boxes\n    expected: " + Describe(expected) + "\n    actual:   " + Describe(actual));
}
#define EXPECT_BOXES(actual, ...) ExpectBoxes((actual), __VA_ARGS__, __FILE__, __LINE__)

void Warnings() {
    RAMVEL_CASE("node line warnings") {
        const BoxSeen missing{"Ramvel.ocx", "Ramvel WARNING:\nLevel 1 is incorrect.\n(no previous level)", "none"};
        const BoxSeen missingBlank{"Ramvel.ocx", "Ramvel WARNING:\nLevel  1 is incorrect.\n(no previous level)", "none"};
        const BoxSeen missingLevel2{"Ramvel.ocx", "Ramvel WARNING:\nLevel 2 is incorrect.\n(no previous level)", "none"};
        const BoxSeen unusable{"Ramvel.ocx", "Ramvel WARNING:\nAdd node with no valid parent.\n(no valid previous level)",
                               "none"};
        struct {
            const char* name;
            std::vector<std::u16string> batches;  // AddNodes calls, in order
            std::vector<int> deleteAfterFirst;    // node indexes deleted after the first batch
            std::vector<BoxSeen> boxes;
            int roots;
        } cases[] = {
            {"level 1 on a new control", {Lines({"1|X", "2|Y"})}, {}, {missing}, 1},
            {"level text with a blank", {Lines({" 1|X"})}, {}, {missingBlank}, 1},
            {"parent deleted", {Lines({"0|A", "1|B", "1|C", "2|D", "0|E"}), Lines({"3|F", "2|G"})}, {2},
             {unusable, missingLevel2}, 4},
            {"no warning", {Lines({"0|A", "1|B"})}, {}, {}, 1},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            BoxWatcher watcher;
            Host host;
            for (std::size_t i = 0; i < c.batches.size(); ++i) {
                host.control.AddNodes(c.batches[i]);
                if (i == 0)
                    for (int index : c.deleteAfterFirst) host.control.DeleteNode(index);
            }
            EXPECT_BOXES(watcher.Take(), c.boxes);
            EXPECT_EQ(SendMessageW(host.Tree(), TVM_GETCOUNT, 0, 0), c.roots);
            EXPECT_MIRROR(host);
        }
    }
}

void HandlerErrors() {
    RAMVEL_CASE("an open image that does not convert: error box, no event, images kept") {
        const BoxSeen error{"Ramvel", "'x' n'est pas une valeur enti\xC3\xA8re correcte.", "error"};
        BoxWatcher watcher;
        Host host;
        host.control.AddNodes(Lines({"0|bad|4,x", "1|child|6", "0|good|4,5"}));
        const NodeHandle bad = HandleAt(host, 0);

        // Opened on the way to a selection: the expansion's handler fails, the change goes on.
        host.control.GoToNode(1);
        EXPECT_BOXES(watcher.Take(), {error});
        EXPECT_SEQUENCE(host.sink->Take(), "OnChange 1 child");
        EXPECT_EQ(host.control.Tree().Find(bad)->image, 4);
        EXPECT_MIRROR(host);

        // Closed and opened again by the user (double clicks on its row).
        const POINT row = RowPoint(host, bad);
        PostClick(host.Tree(), WM_LBUTTONDBLCLK, WM_LBUTTONUP, row, MK_LBUTTON);
        EXPECT_BOXES(watcher.Take(), {});
        EXPECT_SEQUENCE(host.sink->Take(), "OnCollapsed 0 bad", "OnChange 0 bad", "OnDblClick");
        PostClick(host.Tree(), WM_LBUTTONDBLCLK, WM_LBUTTONUP, row, MK_LBUTTON);
        EXPECT_BOXES(watcher.Take(), {error});
        EXPECT_SEQUENCE(host.sink->Take(), "OnDblClick");
        EXPECT_MIRROR(host);
    }

    RAMVEL_CASE("the module's file name") {
        EXPECT_EQ(win32::ModuleFileName(GetModuleHandleW(L"kernel32.dll")), std::u16string(u"kernel32.dll"));
    }
}

}  // namespace

int main() {
    Watchdog watchdog(90000);
    Warnings();
    HandlerErrors();
    return winecheck::Report();
}
