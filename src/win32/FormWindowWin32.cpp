// The control's form as the properties set it up: styles, font, colours, cursor, border.
#include "win32/ControlForm.h"

#include <commctrl.h>

#include <string>

#include "win32/CursorTable.h"
#include "win32/FormFonts.h"
#include "win32/TreeViewWin32.h"

namespace ramvel::win32 {
namespace {

void SetStyleBits(HWND window, int which, LONG_PTR bits, bool on) {
    const LONG_PTR style = GetWindowLongPtrW(window, which);
    const LONG_PTR wanted = on ? style | bits : style & ~bits;
    if (wanted != style) SetWindowLongPtrW(window, which, wanted);
}

// The system cursor for a cursor identifier of the form; 0 for none, and the arrow for an
// identifier that names no cursor.
HCURSOR CursorFor(std::int16_t id) {
    // The shapes the module registered (the hand cursors 15000 to 15004) come first.
    if (const HCURSOR registered = RegisteredCursor(id)) return registered;
    const wchar_t* shape = IDC_ARROW;
    switch (id) {
    case -1: return nullptr;
    case -3: shape = IDC_CROSS; break;
    case -4: shape = IDC_IBEAM; break;
    case -6: shape = IDC_SIZENESW; break;
    case -7: case -15: shape = IDC_SIZENS; break;  // vertical split
    case -8: shape = IDC_SIZENWSE; break;
    case -9: case -14: shape = IDC_SIZEWE; break;  // horizontal split
    case -10: shape = IDC_UPARROW; break;
    case -11: case -17: shape = IDC_WAIT; break;   // hourglass, SQL wait
    case -13: case -18: shape = IDC_NO; break;     // no drop, no
    case -19: shape = IDC_APPSTARTING; break;
    case -20: shape = IDC_HELP; break;
    case -21: shape = IDC_HAND; break;
    case -22: shape = IDC_SIZEALL; break;
    default: break;                                 // arrow, drag, multi-drag, unknown
    }
    return LoadCursorW(nullptr, shape);
}

}  // namespace

std::int32_t ControlForm::ScreenPixelsPerInch() const {
    const HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return pixelsPerInch > 0 ? pixelsPerInch : 96;
}

bool ControlForm::IsVisible() const { return form_ && IsWindowVisible(form_); }

void ControlForm::ApplyTreeSwitches(bool lines, bool buttons, bool track) {
    const HWND tree = TreeWindow();
    if (!tree) return;
    SetStyleBits(tree, GWL_STYLE, TVS_HASLINES, lines);
    SetStyleBits(tree, GWL_STYLE, TVS_HASBUTTONS, buttons);
    SetStyleBits(tree, GWL_STYLE, TVS_TRACKSELECT, track);
    InvalidateRect(tree, nullptr, TRUE);
}

void ControlForm::ApplyTreeFont(const FontSettings& settings) {
    const HWND tree = TreeWindow();
    if (!tree) return;
    LOGFONTW face{};
    face.lfHeight = settings.height;
    face.lfWeight = settings.bold ? FW_BOLD : FW_NORMAL;
    face.lfItalic = settings.italic;
    face.lfUnderline = settings.underline;
    face.lfStrikeOut = settings.strikeout;
    face.lfCharSet = settings.charset;
    const std::wstring name(settings.name.begin(), settings.name.end());
    wcsncpy_s(face.lfFaceName, name.c_str(), _TRUNCATE);
    UniqueFont font(CreateFontIndirectW(&face));
    if (!font) return;
    SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    treeFont_ = std::move(font);  // the old one goes once the tree view no longer uses it
    SendMessageW(tree, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ToColorRef(settings.colour)));
}

void ControlForm::ApplyColour(std::uint32_t colour) {
    const COLORREF rgb = ToColorRef(colour);
    background_.reset(CreateSolidBrush(rgb));
    if (form_) InvalidateRect(form_, nullptr, TRUE);
    if (const HWND tree = TreeWindow()) SendMessageW(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(rgb));
}

void ControlForm::ApplyCaption(std::u16string_view caption) {
    if (!form_) return;
    const std::wstring text(caption.begin(), caption.end());
    SetWindowTextW(form_, text.c_str());
}

void ControlForm::ApplyVisible(bool visible) { Show(visible); }

void ControlForm::ApplyEnabled(bool enabled) {
    // Both windows: a disabled form's tree view takes no input either.
    if (const HWND tree = TreeWindow()) EnableWindow(tree, enabled);
    if (form_) EnableWindow(form_, enabled);
}

void ControlForm::ApplyBorderStyle(std::uint8_t style) {
    if (!form_) return;
    // The windows keep their contents: only the frame changes.
    SetStyleBits(form_, GWL_STYLE, WS_BORDER, style == 1);
    SetStyleBits(form_, GWL_EXSTYLE, WS_EX_CLIENTEDGE, style == 2);
    SetStyleBits(form_, GWL_STYLE, WS_DLGFRAME, style == 3);
    SetStyleBits(form_, GWL_EXSTYLE, WS_EX_WINDOWEDGE, style == 3);
    SetWindowPos(form_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ControlForm::ApplyBiDiMode(std::uint8_t mode) {
    const HWND tree = TreeWindow();
    if (!tree) return;
    // Right to left in place: the tree's layout mirrors (modes 1 and 2) or its reading order
    // turns (mode 3); its items stay.
    SetStyleBits(tree, GWL_EXSTYLE, WS_EX_LAYOUTRTL, mode == 1 || mode == 2);
    SetStyleBits(tree, GWL_EXSTYLE, WS_EX_RTLREADING, mode == 3);
    InvalidateRect(tree, nullptr, TRUE);
}

void ControlForm::ApplyCursor(std::int16_t cursor) {
    cursor_ = cursor;
    if (tree_) tree_->SetCursorOverride(cursor != 0, CursorFor(cursor));
}

bool ControlForm::ShowCursor() const {
    if (cursor_ == 0) return false;
    SetCursor(CursorFor(cursor_));
    return true;
}

void ControlForm::ApplyDoubleBuffered(bool on) {
    if (!tree_) return;
    tree_->SetDoubleBuffered(on);
    InvalidateRect(tree_->Window(), nullptr, TRUE);
}

void ControlForm::ApplyAutoScroll(bool on) {
    if (!form_) return;
    // The tree view fills the form, so the children never reach past it: no scroll range.
    if (!on) {
        SetScrollRange(form_, SB_HORZ, 0, 0, TRUE);
        SetScrollRange(form_, SB_VERT, 0, 0, TRUE);
    }
}

void ControlForm::ApplyAutoSize(bool on) {
    const HWND tree = TreeWindow();
    if (!on || !form_ || !tree) return;
    // The form takes the size its only child needs: the tree view's.
    RECT treeRect, client, window;
    GetWindowRect(tree, &treeRect);
    GetClientRect(form_, &client);
    GetWindowRect(form_, &window);
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    SetWindowPos(form_, nullptr, 0, 0, treeRect.right - treeRect.left + frameWidth,
                 treeRect.bottom - treeRect.top + frameHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ramvel::win32
