#pragma once
// Test doubles of the widget, the message box and the host's sink, and a control fixture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "control/ModuleState.h"
#include "control/MyRamvel.h"
#include "control/RamvelError.h"
#include "FakeTreeWidget.h"

namespace ramvel::test {

std::string Utf8(std::u16string_view text);

// Makes separators readable in failure output.
std::string Show(std::u16string_view text);

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

// Files by name, for the members that read images.
class FakeFiles : public IFileReader {
public:
    std::vector<std::uint8_t> ReadFile(std::u16string_view name, std::size_t limit) override;
    std::map<std::u16string, std::vector<std::uint8_t>, std::less<>> files;
};

// `count` images of side by side pixels, each in its own colour (0x100000 + its index) and
// transparent in its left column, so that copies and cuts can be told apart.
ImageList NumberedImages(std::int32_t count, std::int32_t side = 16, Rgb base = 0x100000);

// Fresh module-wide variables for the next test; handles stay unique across tests, as across
// controls.
void ResetModuleState();

// Wires a control to its doubles as a host has it: fresh module state, the widget, the files,
// the form window when given, the standard image lists, the form created and initialised, and
// the sink connected.
void WireToDoubles(TMyRamvel& control, ITreeWidget& widget, FakeFiles& files,
                   const std::shared_ptr<RecordingSink>& sink, IFormWindow* form = nullptr);

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
    FakeFiles files;
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
