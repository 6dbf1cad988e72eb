// Selecting, reading and walking the tree by node index and by handle.
#include "TestSupport.h"
#include "control/Fields.h"

namespace ramvel::test {
namespace {

// A(B(C),D), E with five nodes; B collapsed under collapsed A.
class Navigation : public ControlTest {
protected:
    void SetUp() override {
        control.AddNodes(u"0\tA\n1\tB\n2\tC\n1\tD\n0\tE");
        for (int i = 0; i < 5; ++i) h[i] = HandleAt(i);
    }
    NodeHandle h[5] = {};
};

TEST_F(Navigation, EmptyTree) {
    control.Clear();
    EXPECT_EQ(control.GoToNode(0), u"");
    EXPECT_ERROR(control.GetNode(0), kEUnexpected, kIndexIncorrect);
    EXPECT_EQ(control.ChildrenNumber(0), 0);
    EXPECT_EQ(control.GetSelectedNode(), u"");
    EXPECT_EQ(control.GethSelectedNode(), 0);
}

TEST_F(Navigation, GoToNodeRange) {
    EXPECT_EQ(control.GoToNode(5), u"");
    EXPECT_EQ(control.GetSelectedNode(), u"");
    EXPECT_ERROR(control.GoToNode(-1), kEUnexpected, kIndexIncorrect);
    EXPECT_ERROR(control.GetNode(5), kEUnexpected, kIndexIncorrect);
    EXPECT_ERROR(control.GetNode(-1), kEUnexpected, kIndexIncorrect);
    EXPECT_EQ(Show(control.GoToNode(4)), Show(Info(4, h[4], u"0\tE\t\t-1\t-1\t")));
    EXPECT_EQ(control.GethSelectedNode(), h[4]);
    EXPECT_EQ(control.GetSelectedNode(), control.GetNode(4));
}

TEST_F(Navigation, GetNodeAndGethNodeNeverSelect) {
    EXPECT_EQ(control.GethNode(h[2]), control.GetNode(2));
    EXPECT_EQ(Show(control.GetNode(2)), Show(Info(2, h[2], u"2\tC\t\t-1\t-1\t")));
    EXPECT_EQ(control.GetSelectedNode(), u"");
    EXPECT_TRUE(sink->events.empty());
}

TEST_F(Navigation, HandlesNameNodesUntilTheyGo) {
    EXPECT_ERROR(control.GotohNode(0), kEUnexpected, u"Invalid node handle 0");
    for (auto call : std::initializer_list<std::function<void(NodeHandle)>>{
             [&](NodeHandle n) { control.GethNode(n); }, [&](NodeHandle n) { control.getParent(n); },
             [&](NodeHandle n) { control.FirstChild(n); }, [&](NodeHandle n) { control.LastChild(n); },
             [&](NodeHandle n) { control.NextSibling(n); }, [&](NodeHandle n) { control.GetExpanded(n); },
             [&](NodeHandle n) { control.SetExpanded(n, true); }, [&](NodeHandle n) { control.ChildrenNumber(n); }}) {
        control.Clear();
        control.AddNodes(u"0\tA\n1\tB");
        const NodeHandle gone = HandleAt(1);
        control.DeleteNode(1);
        EXPECT_ERROR(call(gone), kEUnexpected, u"Invalid node handle " + IntToStr(gone));
        EXPECT_ERROR(call(2000000000), kEUnexpected, u"Invalid node handle 2000000000");
    }
}

TEST_F(Navigation, Relatives) {
    EXPECT_EQ(control.getParent(h[0]), u"");
    EXPECT_EQ(control.getParent(h[2]), control.GetNode(1));
    EXPECT_EQ(HandleIn(control.getParent(h[3])), h[0]);
    EXPECT_EQ(control.FirstChild(h[0]), h[1]);
    EXPECT_EQ(control.LastChild(h[0]), h[3]);
    EXPECT_EQ(control.FirstChild(h[1]), h[2]);
    EXPECT_EQ(control.LastChild(h[1]), h[2]);
    EXPECT_EQ(control.FirstChild(h[2]), 0);
    EXPECT_EQ(control.NextSibling(h[0]), h[4]);  // skips A's subtree
    EXPECT_EQ(control.NextSibling(h[1]), h[3]);
    EXPECT_EQ(control.NextSibling(h[3]), 0);     // not the parent's sibling
    EXPECT_EQ(control.NextSibling(h[4]), 0);
    EXPECT_EQ(control.ChildrenNumber(h[0]), 2);
    EXPECT_EQ(control.ChildrenNumber(h[2]), 0);
    EXPECT_EQ(control.ChildrenNumber(0), 5);
    EXPECT_EQ(control.ChildrenNumber(-5), 5);
}

TEST_F(Navigation, GoToNodeOnHiddenNodeExpandsAncestorsThenChanges) {
    const std::u16string info = control.GoToNode(2);
    const std::vector<RaisedEvent> expected = {
        {EventId::OnExpanded, control.GetNode(0)},
        {EventId::OnExpanded, control.GetNode(1)},
        {EventId::OnChange, control.GetNode(2)},
    };
    EXPECT_EQ(sink->events, expected);
    EXPECT_EQ(info, control.GetNode(2));
    EXPECT_TRUE(control.GetExpanded(h[0]));
    EXPECT_TRUE(control.GetExpanded(h[1]));
}

TEST_F(Navigation, SelectingTheSelectedNodeReportsNothing) {
    control.GoToNode(4);
    sink->events.clear();
    EXPECT_EQ(control.GotohNode(h[4]), control.GetNode(4));
    EXPECT_TRUE(sink->events.empty());
}

TEST_F(Navigation, BusyFlagMutesChangeButSelectionMoves) {
    control.SetTreeRefresh(false);
    control.GoToNode(4);
    EXPECT_TRUE(sink->events.empty());
    EXPECT_EQ(control.GethSelectedNode(), h[4]);
    control.SetTreeRefresh(true);
}

TEST_F(Navigation, ExpandedPut) {
    struct Step {
        NodeHandle* node;
        bool value;
        std::vector<EventId> events;
        bool after;
    };
    const Step steps[] = {
        {&h[2], true, {}, false},                          // a leaf: left alone
        {&h[0], true, {EventId::OnExpanded}, true},
        {&h[0], true, {EventId::OnExpanded}, true},        // again: raised again
        {&h[0], false, {EventId::OnCollapsed}, false},
        {&h[4], false, {}, false},
    };
    for (const Step& step : steps) {
        sink->events.clear();
        control.SetExpanded(*step.node, step.value);
        std::vector<EventId> ids;
        for (const auto& e : sink->events) ids.push_back(e.id);
        EXPECT_EQ(ids, step.events);
        EXPECT_EQ(control.GetExpanded(*step.node), step.after);
    }
}

TEST_F(Navigation, ExpandedReadsOldStateInsideThePutsHandler) {
    std::vector<bool> seen;
    sink->onEvent = [&](const RaisedEvent&) { seen.push_back(control.GetExpanded(h[0])); };
    control.SetExpanded(h[0], true);
    control.SetExpanded(h[0], false);
    // The user opening a node: the widget opened it before the handler runs.
    control.WidgetExpansionChanged(h[0], true);
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true}));
}

TEST_F(Navigation, HostHandlersMayRemoveTheNodeBeingSelected) {
    sink->onEvent = [&](const RaisedEvent& e) {
        if (e.id == EventId::OnChange) control.DeleteHNode(HandleIn(e.arg));
    };
    EXPECT_EQ(control.GoToNode(4), u"");
    EXPECT_EQ(control.Tree().Count(), 4);
    sink->onEvent = [&](const RaisedEvent& e) {
        if (e.id == EventId::OnExpanded) control.Clear();
    };
    EXPECT_EQ(control.GotohNode(h[2]), u"");
    EXPECT_EQ(control.Tree().Count(), 0);
    EXPECT_EQ(control.GetSelectedNode(), u"");
}

TEST_F(Navigation, StoredNodeSurvivesClear) {
    control.storeHNode(h[1]);
    control.Clear();
    EXPECT_EQ(Module().storedNode, h[1]);
    control.storeHNode(0);
    EXPECT_EQ(Module().storedNode, 0);
}

}  // namespace
}  // namespace ramvel::test
