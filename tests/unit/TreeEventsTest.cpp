// The tree widget's notifications: image switching, host events in order, error boxes.
#include "TestSupport.h"
#include "control/Fields.h"

namespace ramvel::test {
namespace {

// P: images 4,5, no selected image; Q: 4, selected 6; R: no images field. Each has one child.
class TreeEvents : public ControlTest {
protected:
    void SetUp() override {
        control.AddNodes(u"0\tP\t4,5\n1\tp\n0\tQ\t4\t6\n1\tq\n0\tR\n1\tr");
        p = HandleAt(0);
        q = HandleAt(2);
        r = HandleAt(4);
    }
    std::pair<std::int32_t, std::int32_t> Images(NodeHandle n) {
        const Node& node = *control.Tree().Find(n);
        return {node.image, node.selectedImage};
    }
    int YOf(NodeHandle n) { return widget.RowOf(n) * FakeTreeWidget::kRowHeight + 3; }
    NodeHandle p = 0, q = 0, r = 0;
};

using ImagePair = std::pair<std::int32_t, std::int32_t>;

TEST_F(TreeEvents, OpenAndClosedImages) {
    control.WidgetExpansionChanged(p, true);
    EXPECT_EQ(Images(p), ImagePair(5, 5));
    const int repaints = widget.repaints;
    control.WidgetExpansionChanged(p, false);
    EXPECT_EQ(Images(p), ImagePair(4, 4));
    EXPECT_GT(widget.repaints, repaints);

    control.WidgetExpansionChanged(q, true);
    EXPECT_EQ(Images(q), ImagePair(4, 6));  // one image; its own selected image is never touched
    control.WidgetExpansionChanged(q, false);
    EXPECT_EQ(Images(q), ImagePair(4, 6));
    control.GoToNode(2);
    EXPECT_EQ(Images(q), ImagePair(4, 6));

    const std::vector<RaisedEvent> expected = {
        {EventId::OnExpanded, Info(0, p, u"0\tP\t4,5\t-1\t-1\t")},
        {EventId::OnCollapsed, Info(0, p, u"0\tP\t4,5\t-1\t-1\t")},
        {EventId::OnExpanded, Info(2, q, u"0\tQ\t4\t6\t-1\t")},
        {EventId::OnCollapsed, Info(2, q, u"0\tQ\t4\t6\t-1\t")},
        {EventId::OnChange, Info(2, q, u"0\tQ\t4\t6\t-1\t")},
    };
    EXPECT_EQ(sink->events, expected);
    EXPECT_TRUE(messageBox.boxes.empty());
}

TEST_F(TreeEvents, NodeWithoutImagesFieldKeepsItsImageAndStillReports) {
    control.WidgetExpansionChanged(r, true);
    control.WidgetExpansionChanged(r, false);
    EXPECT_EQ(Images(r), ImagePair(0, 0));
    ASSERT_EQ(sink->events.size(), 2u);
    EXPECT_EQ(sink->events[1].id, EventId::OnCollapsed);
    EXPECT_TRUE(messageBox.boxes.empty());
}

TEST_F(TreeEvents, WithoutSinkImagesChangeButSelectionDoesNothing) {
    control.SetEventSink(nullptr);
    control.WidgetExpansionChanged(p, true);
    EXPECT_EQ(Images(p), ImagePair(5, 5));
    control.ChangeNode(0, u"0\tP\t4,5");  // the node is expanded: image 5, selected -1
    control.GoToNode(0);
    EXPECT_EQ(Images(p), ImagePair(5, -1));
    EXPECT_EQ(control.GethSelectedNode(), p);
    EXPECT_TRUE(sink->events.empty());
}

TEST_F(TreeEvents, SelectionSetsSelectedImageFromImage) {
    control.GoToNode(0);
    EXPECT_EQ(Images(p), ImagePair(4, 4));
}

TEST_F(TreeEvents, BusyMutesChangeOnlyAndLeavesSelectedImage) {
    control.SetTreeRefresh(false);
    control.GoToNode(0);
    control.WidgetExpansionChanged(p, true);
    control.WidgetExpansionChanged(p, false);
    control.SetTreeRefresh(true);
    EXPECT_EQ(Images(p), ImagePair(4, 4));  // from the collapse, not from the selection
    std::vector<EventId> ids;
    for (const auto& e : sink->events) ids.push_back(e.id);
    EXPECT_EQ(ids, (std::vector<EventId>{EventId::OnExpanded, EventId::OnCollapsed}));
}

TEST_F(TreeEvents, BadImagesFieldStopsHandlerAndShowsErrorBox) {
    control.ChangeNode(0, u"0\tP\t4,x");
    control.WidgetExpansionChanged(p, true);
    EXPECT_EQ(Images(p), ImagePair(4, -1));
    EXPECT_TRUE(sink->events.empty());
    const std::vector<ShownBox> boxes = {
        {u"Ramvel", u"'x' n'est pas une valeur enti\u00e8re correcte.", MessageIcon::Error}};
    EXPECT_EQ(messageBox.boxes, boxes);
}

TEST_F(TreeEvents, ErrorCaptionAndFullStop) {
    struct {
        std::u16string_view file, caption;
    } captions[] = {{u"Ramvel.ocx", u"Ramvel"}, {u"RAMVEL.OCX", u"Ramvel"}, {u"my.tree.ocx", u"my"}, {u"nOEXT", u"noext"}};
    for (const auto& c : captions) {
        TMyRamvel other(messageBox, std::u16string(c.file));
        EXPECT_EQ(Show(other.ErrorCaption()), Show(c.caption));
    }
    struct {
        std::u16string_view message, shown;
    } texts[] = {{u"Done.", u"Done."}, {u"Oops", u"Oops."}, {u"(x)", u"(x)"}, {u"end,", u"end,"}, {u"", u"."}};
    for (const auto& t : texts) {
        messageBox.boxes.clear();
        control.ReportHandlerError(std::u16string(t.message));
        ASSERT_EQ(messageBox.boxes.size(), 1u);
        EXPECT_EQ(Show(messageBox.boxes[0].text), Show(t.shown));
    }
}

TEST_F(TreeEvents, KeyPressReportsOnlyControlCharactersAndSwallowsThem) {
    struct {
        char16_t key;
        bool reported;
        char16_t after;
    } cases[] = {{13, true, 0}, {27, true, 0}, {8, true, 0}, {0, true, 0}, {31, true, 0}, {32, false, 32}, {u'a', false, u'a'}, {0xFF0D, false, 0xFF0D}};
    sink->changeKey = true;
    sink->keyReply = 65;  // what the host writes back changes nothing
    for (const auto& c : cases) {
        sink->events.clear();
        char16_t key = c.key;
        control.WidgetKeyPress(key);
        EXPECT_EQ(key, c.after);
        EXPECT_EQ(sink->events.size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(sink->events[0], (RaisedEvent{EventId::OnKeyPress, IntToStr(c.key)}));
        }
    }
    control.SetEventSink(nullptr);
    char16_t enter = 13;
    control.WidgetKeyPress(enter);
    EXPECT_EQ(enter, 0);
}

TEST_F(TreeEvents, DoubleClickAndEnter) {
    control.WidgetEnter();
    control.WidgetDblClick();
    EXPECT_EQ(sink->events, (std::vector<RaisedEvent>{{EventId::OnDblClick, u""}}));
}

TEST_F(TreeEvents, RightClickOnAnotherNodeChangesTwiceThenRightClick) {
    control.GoToNode(4);
    sink->events.clear();
    control.WidgetMouseDown(MouseButton::Right, {}, 10, YOf(p));
    const std::u16string info = Info(0, p, u"0\tP\t4,5\t-1\t-1\t");
    const std::vector<RaisedEvent> expected = {
        {EventId::OnChange, info}, {EventId::OnChange, info}, {EventId::OnRightClick, info}};
    EXPECT_EQ(sink->events, expected);
    EXPECT_EQ(control.GethSelectedNode(), p);
}

TEST_F(TreeEvents, RightClickOnSelectedNodeAndWhileBusy) {
    control.GoToNode(0);
    sink->events.clear();
    control.WidgetMouseDown(MouseButton::Right, {}, 10, YOf(p));
    std::vector<EventId> ids;
    for (const auto& e : sink->events) ids.push_back(e.id);
    EXPECT_EQ(ids, (std::vector<EventId>{EventId::OnChange, EventId::OnRightClick}));

    sink->events.clear();
    control.SetTreeRefresh(false);
    control.WidgetMouseDown(MouseButton::Right, {}, 10, YOf(q));
    control.SetTreeRefresh(true);
    ids.clear();
    for (const auto& e : sink->events) ids.push_back(e.id);
    EXPECT_EQ(ids, (std::vector<EventId>{EventId::OnChange, EventId::OnRightClick}));
    EXPECT_EQ(control.GethSelectedNode(), q);
}

TEST_F(TreeEvents, RightClickBelowTheRowsReportsThePoint) {
    control.WidgetMouseDown(MouseButton::Right, {}, 10, 300);
    EXPECT_EQ(sink->events, (std::vector<RaisedEvent>{{EventId::OnRightClick, u"MOUSE,10,300"}}));
    EXPECT_EQ(control.GethSelectedNode(), 0);
}

TEST_F(TreeEvents, LeftAndMiddleClicksAndNoSinkRaiseNothing) {
    control.WidgetMouseDown(MouseButton::Left, {}, 10, YOf(p));
    control.WidgetMouseDown(MouseButton::Middle, {}, 10, YOf(p));
    control.SetEventSink(nullptr);
    control.WidgetMouseDown(MouseButton::Right, {}, 10, YOf(p));
    EXPECT_TRUE(sink->events.empty());
    EXPECT_EQ(control.GethSelectedNode(), 0);
}

TEST_F(TreeEvents, RightClickTextIsBuiltAfterTheHostsChange) {
    sink->onEvent = [&](const RaisedEvent& e) {
        if (e.id == EventId::OnChange && sink->events.size() == 2) control.ChangeNode(0, u"0\tRenamed\t4,5");
    };
    control.WidgetMouseDown(MouseButton::Right, {}, 10, YOf(p));
    ASSERT_EQ(sink->events.size(), 3u);
    EXPECT_EQ(Show(sink->events[2].arg), Show(Info(0, p, u"0\tRenamed\t4,5\t-1\t-1\t")));
}

TEST_F(TreeEvents, HostRemovingTheClickedNodeEndsTheClick) {
    sink->onEvent = [&](const RaisedEvent& e) {
        if (e.id == EventId::OnChange) control.Clear();
    };
    control.WidgetMouseDown(MouseButton::Right, {}, 10, YOf(p));
    EXPECT_EQ(sink->events.size(), 1u);
    EXPECT_EQ(control.GethSelectedNode(), 0);
}

TEST_F(TreeEvents, SelectionOfNoNodeOrAGoneNodeIsHarmless) {
    control.GoToNode(0);
    sink->events.clear();
    control.WidgetSelectionChanged(0);
    EXPECT_EQ(control.GetSelectedNode(), u"");
    control.WidgetSelectionChanged(2000000000);
    control.WidgetExpansionChanged(2000000000, true);
    EXPECT_TRUE(sink->events.empty());
    EXPECT_TRUE(messageBox.boxes.empty());
}

TEST_F(TreeEvents, NotificationsAfterRecordsReleasedReadNothing) {
    control.ReleaseNodeRecords();
    control.WidgetSelectionChanged(p);
    control.WidgetExpansionChanged(p, true);
    control.WidgetMouseDown(MouseButton::Right, {}, 10, YOf(q));
    EXPECT_TRUE(sink->events.empty());
    EXPECT_TRUE(messageBox.boxes.empty());
}

TEST_F(TreeEvents, HostMayCallBackInsideEvents) {
    std::vector<std::u16string> seenInside;
    sink->onEvent = [&](const RaisedEvent& e) {
        if (e.id == EventId::OnChange) {
            seenInside.push_back(control.GetSelectedNode());
            control.SetExpanded(control.GethSelectedNode(), true);
        }
    };
    control.GoToNode(0);
    ASSERT_EQ(seenInside.size(), 1u);
    EXPECT_EQ(HandleIn(seenInside[0]), p);
    EXPECT_TRUE(control.GetExpanded(p));
    EXPECT_EQ(sink->events.back().id, EventId::OnExpanded);
}

}  // namespace
}  // namespace ramvel::test
