#pragma once
// Test doubles of the widget, the message box and the host's sink, and a control fixture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "control/ModuleState.h"
#include "control/MyRamvel.h"
#include "control/RamvelError.h"

namespace ramvel::test {

std::string Utf8(std::u16string_view text);

// Makes separators readable in failure output.
std::string Show(std::u16string_view text);

// A tree widget that behaves as the core expects of one: the selection change is delivered
// inside Select; selecting a node under collapsed ancestors expands them first (innermost
// first) and reports each expansion; programmatic expand reports nothing. Rows are 16 pixels
// high and list the visible nodes in pre-order, for hit tests.
class FakeTreeWidget : public ITreeWidget {
public:
    static constexpr int kRowHeight = 16;

    explicit FakeTreeWidget(TMyRamvel& control) : control_(control) {}

    void NodeAdded(NodeHandle) override { ++added; }
    void NodeChanged(NodeHandle) override { ++changed; }
    void NodeRemoved(std::uintptr_t, NodeHandle) override { ++removed; }
    void AllNodesRemoved() override { ++allRemoved; }
    void Select(NodeHandle node) override;
    void SetExpanded(NodeHandle, bool) override {}
    NodeHandle HitTest(int x, int y) const override;
    void SetRedraw(bool on) override {
        redrawOn = on;
        if (on) ++repaints;
    }
    void Repaint() override { ++repaints; }
    void ShowImages(ImageListSlot slot) override { images = slot; }

    // The row (from 0) at which a node is drawn, or -1 when it is hidden.
    int RowOf(NodeHandle node) const;

    int added = 0, changed = 0, removed = 0, allRemoved = 0, repaints = 0;
    bool redrawOn = true;
    ImageListSlot images = ImageListSlot::None;

private:
    std::vector<NodeHandle> VisibleRows() const;
    TMyRamvel& control_;
};

struct RaisedEvent {
    EventId id;
    std::u16string arg;  // the text, the key in decimal, or empty
    bool operator==(const RaisedEvent&) const = default;
};
void PrintTo(const RaisedEvent& event, std::ostream* out);

class RecordingSink : public IEventSink {
public:
    void RaiseText(EventId id, const std::u16string& text) override;
    void Raise(EventId id, bool wantsResult) override;
    void RaiseKey(EventId id, std::int16_t& key) override;

    std::vector<RaisedEvent> events;
    // Called after recording each event; may call back into the control.
    std::function<void(const RaisedEvent&)> onEvent;
    // The value the host writes into a by-reference key.
    std::int16_t keyReply = 0;
    bool changeKey = false;
};

struct ShownBox {
    std::u16string caption, text;
    MessageIcon icon;
    bool operator==(const ShownBox&) const = default;
};
void PrintTo(const ShownBox& box, std::ostream* out);

class RecordingMessageBox : public IMessageBox {
public:
    void Show(const std::u16string& caption, const std::u16string& text, MessageIcon icon) override {
        boxes.push_back({caption, text, icon});
    }
    std::vector<ShownBox> boxes;
};

// One control on a fake widget, with a connected sink, fresh module state.
class ControlTest : public ::testing::Test {
protected:
    ControlTest();
    ~ControlTest() override;

    // Node info text from its parts: index, handle, then the six detail fields.
    static std::u16string Info(std::int32_t index, NodeHandle handle, std::u16string_view details);
    // The handle in part 2 of a node info text.
    static NodeHandle HandleIn(std::u16string_view info);
    NodeHandle HandleAt(std::int32_t index) { return control.Tree().At(index).handle; }
    const Node& NodeAt(std::int32_t index) { return control.Tree().At(index); }

    RecordingMessageBox messageBox;
    TMyRamvel control{messageBox, u"Ramvel.ocx"};
    FakeTreeWidget widget{control};
    std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>();
};

}  // namespace ramvel::test

// Expects `statement` to fail with RamvelError(message, hresult).
#define EXPECT_ERROR(statement, hresult, message)                                                   \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "expected failure: " #statement;                                    \
        } catch (const ::ramvel::RamvelError& error_) {                                            \
            EXPECT_EQ(::ramvel::test::Show(error_.Message()), ::ramvel::test::Show(message)) << #statement; \
            EXPECT_EQ(error_.HResult(), hresult) << #statement;                                    \
        }                                                                                          \
    } while (0)
