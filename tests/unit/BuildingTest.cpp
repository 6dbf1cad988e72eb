// AddNodes and its level table, the anchored additions, edits, deletions and batches.
#include "TestSupport.h"
#include "control/Fields.h"

namespace ramvel::test {
namespace {

const std::u16string kNotInteger = u"' n'est pas une valeur enti\u00e8re correcte";

std::u16string MissingParent(std::u16string_view level) {
    return u"Ramvel WARNING:\nLevel " + std::u16string(level) + u" is incorrect.\n(no previous level)";
}
const std::u16string kUnusableParent = u"Ramvel WARNING:\nAdd node with no valid parent.\n(no valid previous level)";

class Building : public ControlTest {
protected:
    // "text(child,child)" outline of the whole tree, for comparing shapes at a glance.
    std::string Outline() {
        std::string out;
        const TreeModel& tree = control.Tree();
        auto walk = [&](auto&& self, NodeHandle first) -> void {
            for (NodeHandle n = first; n != 0; n = tree.NextSibling(*tree.Find(n))) {
                if (n != first) out += ",";
                const Node& node = *tree.Find(n);
                out += Show(node.Text());
                if (node.childCount) {
                    out += "(";
                    self(self, tree.FirstChild(node));
                    out += ")";
                }
            }
        };
        walk(walk, tree.FirstRoot());
        return out;
    }
    std::string Entry(int level) {
        const Node* node = control.Tree().Find(Module().levelTable.At(level));
        return node ? Show(node->Text()) : "-";
    }
    std::vector<ShownBox> Warnings(std::initializer_list<std::u16string> texts) {
        std::vector<ShownBox> boxes;
        for (const auto& text : texts) boxes.push_back({u"Ramvel.ocx", text, MessageIcon::None});
        return boxes;
    }
};

TEST_F(Building, LevelsPlaceLinesUnderTheLastNodeOneLevelUp) {
    control.AddNodes(u"0\tA\n1\tB\n1\tC\n2\tD\n0\tE");
    EXPECT_EQ(Outline(), "A(B,C(D)),E");
    EXPECT_EQ(Entry(1), "E");
    EXPECT_EQ(Entry(2), "C");
    EXPECT_EQ(Entry(3), "D");
    EXPECT_TRUE(messageBox.boxes.empty());
    EXPECT_TRUE(control.GetTreeRefresh());
    EXPECT_EQ(control.UpdateCount(), 0);
    EXPECT_TRUE(widget.redrawOn);
}

TEST_F(Building, MissingParentWarnsAndPlacesAtRoot) {
    control.AddNodes(u"1\tOrphan\n2\tChild");
    EXPECT_EQ(Outline(), "Orphan(Child)");
    EXPECT_EQ(messageBox.boxes, Warnings({MissingParent(u"1")}));
    EXPECT_EQ(Entry(2), "Orphan");
}

TEST_F(Building, LevelTextIsQuotedAsGiven) {
    control.AddNodes(u" 1\tA");
    EXPECT_EQ(messageBox.boxes, Warnings({MissingParent(u" 1")}));
    EXPECT_ERROR(control.AddNodes(u"1 \tB"), kEUnexpected, u"'1 " + kNotInteger);
    EXPECT_EQ(Outline(), "A");
}

TEST_F(Building, LevelsOutsideTheTableWarnAndTouchNoEntry) {
    control.AddNodes(u"0\tA");
    control.AddNodes(u"201\tDeep\n-1\tNegative\n00\tZero\n1\tUnderZero");
    EXPECT_EQ(Outline(), "A,Deep,Negative,Zero(UnderZero)");
    EXPECT_EQ(messageBox.boxes, Warnings({MissingParent(u"201"), MissingParent(u"-1")}));
    EXPECT_EQ(Entry(1), "Zero");
}

TEST_F(Building, DeepestLevelFillsTheLastEntry) {
    std::u16string lines = u"0\tL0";
    for (int level = 1; level <= 200; ++level) lines += u"\n" + IntToStr(level) + u"\tL" + IntToStr(level);
    control.AddNodes(lines);
    EXPECT_TRUE(messageBox.boxes.empty());
    int depth = 0;
    for (NodeHandle up = control.Tree().Parent(*control.Tree().Find(HandleAt(200))); up != 0;
         up = control.Tree().Parent(*control.Tree().Find(up)))
        ++depth;
    EXPECT_EQ(depth, 200);
    EXPECT_EQ(Entry(201), "L200");
}

TEST_F(Building, TrailingLineFeedFailsAfterAddingEveryLine) {
    EXPECT_ERROR(control.AddNodes(u"0\tA\n1\tB\n"), kEUnexpected, u"'" + kNotInteger);
    EXPECT_EQ(Outline(), "A(B)");
    EXPECT_ERROR(control.AddNodes(u""), kEUnexpected, u"'" + kNotInteger);
    EXPECT_EQ(control.Tree().Count(), 2);
}

TEST_F(Building, FailingBatchClosesItself) {
    EXPECT_ERROR(control.AddNodes(u"0\tA\nbad"), kEUnexpected, u"'bad" + kNotInteger);
    EXPECT_TRUE(control.GetTreeRefresh());
    EXPECT_EQ(control.UpdateCount(), 0);
    EXPECT_TRUE(widget.redrawOn);
}

TEST_F(Building, CarriageReturnStaysInTheLastField) {
    control.AddNodes(u"0\tA\r\n1\tB\r");
    EXPECT_EQ(Show(NodeAt(0).Text()), "A\r");
    EXPECT_EQ(Show(NodeAt(1).Text()), "B\r");
}

TEST_F(Building, AddNodesInsideHostBracketLeavesTheBracketOpen) {
    control.SetTreeRefresh(false);
    control.AddNodes(u"0\tA");
    EXPECT_FALSE(control.GetTreeRefresh());
    EXPECT_EQ(control.UpdateCount(), 1);
    control.SetTreeRefresh(true);
    EXPECT_TRUE(control.GetTreeRefresh());
    EXPECT_TRUE(widget.redrawOn);
}

TEST_F(Building, AddAfterNodePlacementByRecordedLevel) {
    struct {
        std::u16string_view line;
        std::string outline;
    } cases[] = {
        {u"1\tN", "R(A(X),B,N)"},     // same recorded level as the anchor A: end of A's siblings
        {u"2\tN", "R(A(X,N),B)"},     // higher: last child of the anchor
        {u"0\tN", "R(A(X),B),N"},     // 0: last root
        {u"00\tN", "R(A(X),B),N"},
        {u"5\tN", "R(A(X,N),B)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.line));
        control.Clear();
        control.AddNodes(u"0\tR\n1\tA\n2\tX\n1\tB");
        const std::u16string reply = control.AddAfterNode(1, c.line);
        EXPECT_EQ(Outline(), c.outline);
        EXPECT_EQ(reply[0], kSOH);
        EXPECT_EQ(Show(ExtractField(reply, 3, kSOH)), Show(std::u16string(ExtractField(c.line, 1, kTAB)) + u"\tN\t\t-1\t-1\t"));
        EXPECT_TRUE(control.Tree().Contains(HandleIn(reply)));
    }
}

TEST_F(Building, AddAfterNodeLowerLevelMakesChildOfAnchorToo) {
    control.AddNodes(u"0\tR\n1\tA\n2\tX");
    control.AddAfterNode(2, u"1\tN");  // anchor X has recorded level 2
    EXPECT_EQ(Outline(), "R(A(X(N)))");
}

TEST_F(Building, AddAfterNodeComparesRecordedNotTreeLevel) {
    control.AddNodes(u"0\tR\n1\tA");
    control.ChangeNode(1, u"7\tA");  // recorded level 7, tree level 1
    control.AddAfterNode(1, u"7\tN");
    EXPECT_EQ(Outline(), "R(A,N)");
    control.ChangeNode(1, u"x\tA");
    EXPECT_ERROR(control.AddAfterNode(1, u"1\tM"), kEUnexpected, u"'x" + kNotInteger);
    EXPECT_EQ(Outline(), "R(A,N)");
}

TEST_F(Building, AddAfterNodeMinusOneOrEmptyTreeGoesThroughAddNodes) {
    const std::u16string first = control.AddAfterNode(5, u"0\tFirst\n1\tSub");
    EXPECT_EQ(Show(first), Show(Info(0, HandleAt(0), u"0\tFirst\t\t-1\t-1\t")));
    const std::u16string second = control.AddAfterNode(-1, u"0\tSecond\n1\tSub2");
    EXPECT_EQ(Show(second), Show(first));
    EXPECT_EQ(Outline(), "First(Sub),Second(Sub2)");
}

TEST_F(Building, AddAfterNodeTakesItsLineWhole) {
    control.AddNodes(u"0\tR");
    control.AddAfterNode(0, u"1\tTwo\nlines");
    EXPECT_EQ(Outline(), "R(Two<LF>lines)");
}

TEST_F(Building, AddAfterNodeFailuresChangeNothing) {
    control.AddNodes(u"0\tR");
    EXPECT_ERROR(control.AddAfterNode(1, u"x\tN"), kEUnexpected, kIndexIncorrect);  // anchor before level
    EXPECT_ERROR(control.AddAfterNode(0, u"x\tN"), kEUnexpected, u"'x" + kNotInteger);
    EXPECT_EQ(Outline(), "R");
}

TEST_F(Building, AddAfterCurrentNodeUsesOnlyALiveStoredNodeOfThisTree) {
    control.AddNodes(u"0\tR\n1\tA");
    control.AddAfterCurrentNode(u"1\tNoStored");
    control.storeHNode(HandleAt(1));
    control.AddAfterCurrentNode(u"1\tSibling");
    control.AddAfterCurrentNode(u"2\tChild");
    control.AddAfterCurrentNode(u"0\tRoot");
    EXPECT_EQ(Outline(), "R(A(Child),Sibling),NoStored,Root");

    control.DeleteNode(1);  // the stored node goes
    control.AddAfterCurrentNode(u"2\tAfterDelete");
    EXPECT_EQ(Outline(), "R(Sibling),NoStored,Root,AfterDelete");
    EXPECT_EQ(Module().storedNode != 0, true);
}

TEST_F(Building, StoredNodeIsSharedByControlsButAnchorsOnlyInItsOwnTree) {
    FakeTreeWidget* otherWidget;
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeTreeWidget w(other);
    otherWidget = &w;
    other.AttachWidget(*otherWidget);
    other.FormCreate();
    other.AddNodes(u"0\tOtherRoot");
    control.AddNodes(u"0\tR");
    other.storeHNode(other.Tree().At(0).handle);
    control.AddAfterCurrentNode(u"1\tN");  // stored node is the other tree's: root here
    EXPECT_EQ(Outline(), "R,N");
    EXPECT_EQ(other.Tree().Count(), 1);
}

TEST_F(Building, AddAfterCurrentNodeOnEmptyTreeAddsEveryLine) {
    control.AddAfterCurrentNode(u"0\tA\n1\tB");
    EXPECT_EQ(Outline(), "A(B)");
}

TEST_F(Building, ChangeNodeRewritesTextImagesAndRecordInPlace) {
    control.AddNodes(u"0\tR\t3\t4\t5\tdata\n1\tC");
    const NodeHandle h = HandleAt(0);
    control.ChangeNode(0, u"9\tNew");
    const Node& node = NodeAt(0);
    EXPECT_EQ(node.handle, h);
    EXPECT_EQ(Show(node.Text()), "New");
    EXPECT_EQ(node.image, 3);
    EXPECT_EQ(node.selectedImage, -1);
    EXPECT_EQ(node.StateImage(), -1);
    EXPECT_EQ(Show(node.Record()), Show(u"9\x01\t-1\x01"));
    EXPECT_EQ(Outline(), "New(C)");
    control.ChangeNode(1, u"Solo");
    EXPECT_EQ(Show(NodeAt(1).Text()), "Solo");
}

TEST_F(Building, DeletingShiftsIndexesAndKeepsHandles) {
    control.AddNodes(u"0\tA\n1\tB\n2\tC\n0\tD\n1\tE");
    const NodeHandle d = HandleAt(3), e = HandleAt(4);
    control.DeleteNode(1);
    EXPECT_EQ(Outline(), "A,D(E)");
    EXPECT_EQ(HandleAt(1), d);
    EXPECT_EQ(HandleAt(2), e);
    EXPECT_EQ(control.GetNode(1).substr(0, 2), u"1\x01");
    control.DeleteHNode(e);
    EXPECT_EQ(Outline(), "A,D");
    EXPECT_ERROR(control.DeleteHNode(e), kEUnexpected, u"Invalid node handle " + IntToStr(e));
    EXPECT_ERROR(control.DeleteHNode(0), kEUnexpected, u"Invalid node handle 0");
    EXPECT_ERROR(control.DeleteNode(2), kEUnexpected, kIndexIncorrect);
    EXPECT_ERROR(control.ChangeNode(2, u"0\tX"), kEUnexpected, kIndexIncorrect);
    EXPECT_EQ(Outline(), "A,D");
}

TEST_F(Building, AParentLeftWithoutChildrenIsClosed) {
    control.AddNodes(u"0\tA\n1\tB\n1\tC\n0\tD\n1\tE");
    const NodeHandle a = HandleAt(0), d = HandleAt(3);
    control.SetExpanded(a, true);
    control.SetExpanded(d, true);
    control.DeleteHNode(HandleAt(1));  // A keeps C: still open
    EXPECT_TRUE(control.GetExpanded(a));
    control.DeleteHNode(HandleAt(1));  // A's last child
    EXPECT_FALSE(control.GetExpanded(a));
    EXPECT_TRUE(control.GetExpanded(d));
    // A child added later waits for its parent to be opened.
    control.AddAfterNode(0, u"1\tF");
    EXPECT_FALSE(control.GetExpanded(a));
    EXPECT_EQ(Outline(), "A(F),D(E)");
}

TEST_F(Building, DeletedParentsLeaveWarnings) {
    control.AddNodes(u"0\tA\n1\tB\n1\tC\n2\tD\n0\tE");
    control.DeleteNode(2);  // C: empties entry 2; entry 3 still names D, which went with C
    EXPECT_EQ(Entry(2), "-");
    control.AddNodes(u"3\tX\n2\tY");
    EXPECT_EQ(Outline(), "A(B),E,X,Y");
    EXPECT_EQ(messageBox.boxes, Warnings({kUnusableParent, MissingParent(u"2")}));
}

TEST_F(Building, ClearEmptiesTreeAndLevelTableButNotTheStoredNode) {
    control.AddNodes(u"0\tA\n1\tB");
    control.storeHNode(HandleAt(1));
    const NodeHandle stored = Module().storedNode;
    control.Clear();
    EXPECT_EQ(control.Tree().Count(), 0);
    EXPECT_EQ(Entry(1), "-");
    EXPECT_EQ(Entry(2), "-");
    EXPECT_EQ(Module().storedNode, stored);
    control.AddNodes(u"1\tAfterClear");
    EXPECT_EQ(messageBox.boxes, Warnings({MissingParent(u"1")}));
}

TEST_F(Building, TreeRefreshBracketsNest) {
    control.SetTreeRefresh(false);
    control.SetTreeRefresh(false);
    EXPECT_FALSE(control.GetTreeRefresh());
    control.SetTreeRefresh(true);
    EXPECT_TRUE(control.GetTreeRefresh());
    EXPECT_FALSE(widget.redrawOn);
    control.SetTreeRefresh(true);
    EXPECT_TRUE(widget.redrawOn);
    control.SetTreeRefresh(true);  // without a bracket: the tree keeps redrawing
    EXPECT_EQ(control.UpdateCount(), 0);
    control.SetTreeRefresh(false);
    EXPECT_FALSE(widget.redrawOn);
    control.SetTreeRefresh(true);
}

TEST_F(Building, ClearInsideBracketClearsBusyButKeepsTheUpdate) {
    control.AddNodes(u"0\tA");
    control.SetTreeRefresh(false);
    control.Clear();
    EXPECT_TRUE(control.GetTreeRefresh());
    EXPECT_FALSE(widget.redrawOn);
    control.SetTreeRefresh(true);
    EXPECT_TRUE(widget.redrawOn);
}

TEST_F(Building, RefreshRepaints) {
    const int before = widget.repaints;
    control.Refresh();
    EXPECT_EQ(widget.repaints, before + 1);
}

TEST_F(Building, SecondControlEmptiesTheSharedLevelTable) {
    control.AddNodes(u"0\tA");
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeTreeWidget otherWidget(other);
    other.AttachWidget(otherWidget);
    other.FormCreate();
    control.AddNodes(u"1\tB");
    EXPECT_EQ(Outline(), "A,B");
    EXPECT_EQ(messageBox.boxes, Warnings({MissingParent(u"1")}));
}

TEST_F(Building, LevelEntryOfAnotherControlIsUnusable) {
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeTreeWidget otherWidget(other);
    other.AttachWidget(otherWidget);
    other.FormCreate();
    other.AddNodes(u"0\tTheirs");
    control.AddNodes(u"1\tMine");
    EXPECT_EQ(Outline(), "Mine");
    EXPECT_EQ(messageBox.boxes, Warnings({kUnusableParent}));
}

}  // namespace
}  // namespace ramvel::test
