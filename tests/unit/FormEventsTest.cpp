// The form's own notifications: each handler's event, key preview order, creation at the
// first connection, and the destruction handler.
#include <optional>

#include "TestSupport.h"

namespace ramvel::test {
namespace {

class FormEvents : public ControlTest {};

TEST_F(FormEvents, EachNotificationRaisesItsEvent) {
    struct {
        const char* name;
        void (TMyRamvel::*notify)();
        RaisedEvent expected;
    } cases[] = {
        {"activation", &TMyRamvel::FormActivated, {EventId::OnActivate, u""}},
        {"deactivation", &TMyRamvel::FormDeactivated, {EventId::OnDeactivate, u""}},
        {"click", &TMyRamvel::FormClicked, {EventId::OnClick, u""}},
        {"double click", &TMyRamvel::FormDoubleClicked, {EventId::OnDblClick, u""}},
        {"paint", &TMyRamvel::FormPainted, {EventId::OnPaint, u""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sink->events.clear();
        (control.*c.notify)();
        EXPECT_EQ(sink->events, std::vector<RaisedEvent>{c.expected});
    }
    EXPECT_TRUE(messageBox.boxes.empty());
}

TEST_F(FormEvents, PaintKeepsTheSelectionShownAndRedrawsTheTree) {
    EXPECT_FALSE(widget.selectionAlwaysShown);
    control.FormPainted();
    EXPECT_TRUE(widget.selectionAlwaysShown);
    EXPECT_EQ(widget.invalidations, 1);
    control.SetEventSink(nullptr);
    control.FormPainted();  // without a sink the tree still redraws
    EXPECT_EQ(widget.invalidations, 2);
    EXPECT_EQ(sink->events, (std::vector<RaisedEvent>{{EventId::OnPaint, u""}}));
}

TEST_F(FormEvents, NothingIsRaisedBeforeInitializeOrWithoutASink) {
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeTreeWidget otherWidget(other);
    other.AttachWidget(otherWidget);
    other.FormCreate();
    auto otherSink = std::make_shared<RecordingSink>();
    other.SetEventSink(otherSink);
    other.FormActivated();
    other.FormClicked();
    other.FormPainted();
    EXPECT_TRUE(otherSink->events.empty());
    EXPECT_FALSE(otherWidget.selectionAlwaysShown);

    control.SetEventSink(nullptr);
    control.FormActivated();
    control.FormClicked();
    EXPECT_TRUE(sink->events.empty());
}

TEST_F(FormEvents, OnCreateReachesTheFirstSinkOnceOnly) {
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeTreeWidget otherWidget(other);
    other.AttachWidget(otherWidget);
    other.FormCreate();
    other.Initialize();
    auto first = std::make_shared<RecordingSink>(), second = std::make_shared<RecordingSink>();
    other.SetEventSink(first);
    other.SetEventSink(nullptr);
    other.SetEventSink(second);
    other.SetEventSink(first);
    EXPECT_EQ(first->events, (std::vector<RaisedEvent>{{EventId::OnCreate, u""}}));
    EXPECT_TRUE(second->events.empty());
}

TEST_F(FormEvents, KeyPreviewGivesTheFormTheCharacterFirst) {
    struct {
        bool preview;
        char16_t typed;
        std::optional<std::int16_t> reply;  // what the host leaves in every OnKeyPress
        std::vector<std::int16_t> raised;   // the codes of the OnKeyPress events, in order
        char16_t reachesTree;
    } cases[] = {
        {false, u'x', std::nullopt, {}, u'x'},
        {false, 13, std::nullopt, {13}, 0},
        {true, u'x', std::nullopt, {120}, u'x'},
        {true, u'x', 121, {120}, u'y'},
        {true, u'x', 0, {120}, 0},
        {true, 13, std::nullopt, {13, 13}, 0},
        {true, 13, 9, {13, 9}, 0},
        {true, 13, 0, {13}, 0},
        {true, 13, 65, {13}, u'A'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "preview " << c.preview << ", typed " << int(c.typed) << ", reply "
                                        << (c.reply ? *c.reply : -1));
        control.SetKeyPreview(c.preview);
        EXPECT_EQ(control.GetKeyPreview(), c.preview);
        sink->events.clear();
        sink->changeKey = c.reply.has_value();
        sink->keyReply = c.reply.value_or(0);
        char16_t key = c.typed;
        control.WidgetKeyPress(key);
        EXPECT_EQ(int(key), int(c.reachesTree));
        std::vector<RaisedEvent> expected;
        for (std::int16_t code : c.raised) expected.push_back({EventId::OnKeyPress, IntToStr(code)});
        EXPECT_EQ(sink->events, expected);
    }
}

TEST_F(FormEvents, TheFormsOwnKeysReachTheHostUnfiltered) {
    for (char16_t typed : {char16_t{13}, char16_t{'x'}, char16_t{0x20AC}}) {
        SCOPED_TRACE(int(typed));
        sink->events.clear();
        sink->changeKey = true;
        sink->keyReply = 7;
        char16_t key = typed;
        control.FormKeyPressed(key);
        EXPECT_EQ(sink->events, (std::vector<RaisedEvent>{{EventId::OnKeyPress, IntToStr(std::int16_t(typed))}}));
        EXPECT_EQ(int(key), 7);
    }
}

TEST_F(FormEvents, DestructionReleasesTheRecordsThenRaisesOnDestroyOnce) {
    control.AddNodes(u"0\tA\t1,2\n1\tB");
    bool recordsGoneAtEvent = false;
    sink->onEvent = [&](const RaisedEvent& event) {
        if (event.id != EventId::OnDestroy) return;
        recordsGoneAtEvent = !NodeAt(0).hasRecord && !NodeAt(1).hasRecord;
        // A host that calls back in gets harmless answers.
        EXPECT_NO_THROW(control.GetNode(0));
        EXPECT_NO_THROW(control.GoToNode(1));
        control.FormDestroy();  // not again
    };
    control.FormDestroy();
    control.FormDestroy();
    EXPECT_TRUE(recordsGoneAtEvent);
    std::vector<EventId> ids;
    for (const RaisedEvent& event : sink->events) ids.push_back(event.id);
    EXPECT_EQ(ids, std::vector<EventId>{EventId::OnDestroy});
    // Notifications during the teardown read nothing.
    sink->events.clear();
    control.WidgetExpansionChanged(HandleAt(0), true);
    control.WidgetSelectionChanged(HandleAt(1));
    EXPECT_TRUE(sink->events.empty());
    EXPECT_TRUE(messageBox.boxes.empty());
}

TEST_F(FormEvents, DestructionWithoutASinkStillReleasesTheRecords) {
    control.AddNodes(u"0\tA");
    control.SetEventSink(nullptr);
    control.FormDestroy();
    EXPECT_FALSE(NodeAt(0).hasRecord);
    EXPECT_TRUE(sink->events.empty());
}

}  // namespace
}  // namespace ramvel::test
