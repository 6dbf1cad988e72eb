// TProUrlLabel's colour states and clicks.
#include "about/UrlLabel.h"

namespace ramvel {

TProUrlLabel::TProUrlLabel(ILinkOpener& shell) : shell_(shell), cursor_(crHandPoint) {
    font_.colour = clBlue;
    font_.bold = font_.italic = font_.strikeout = false;
    font_.underline = true;
}

void TProUrlLabel::SetFont(const FontSettings& font) {
    font_ = font;
    FontChanged();
}

void TProUrlLabel::SetFontColour(std::uint32_t colour) {
    font_.colour = colour;
    FontChanged();
}

void TProUrlLabel::SetUnderline(bool underline) {
    font_.underline = underline;
    FontChanged();
}

void TProUrlLabel::FontChanged() {
    if (OnFontChanged) OnFontChanged();
    if (FCanHover || FDown) return;
    (FVisited ? FVisitedColor : FUnvisitedColor) = font_.colour;
}

void TProUrlLabel::SetUnvisitedColor(std::uint32_t colour) {
    if (colour == FUnvisitedColor) return;
    if (FVisited) {
        FUnvisitedColor = colour;  // never shown again: a visited label stays visited
    } else {
        SetFontColour(colour);  // stored by the font-change rule unless hovering or pressed
    }
}

void TProUrlLabel::SetVisitedColor(std::uint32_t colour) {
    if (colour == FVisitedColor) return;
    if (FVisited) {
        SetFontColour(colour);
    } else {
        FVisitedColor = colour;
    }
}

void TProUrlLabel::SetHoveredColor(std::uint32_t colour) {
    if (colour != FHoveredColor) FHoveredColor = colour;
}

void TProUrlLabel::SetCanHover(bool value) {
    FCanHover = value;
    // Applied even when nothing changed: a hovering label is underlined only under the pointer.
    SetUnderline(!value);
}

void TProUrlLabel::MouseEnter() {
    if (FOnMouseEnter) FOnMouseEnter(*this);
    if (FCanHover) SetUnderline(true);
    if (FDown) {
        SetFontColour(FActivatedColor);
    } else if (FCanHover) {
        SetFontColour(FHoveredColor);
    }
}

void TProUrlLabel::MouseLeave() {
    if (FOnMouseLeave) FOnMouseLeave(*this);
    if (FCanHover) SetUnderline(false);
    SetFontColour(StateColour());
}

void TProUrlLabel::MouseDown(MouseButton button) {
    if (button != MouseButton::Left) return;
    FDown = true;
    SetFontColour(FActivatedColor);
}

void TProUrlLabel::MouseUp(MouseButton button, std::int32_t x, std::int32_t y) {
    if (button != MouseButton::Left) return;
    // The right and bottom edges themselves count as inside.
    if (x < 0 || y < 0 || x > width_ || y > height_) {
        SetFontColour(StateColour());
    } else if (FDown) {
        FVisited = true;
        SetFontColour(FCanHover ? FHoveredColor : FVisitedColor);
        OpenLink(FURL.empty() ? caption_ : FURL);
    }
    FDown = false;
}

void TProUrlLabel::OpenLink(const std::u16string& text) {
    if (!text.empty()) shell_.OpenLink(text);
}

}  // namespace ramvel
