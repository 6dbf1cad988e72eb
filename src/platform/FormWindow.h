#pragma once
// The control's form as the core sets it up: the window-level settings that the properties
// change, applied to the real windows.
#include <cstdint>
#include <string>
#include <string_view>

namespace ramvel {

// A font as the form and the tree keep it: a pixel height with the pixels per inch it was
// made for, so that its size in points can be worked out.
struct FontSettings {
    std::u16string name = u"MS Sans Serif";
    std::int32_t height = -11;  // negative: the height of the characters, in pixels
    std::int32_t pixelsPerInch = 96;
    bool bold = false, italic = false, underline = false, strikeout = false;
    std::uint8_t charset = 1;           // default character set
    std::uint32_t colour = 0xFF000008;  // the system's window-text colour
    bool operator==(const FontSettings&) const = default;
};

class IFormWindow {
public:
    virtual ~IFormWindow() = default;
    virtual std::int32_t ScreenPixelsPerInch() const = 0;
    // Whether the form is shown at present, and whether it is the module's focused form.
    virtual bool IsVisible() const = 0;
    virtual bool IsActive() const = 0;

    // The tree view's display style; its nodes, selection and expanded states stay.
    virtual void ApplyTreeSwitches(bool lines, bool buttons, bool track) = 0;
    virtual void ApplyTreeFont(const FontSettings& font) = 0;
    // The form's and the tree's background: 0x00BBGGRR, or a system colour by its low byte
    // when the top bit is set.
    virtual void ApplyColour(std::uint32_t colour) = 0;
    virtual void ApplyCaption(std::u16string_view caption) = 0;
    virtual void ApplyVisible(bool visible) = 0;
    virtual void ApplyEnabled(bool enabled) = 0;
    // 0 none, 1 thin line, 2 sunken edge, 3 raised frame; other values: none. The windows
    // keep their contents.
    virtual void ApplyBorderStyle(std::uint8_t style) = 0;
    // 0 left to right; 1 to 3 right to left (all, without alignment, reading order only).
    virtual void ApplyBiDiMode(std::uint8_t mode) = 0;
    // A cursor identifier of the form (0 default, -1 none, -2 arrow...).
    virtual void ApplyCursor(std::int16_t cursor) = 0;
    virtual void ApplyDoubleBuffered(bool on) = 0;
    virtual void ApplyAutoScroll(bool on) = 0;
    virtual void ApplyAutoSize(bool on) = 0;
};

}  // namespace ramvel
