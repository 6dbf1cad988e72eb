#pragma once
// The settings of the control's form and of its tree, with the rules the properties follow.
// Pure data and rules: applying them to windows is the form window's job.
#include <cstdint>
#include <string>

#include "platform/FormWindow.h"

namespace ramvel {

// a * b / c rounded to the nearest whole number, halves away from zero.
std::int32_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c);

// A font's size in whole points, and the pixel height of a size.
std::int32_t PointsOf(const FontSettings& font);
std::int32_t HeightFor(std::int32_t points, std::int32_t pixelsPerInch);

struct FormSettings {
    // The tree.
    bool lines = true, buttons = true, track = false;
    FontSettings treeFont;
    bool treeInheritsFont = true;  // cleared for good by the tree font's first real change

    // The form.
    FontSettings formFont;
    std::uint32_t colour = 0xFF00000F;  // the system's button-face colour
    std::u16string caption = u"MyRamvel";
    std::int32_t storedPixelsPerInch = 0;  // 0: none stored
    std::uint8_t borderStyle = 1, printScale = 1, bidiMode = 0;
    bool autoScroll = false, autoSize = false, dropTarget = false, doubleBuffered = false, enabled = true;
    std::u16string helpFile;
    std::int16_t cursor = 0;

    // Settings as a new form has them on a screen of `screenPixelsPerInch`.
    explicit FormSettings(std::int32_t screenPixelsPerInch = 96);

    std::int32_t screenPixelsPerInch;
};

}  // namespace ramvel
