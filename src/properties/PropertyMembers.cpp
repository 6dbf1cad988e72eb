// The properties of the tree and of the control's form: the settings' rules, then the form
// window applies what changed.
#include <utility>

#include "control/MyRamvel.h"

namespace ramvel {

void TMyRamvel::AttachFormWindow(IFormWindow& form) {
    form_ = &form;
    settings_ = FormSettings(form.ScreenPixelsPerInch());
    form.ApplyTreeFont(settings_.treeFont);
    form.ApplyColour(settings_.colour);
    form.ApplyCaption(settings_.caption);
    form.ApplyBorderStyle(settings_.borderStyle);
}

void TMyRamvel::SetLines(bool value) {
    if (std::exchange(settings_.lines, value) != value && form_)
        form_->ApplyTreeSwitches(settings_.lines, settings_.buttons, settings_.track);
}

void TMyRamvel::SetButtons(bool value) {
    if (std::exchange(settings_.buttons, value) != value && form_)
        form_->ApplyTreeSwitches(settings_.lines, settings_.buttons, settings_.track);
}

void TMyRamvel::SetTrack(bool value) {
    if (std::exchange(settings_.track, value) != value && form_)
        form_->ApplyTreeSwitches(settings_.lines, settings_.buttons, settings_.track);
}

void TMyRamvel::SetTreeFont(const FontSettings& font) {
    if (font == settings_.treeFont) return;
    // The tree's own font changed: from now on the form's font no longer reaches it.
    settings_.treeInheritsFont = false;
    settings_.treeFont = font;
    if (form_) form_->ApplyTreeFont(font);
}

void TMyRamvel::SetFontName(std::u16string_view value) {
    if (value.empty()) return;
    FontSettings font = settings_.treeFont;
    font.name = value;
    SetTreeFont(font);
}

void TMyRamvel::SetFontSize(std::int32_t value) {
    FontSettings font = settings_.treeFont;
    font.height = HeightFor(value, font.pixelsPerInch);
    SetTreeFont(font);
}

void TMyRamvel::SetFormFont(const FontSettings& font) {
    settings_.formFont = font;
    if (!settings_.treeInheritsFont || settings_.treeFont == font) return;
    settings_.treeFont = font;
    if (form_) form_->ApplyTreeFont(font);
}

void TMyRamvel::SetColor(std::uint32_t value) {
    settings_.colour = value;
    if (form_) form_->ApplyColour(value);
}

void TMyRamvel::SetCaption(std::u16string_view value) {
    settings_.caption = value;
    if (form_) form_->ApplyCaption(value);
}

bool TMyRamvel::GetVisible() const { return form_ && form_->IsVisible(); }

void TMyRamvel::SetVisible(bool value) {
    if (form_) form_->ApplyVisible(value);
}

void TMyRamvel::SetEnabled(bool value) {
    if (std::exchange(settings_.enabled, value) != value && form_) form_->ApplyEnabled(value);
}

void TMyRamvel::SetAxBorderStyle(std::int32_t value) {
    const auto style = static_cast<std::uint8_t>(value);
    if (std::exchange(settings_.borderStyle, style) != style && form_) form_->ApplyBorderStyle(style);
}

void TMyRamvel::SetBiDiMode(std::int32_t value) {
    const auto mode = static_cast<std::uint8_t>(value);
    if (std::exchange(settings_.bidiMode, mode) != mode && form_) form_->ApplyBiDiMode(mode);
}

void TMyRamvel::SetCursor(std::int16_t value) {
    settings_.cursor = value;
    if (form_) form_->ApplyCursor(value);
}

void TMyRamvel::SetDoubleBuffered(bool value) {
    if (std::exchange(settings_.doubleBuffered, value) != value && form_) form_->ApplyDoubleBuffered(value);
}

void TMyRamvel::SetAutoScroll(bool value) {
    if (std::exchange(settings_.autoScroll, value) != value && form_) form_->ApplyAutoScroll(value);
}

void TMyRamvel::SetAutoSize(bool value) {
    if (std::exchange(settings_.autoSize, value) != value && form_) form_->ApplyAutoSize(value);
}

std::int32_t TMyRamvel::GetPixelsPerInch() const {
    return settings_.storedPixelsPerInch != 0 ? settings_.storedPixelsPerInch : settings_.screenPixelsPerInch;
}

void TMyRamvel::SetPixelsPerInch(std::int32_t value) {
    // 1 to 35 is no density a screen has; 0 stores none.
    if (value != GetPixelsPerInch() && (value == 0 || value > 35)) settings_.storedPixelsPerInch = value;
}

void TMyRamvel::SetScaled(bool value) {
    if (value == GetScaled()) return;
    settings_.storedPixelsPerInch = value ? settings_.screenPixelsPerInch : 0;
}

bool TMyRamvel::GetActive() const { return form_ && form_->IsActive(); }

}  // namespace ramvel
