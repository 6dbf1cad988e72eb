#pragma once
// TRamvelAbout's stored layout: the about dialog's form properties and its components, at the
// 96 pixels per inch it was designed for, with the texts it shows. The dialog's window is built
// from ScaledAboutLayout for the screen it opens on.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FormWindow.h"

namespace ramvel {

// The maker's addresses and the lines the dialog shows. The shell opens a "www." address as a
// web link.
inline constexpr std::u16string_view kMakerWebAddress = u"www.example.com";
inline constexpr std::u16string_view kMakerEmailAddress = u"info@example.com";
inline constexpr std::u16string_view kCopyrightLine = u"Copyright \u00A9 2024-2025 Kelto & the Ramvel team";
// Which of the two modules this is: the line follows the pointer size of the build.
inline constexpr std::u16string_view kBuildBitsLine = sizeof(void*) == 4 ? u"32bit version" : u"64bit version";

enum class AboutPartKind { TextLabel, UrlLabel, Picture, PushButton };

struct AboutComponent {
    std::u16string name;  // component name, e.g. "ProUrlLabel1"
    AboutPartKind kind = AboutPartKind::TextLabel;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::u16string caption;  // text labels, link labels and the button
    std::u16string url;      // link labels: empty opens the caption
    std::u16string hint;     // the picture's tooltip
    FontSettings font;       // not used by the picture; the button's is the dialog's font
    bool visible = true;
};

struct AboutLayout {
    std::u16string caption = u"About...";
    std::int32_t clientWidth = 454, clientHeight = 248;
    std::uint32_t colour = 0xA4FFFF;  // pale yellow: red 255, green 255, blue 164
    std::int32_t pixelsPerInch = 96;
    std::vector<AboutComponent> components;  // in creation order: later ones paint over earlier

    const AboutComponent& Find(std::u16string_view name) const;
};

// The layout as stored, at 96 pixels per inch.
AboutLayout StoredAboutLayout();
// The stored layout for a screen of `pixelsPerInch`: positions, sizes and font heights scaled
// by pixelsPerInch / 96, rounded to the nearest pixel.
AboutLayout ScaledAboutLayout(std::int32_t pixelsPerInch);

}  // namespace ramvel
