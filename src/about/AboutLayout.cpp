// The about dialog's stored layout and its scaling.
#include "about/AboutLayout.h"

#include <stdexcept>

#include "about/Colours.h"
#include "properties/FormSettings.h"

namespace ramvel {
namespace {

constexpr std::int32_t kDesignPixelsPerInch = 96;

FontSettings Font(std::u16string_view name, std::int32_t characterHeight, std::uint32_t colour,
                  std::uint8_t charset = 1, bool underline = false) {
    FontSettings font;
    font.name = name;
    font.height = -characterHeight;
    font.colour = colour;
    font.charset = charset;
    font.underline = underline;
    return font;
}

}  // namespace

const AboutComponent& AboutLayout::Find(std::u16string_view name) const {
    for (const auto& component : components)
        if (component.name == name) return component;
    throw std::out_of_range("no such component in the about dialog");
}

AboutLayout StoredAboutLayout() {
    constexpr std::uint8_t kAnsiCharset = 0;
    // MS Sans Serif at 8 points: 11 pixels of character height give the recorded text height
    // of 13 pixels.
    const FontSettings dialogFont = Font(u"MS Sans Serif", 11, clWindowText);
    const FontSettings linkFont = Font(u"MS Sans Serif", 13, clBlue, 1, true);
    const std::u16string email(kMakerEmailAddress);
    AboutLayout layout;
    layout.components = {
        {u"CopyrightLbl", AboutPartKind::TextLabel, 144, 165, 294, 18, std::u16string(kCopyrightLine), u"", u"",
         Font(u"Comic Sans MS", 13, clWindowText, kAnsiCharset), true},
        {u"ProUrlLabel1", AboutPartKind::UrlLabel, 223, 189, 58, 16, std::u16string(kMakerWebAddress), u"", u"",
         linkFont, true},
        {u"ProUrlLabel2", AboutPartKind::UrlLabel, 335, 189, 107, 16, email, u"mailto:" + email, u"", linkFont, true},
        {u"Image_Kelto", AboutPartKind::Picture, 1, 8, 265, 146, u"", u"", std::u16string(kMakerWebAddress),
         FontSettings{}, true},
        {u"Label1", AboutPartKind::TextLabel, 235, 48, 207, 38, u"Ramvel 5.1", u"", u"",
         Font(u"Comic Sans MS", 27, clWindowText), true},
        {u"d64", AboutPartKind::TextLabel, 272, 92, 165, 38, std::u16string(kBuildBitsLine), u"", u"",
         Font(u"Comic Sans MS", 27, clMaroon), false},  // stored hidden
        {u"OkBtn", AboutPartKind::PushButton, 378, 211, 64, 26, u"OK", u"", u"", dialogFont, true},
    };
    return layout;
}

AboutLayout ScaledAboutLayout(std::int32_t pixelsPerInch) {
    AboutLayout layout = StoredAboutLayout();
    const auto scale = [&](std::int32_t value) { return MulDivRound(value, pixelsPerInch, kDesignPixelsPerInch); };
    layout.pixelsPerInch = pixelsPerInch;
    layout.clientWidth = scale(layout.clientWidth);
    layout.clientHeight = scale(layout.clientHeight);
    for (auto& c : layout.components) {
        c.left = scale(c.left);
        c.top = scale(c.top);
        c.width = scale(c.width);
        c.height = scale(c.height);
        c.font.height = scale(c.font.height);
        c.font.pixelsPerInch = pixelsPerInch;
    }
    return layout;
}

}  // namespace ramvel
