#pragma once
// The test double of the control's form window: it records every setting applied to it, one
// readable line each ("switches 1 0 1", "font Tahoma -16"...).
#include <string>
#include <vector>

#include "platform/FormWindow.h"

namespace ramvel::test {

class FakeFormWindow : public IFormWindow {
public:
    explicit FakeFormWindow(std::int32_t screenPixelsPerInch = 96) : screen_(screenPixelsPerInch) {}

    std::int32_t ScreenPixelsPerInch() const override { return screen_; }
    bool IsVisible() const override { return visible; }
    bool IsActive() const override { return active; }
    void ApplyTreeSwitches(bool lines, bool buttons, bool track) override;
    void ApplyTreeFont(const FontSettings& font) override;
    void ApplyColour(std::uint32_t colour) override;
    void ApplyCaption(std::u16string_view caption) override;
    void ApplyVisible(bool on) override;
    void ApplyEnabled(bool on) override { applied.push_back("enabled " + std::to_string(on)); }
    void ApplyBorderStyle(std::uint8_t style) override { applied.push_back("border " + std::to_string(style)); }
    void ApplyBiDiMode(std::uint8_t mode) override { applied.push_back("bidi " + std::to_string(mode)); }
    void ApplyCursor(std::int16_t cursor) override { applied.push_back("cursor " + std::to_string(cursor)); }
    void ApplyDoubleBuffered(bool on) override { applied.push_back("double buffered " + std::to_string(on)); }
    void ApplyAutoScroll(bool on) override { applied.push_back("auto scroll " + std::to_string(on)); }
    void ApplyAutoSize(bool on) override { applied.push_back("auto size " + std::to_string(on)); }

    std::vector<std::string> applied;
    bool visible = false, active = false;

private:
    std::int32_t screen_;
};

}  // namespace ramvel::test
