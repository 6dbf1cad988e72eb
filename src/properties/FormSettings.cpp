#include "properties/FormSettings.h"

namespace ramvel {

std::int32_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (c == 0) return -1;
    std::int64_t product = a * b;
    const bool negative = (product < 0) != (c < 0);
    if (product < 0) product = -product;
    if (c < 0) c = -c;
    const std::int64_t result = (product + c / 2) / c;
    return static_cast<std::int32_t>(negative ? -result : result);
}

std::int32_t PointsOf(const FontSettings& font) { return -MulDivRound(font.height, 72, font.pixelsPerInch); }

std::int32_t HeightFor(std::int32_t points, std::int32_t pixelsPerInch) {
    return -MulDivRound(points, pixelsPerInch, 72);
}

FormSettings::FormSettings(std::int32_t screen)
    : storedPixelsPerInch(screen), screenPixelsPerInch(screen) {
    // The form was laid out at 96 pixels per inch: its font grows with the screen's density.
    formFont.height = -MulDivRound(11, screen, 96);
    formFont.pixelsPerInch = screen;
    treeFont = formFont;
}

}  // namespace ramvel
