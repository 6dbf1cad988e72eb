#pragma once
// TProUrlLabel's window: a label that hands the pointer's moves and buttons to the link label
// (capturing the pointer from a left press to its release) and draws the font the link label
// chooses.
#include "about/UrlLabel.h"
#include "win32/LabelWindow.h"

namespace ramvel::win32 {

inline constexpr wchar_t kUrlLabelClass[] = L"TProUrlLabel";

class UrlLabelWindow : public LabelWindow {
public:
    // A link label created as TProUrlLabel is, then given `caption`, `url` and `font`.
    UrlLabelWindow(HWND parent, POINT position, std::u16string_view caption, std::u16string_view url,
                   const FontSettings& font, COLORREF background, ILinkOpener& shell);

    TProUrlLabel& Label() { return label_; }

protected:
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PointerAt(POINT point);

    TProUrlLabel label_;
    bool pointerInside_ = false;
    bool trackingLeave_ = false;
};

}  // namespace ramvel::win32
