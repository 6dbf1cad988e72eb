// Text labels of the module's forms.
#include "win32/LabelWindow.h"

#include "about/UrlLabel.h"
#include "control/RamvelError.h"
#include "win32/CursorTable.h"
#include "win32/FormFonts.h"

namespace ramvel::win32 {
namespace {

// Left aligned, tabs expanded, "&" drawn as itself.
constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_EXPANDTABS | DT_NOPREFIX;

HCURSOR CursorShape(std::int16_t id) {
    if (const HCURSOR registered = RegisteredCursor(id)) return registered;
    return LoadCursorW(nullptr, id == crHandPoint ? IDC_HAND : IDC_ARROW);
}

bool SameFace(const FontSettings& a, const FontSettings& b) {
    return a.name == b.name && a.height == b.height && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline && a.strikeout == b.strikeout && a.charset == b.charset;
}

}  // namespace

WNDCLASSEXW LabelWindow::WindowClass(HINSTANCE module, const wchar_t* name) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = name;
    return windowClass;
}

LabelWindow::LabelWindow(HWND parent, POINT position, std::u16string_view caption, const FontSettings& font,
                         COLORREF background, std::int16_t cursor, const wchar_t* windowClass)
    : background_(CreateSolidBrush(background)), cursor_(CursorShape(cursor)) {
    const std::wstring text(caption.begin(), caption.end());
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    window_ = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS, position.x, position.y, 0, 0,
                              parent, nullptr, module, this);
    if (!window_) {
        const DWORD error = GetLastError();
        throw RamvelError(u"Cannot create a label of the about dialog",
                          error ? static_cast<std::int32_t>(HRESULT_FROM_WIN32(error)) : kEUnexpected);
    }
    ApplyFont(font);
}

LabelWindow::~LabelWindow() {
    if (window_) DestroyWindow(window_);
}

SIZE LabelWindow::Size() const {
    RECT client{};
    GetClientRect(window_, &client);
    return {client.right, client.bottom};
}

void LabelWindow::Show(bool visible) { ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE); }

void LabelWindow::ApplyFont(const FontSettings& font) {
    const bool newFace = !font_ || !SameFace(font, settings_);
    settings_ = font;
    if (newFace) {
        font_ = CreateFormFont(font);
        FitToText();
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void LabelWindow::FitToText() {
    const int length = GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window_, text.data(), length + 1);
    const HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, font_.get());
    RECT bounds{};
    DrawTextW(dc, text.c_str(), length, &bounds, kTextFormat | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    SetWindowPos(window_, nullptr, 0, 0, bounds.right, bounds.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LabelWindow::Paint(HDC dc) const {
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, background_.get());
    const int length = GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window_, text.data(), length + 1);
    const HGDIOBJ old = SelectObject(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(settings_.colour));
    DrawTextW(dc, text.c_str(), length, &client, kTextFormat);
    SelectObject(dc, old);
}

LRESULT LabelWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!window_) window_ = window;  // messages of CreateWindowExW itself
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // painted with the text
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window_, &paint);
        Paint(dc);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.get());
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) break;
        SetCursor(cursor_);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ramvel::win32
