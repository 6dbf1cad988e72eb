#include "TestSupport.h"

#include <algorithm>

#include "control/Fields.h"

namespace ramvel::test {

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Show(std::u16string_view text) {
    std::string out;
    for (char c : Utf8(text)) {
        if (c == '\t') out += "<TAB>";
        else if (c == '\x01') out += "<SOH>";
        else if (c == '\n') out += "<LF>";
        else out += c;
    }
    return out;
}

void PrintTo(const RaisedEvent& event, std::ostream* out) {
    *out << "{" << static_cast<int>(event.id) << ", \"" << Show(event.arg) << "\"}";
}

void PrintTo(const ShownBox& box, std::ostream* out) {
    *out << "{\"" << Show(box.caption) << "\", \"" << Show(box.text) << "\", icon " << static_cast<int>(box.icon) << "}";
}

void RecordingSink::RaiseText(EventId id, const std::u16string& text) {
    events.push_back({id, text});
    if (onEvent) onEvent(events.back());
}

void RecordingSink::Raise(EventId id, bool) {
    events.push_back({id, u""});
    if (onEvent) onEvent(events.back());
}

void RecordingSink::RaiseKey(EventId id, std::int16_t& key) {
    events.push_back({id, IntToStr(key)});
    if (changeKey) key = keyReply;
    if (onEvent) onEvent(events.back());
}

std::vector<std::uint8_t> FakeFiles::ReadFile(std::u16string_view name, std::size_t limit) {
    const auto file = files.find(name);
    if (file == files.end())
        throw RamvelError(u"Impossible d'ouvrir le fichier \"" + std::u16string(name) + u"\". Not found");
    const std::vector<std::uint8_t>& bytes = file->second;
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), limit + 1))};
}

ImageList NumberedImages(std::int32_t count, std::int32_t side, Rgb base) {
    ImageList list(side, side);
    for (std::int32_t i = 0; i < count; ++i) {
        auto picture = std::make_shared<Picture>(side, side);
        for (std::int32_t y = 0; y < side; ++y) {
            for (std::int32_t x = 0; x < side; ++x) {
                picture->pixels[picture->At(x, y)] = base + static_cast<Rgb>(i);
                picture->masked[picture->At(x, y)] = x == 0;
            }
        }
        list.Append(std::move(picture));
    }
    return list;
}

void ResetModuleState() {
    ModuleState& module = Module();
    module.ClearLevelTable();
    module.busy = false;
    module.storedNode = 0;
    module.imageDisplay = -1;
}

void WireToDoubles(TMyRamvel& control, ITreeWidget& widget, FakeFiles& files,
                   const std::shared_ptr<RecordingSink>& sink, IFormWindow* form) {
    ResetModuleState();
    control.AttachWidget(widget);
    control.AttachFileReader(files);
    if (form) control.AttachFormWindow(*form);
    control.ImageList1 = NumberedImages(42);
    control.AlternateImageList = NumberedImages(87, 16, 0x200000);
    control.FormCreate();
    control.Initialize();
    control.SetEventSink(sink);
}

ControlTest::ControlTest() {
    WireToDoubles(control, widget, files, sink);
    sink->events.clear();  // OnCreate, raised at the first connection (the form-events tests check it)
}

ControlTest::~ControlTest() { Module().busy = false; }

std::u16string ControlTest::Info(std::int32_t index, NodeHandle handle, std::u16string_view details) {
    std::u16string info = IntToStr(index);
    info += kSOH;
    info += IntToStr(handle);
    info += kSOH;
    info += details;
    return info;
}

NodeHandle ControlTest::HandleIn(std::u16string_view info) { return StrToInt(ExtractField(info, 2, kSOH)); }

}  // namespace ramvel::test
