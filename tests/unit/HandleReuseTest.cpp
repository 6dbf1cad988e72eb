// Handles past the last one: pages whose handles were all released are given again, oldest
// first, once the counter has passed 2^31-1; until then, and until its page comes round, a
// removed node's handle names nothing.
#include "TestSupport.h"

namespace ramvel::test {
namespace {

constexpr NodeHandle kLast = 0x7FFFFFFF;
constexpr auto kPage = static_cast<NodeHandle>(HandlePage::kSize);

NodeHandle HandleInInfo(std::u16string_view info) { return StrToInt(ExtractField(info, 2, kSOH)); }

// Adds `count` roots; returns the handle of the last.
NodeHandle AddRoots(TreeModel& tree, int count) {
    NodeHandle handle = 0;
    for (int i = 0; i < count; ++i) handle = tree.Add(0, u"n");
    return handle;
}

TEST(HandleReuse, PagesComeBackOldestFirstAfterTheLastHandle) {
    const NodeHandle first = kLast - 3 * kPage + 1;  // three pages left
    HandleTable table(first);
    TreeModel x(table), y(table);
    EXPECT_EQ(AddRoots(x, kPage), first + kPage - 1);
    const NodeHandle yFirst = y.Add(0, u"y");
    EXPECT_EQ(yFirst, first + kPage);
    AddRoots(y, kPage - 1);
    const NodeHandle lastPageFirst = x.Add(0, u"x");
    EXPECT_EQ(lastPageFirst, kLast - kPage + 1);

    y.Clear();  // the second page comes back first
    x.Clear();  // then the first; x goes on giving from the last
    for (NodeHandle stale : {first, yFirst, lastPageFirst}) {
        SCOPED_TRACE(stale);
        EXPECT_FALSE(x.Contains(stale));
        EXPECT_FALSE(y.Contains(stale));
    }

    EXPECT_EQ(AddRoots(x, kPage - 1), kLast);
    EXPECT_FALSE(x.Contains(first));
    const NodeHandle again = x.Add(0, u"again");
    EXPECT_EQ(again, yFirst) << "the page given back first is given first";
    EXPECT_TRUE(x.Contains(yFirst));
    EXPECT_FALSE(y.Contains(yFirst));
    EXPECT_FALSE(x.Contains(first)) << "the other page waits its turn";
    AddRoots(x, kPage - 1);
    EXPECT_EQ(x.Add(0, u"last page"), first);
    EXPECT_EQ(x.Count(), 2 * kPage);
}

TEST(HandleReuse, ATreeFallsBackOnItsOwnPagesWhenEveryPageIsHeld) {
    HandleTable table(kLast);  // one handle, then no page is left
    TreeModel holder(table), other(table);
    EXPECT_EQ(holder.Add(0, u"h"), kLast);
    // Every page the counter gave is held: a tree without pages gets no handle, and nothing changes.
    EXPECT_ERROR(other.Add(0, u"o"), kEUnexpected, u"No node handle is left for a new node");
    EXPECT_EQ(other.Count(), 0);
    // The holder's page still has free handles: those it had not given yet come first.
    EXPECT_EQ(holder.Add(0, u"h2"), kLast - kPage + 1);
    EXPECT_TRUE(holder.Contains(kLast));
    EXPECT_EQ(holder.Count(), 2);
}

// Every member that adds nodes, past the last handle: the node it adds is named by a reused
// handle, a removed node's handle is refused until then, and live nodes keep theirs.
TEST(HandleReuse, EveryMemberThatAddsGoesOnPastTheLastHandle) {
    struct Case {
        const char* member;
        // Adds one node with `root` in the tree; returns its handle.
        std::function<NodeHandle(TMyRamvel&, NodeHandle root)> add;
    } cases[] = {
        {"AddNodes", [](TMyRamvel& c, NodeHandle) {
             c.AddNodes(u"0\tnew");
             return c.Tree().At(c.Tree().Count() - 1).handle;
         }},
        {"AddAfterNode -1", [](TMyRamvel& c, NodeHandle) {
             c.AddAfterNode(-1, u"0\tnew");
             return c.Tree().At(c.Tree().Count() - 1).handle;
         }},
        {"AddAfterNode", [](TMyRamvel& c, NodeHandle) {
             return HandleInInfo(c.AddAfterNode(0, u"1\tnew"));
         }},
        {"AddAfterCurrentNode", [](TMyRamvel& c, NodeHandle root) {
             c.storeHNode(root);
             c.AddAfterCurrentNode(u"1\tnew");
             return c.LastChild(root);
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.member);
        // One handle of the page before the last, then the last page.
        HandleTable table(kLast - kPage);
        RecordingMessageBox box;
        FakeFiles files;
        TMyRamvel control{box, u"Ramvel.ocx", table};
        FakeTreeWidget widget{control};
        WireToDoubles(control, widget, files, std::make_shared<RecordingSink>());

        control.AddNodes(u"0\tR");
        const NodeHandle root = control.Tree().At(0).handle;
        EXPECT_EQ(root, kLast - kPage);
        // Most of the last page in one batch, under S; then the member takes the last handle.
        std::u16string lines = u"0\tS";
        for (NodeHandle i = 0; i < kPage - 2; ++i) lines += u"\n1\tx";
        control.AddNodes(lines);
        const NodeHandle s = control.Tree().At(1).handle;
        EXPECT_EQ(s, kLast - kPage + 1);
        const NodeHandle last = test.add(control, root);
        EXPECT_EQ(last, kLast);

        control.DeleteHNode(s);
        control.DeleteHNode(last);
        for (NodeHandle stale : {s, last})
            EXPECT_ERROR(control.GethNode(stale), kEUnexpected, u"Invalid node handle " + IntToStr(stale));

        // No handle is left to count: the page given back is given again, from its start.
        const NodeHandle reused = test.add(control, root);
        EXPECT_EQ(reused, s);
        EXPECT_EQ(HandleInInfo(control.GethNode(reused)), reused);
        EXPECT_EQ(Show(control.Tree().Find(reused)->Text()), "new");
        EXPECT_ERROR(control.GethNode(last), kEUnexpected, u"Invalid node handle " + IntToStr(last));
        EXPECT_EQ(HandleInInfo(control.GethNode(root)), root);
        EXPECT_EQ(control.Tree().Count(), 2);
        control.Clear();
    }
}

}  // namespace
}  // namespace ramvel::test
