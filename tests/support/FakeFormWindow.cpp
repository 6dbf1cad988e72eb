#include "FakeFormWindow.h"

namespace ramvel::test {
namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

}  // namespace

void FakeFormWindow::ApplyTreeSwitches(bool lines, bool buttons, bool track) {
    applied.push_back("switches " + std::to_string(lines) + " " + std::to_string(buttons) + " " + std::to_string(track));
}

void FakeFormWindow::ApplyTreeFont(const FontSettings& font) {
    applied.push_back("font " + Narrow(font.name) + " " + std::to_string(font.height) + (font.bold ? " bold" : ""));
}

void FakeFormWindow::ApplyColour(std::uint32_t colour) { applied.push_back("colour " + std::to_string(colour)); }

void FakeFormWindow::ApplyCaption(std::u16string_view caption) { applied.push_back("caption " + Narrow(caption)); }

void FakeFormWindow::ApplyVisible(bool on) {
    visible = on;
    applied.push_back("visible " + std::to_string(on));
}

}  // namespace ramvel::test
