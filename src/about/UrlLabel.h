#pragma once
// TProUrlLabel: a text label that behaves as a hyperlink. It is drawn underlined in a link
// colour, turns the activated colour while the left button is down on it, remembers that it was
// followed, can light up under the pointer, and hands its link to the shell on a click.
//
// The label's window (Win32 side) feeds it the framework's notifications and draws its caption
// in its font; everything the label shows follows from the font's colour and style:
//     TProUrlLabel label{shell};
//     label.OnFontChanged = [&] { /* measure the caption, resize, redraw */ };
//     label.SetCaption(u"http://example.com");
//     label.MouseDown(MouseButton::Left);
//     label.MouseUp(MouseButton::Left, x, y);   // inside: visited, navy, link opened
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "about/Colours.h"
#include "platform/FormWindow.h"
#include "platform/LinkOpener.h"
#include "platform/TreeWidget.h"

namespace ramvel {

// The system's hand-pointer cursor.
inline constexpr std::int16_t crHandPoint = -21;

class TProUrlLabel {
public:
    using MouseHandler = std::function<void(TProUrlLabel&)>;

    // Blue underlined font, the default colours, the hand-pointer cursor, not visited.
    explicit TProUrlLabel(ILinkOpener& shell);

    // What the plain text label supplies.
    const std::u16string& GetCaption() const { return caption_; }
    void SetCaption(std::u16string_view caption) { caption_ = caption; }
    const FontSettings& GetFont() const { return font_; }
    // A new font; the font-change rule follows (see FontChanged).
    void SetFont(const FontSettings& font);
    std::int16_t GetCursor() const { return cursor_; }
    void SetCursor(std::int16_t cursor) { cursor_ = cursor; }
    // The label's size in pixels, as its window measured the caption.
    void SetSize(std::int32_t width, std::int32_t height) { width_ = width, height_ = height; }
    // The plain label's own handling of a font change: its window measures the caption again,
    // resizes the label to fit and redraws it. Runs first on every font change.
    std::function<void()> OnFontChanged;

    // Published properties.
    const std::u16string& GetURL() const { return FURL; }
    void SetURL(std::u16string_view url) { FURL = url; }
    std::uint32_t GetUnvisitedColor() const { return FUnvisitedColor; }
    void SetUnvisitedColor(std::uint32_t colour);
    std::uint32_t GetActivatedColor() const { return FActivatedColor; }
    void SetActivatedColor(std::uint32_t colour) { FActivatedColor = colour; }
    std::uint32_t GetVisitedColor() const { return FVisitedColor; }
    void SetVisitedColor(std::uint32_t colour);
    std::uint32_t GetHoveredColor() const { return FHoveredColor; }
    void SetHoveredColor(std::uint32_t colour);
    bool GetCanHover() const { return FCanHover; }
    void SetCanHover(bool value);
    // Called first when the pointer enters or leaves the label.
    void SetOnMouseEnter(MouseHandler handler) { FOnMouseEnter = std::move(handler); }
    void SetOnMouseLeave(MouseHandler handler) { FOnMouseLeave = std::move(handler); }

    bool Visited() const { return FVisited; }
    bool Down() const { return FDown; }

    // The framework's notifications. (x, y): the release point in the label's own pixels.
    void MouseEnter();
    void MouseLeave();
    void MouseDown(MouseButton button);
    void MouseUp(MouseButton button, std::int32_t x, std::int32_t y);

private:
    void SetFontColour(std::uint32_t colour);
    void SetUnderline(bool underline);
    // The font-change rule: the plain label's handling, then, unless hovering or pressed, the
    // font colour becomes the colour of the current state.
    void FontChanged();
    std::uint32_t StateColour() const { return FVisited ? FVisitedColor : FUnvisitedColor; }
    void OpenLink(const std::u16string& text);

    ILinkOpener& shell_;
    std::u16string caption_;
    FontSettings font_;
    std::int16_t cursor_ = 0;
    std::int32_t width_ = 0, height_ = 0;

    std::u16string FURL;
    std::uint32_t FUnvisitedColor = clBlue;
    std::uint32_t FActivatedColor = clRed;
    std::uint32_t FVisitedColor = clNavy;
    std::uint32_t FHoveredColor = clWhite;
    bool FCanHover = false;
    MouseHandler FOnMouseEnter;
    MouseHandler FOnMouseLeave;
    bool FVisited = false;
    bool FDown = false;
};

}  // namespace ramvel
