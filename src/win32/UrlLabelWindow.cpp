// Link labels: pointer input to TProUrlLabel, its font to the screen.
#include "win32/UrlLabelWindow.h"

#include <windowsx.h>

namespace ramvel::win32 {

UrlLabelWindow::UrlLabelWindow(HWND parent, POINT position, std::u16string_view caption, std::u16string_view url,
                               const FontSettings& font, COLORREF background, ILinkOpener& shell)
    : LabelWindow(parent, position, caption, font, background, crHandPoint, kUrlLabelClass), label_(shell) {
    label_.OnFontChanged = [this] {
        ApplyFont(label_.GetFont());
        const SIZE size = Size();
        label_.SetSize(size.cx, size.cy);
    };
    label_.SetCaption(caption);
    label_.SetURL(url);
    label_.SetFont(font);
}

void UrlLabelWindow::PointerAt(POINT point) {
    RECT client;
    GetClientRect(Window(), &client);
    const bool inside = PtInRect(&client, point) != FALSE;
    if (inside == pointerInside_) return;
    pointerInside_ = inside;
    if (inside) {
        label_.MouseEnter();
    } else {
        label_.MouseLeave();
    }
}

LRESULT UrlLabelWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEMOVE:
        PointerAt(point);
        if (pointerInside_ && !trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        // While the pointer is captured its moves say where it is.
        if (GetCapture() != window) PointerAt(POINT{-1, -1});
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(window);
        label_.MouseDown(MouseButton::Left);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window) ReleaseCapture();
        label_.MouseUp(MouseButton::Left, point.x, point.y);
        return 0;
    case WM_RBUTTONDOWN:
        label_.MouseDown(MouseButton::Right);
        return 0;
    case WM_RBUTTONUP:
        label_.MouseUp(MouseButton::Right, point.x, point.y);
        return 0;
    case WM_MBUTTONDOWN:
        label_.MouseDown(MouseButton::Middle);
        return 0;
    case WM_MBUTTONUP:
        label_.MouseUp(MouseButton::Middle, point.x, point.y);
        return 0;
    }
    return LabelWindow::Handle(window, message, wParam, lParam);
}

}  // namespace ramvel::win32
