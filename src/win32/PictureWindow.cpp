// Pictures of the module's forms.
#include "win32/PictureWindow.h"

#include <commctrl.h>

#include "control/RamvelError.h"

namespace ramvel::win32 {
namespace {

[[noreturn]] void ThrowLastError(const char16_t* what) {
    const DWORD error = GetLastError();
    throw RamvelError(what, error ? static_cast<std::int32_t>(HRESULT_FROM_WIN32(error)) : kEUnexpected);
}

// The colour of the bitmap's bottom-left pixel.
COLORREF BottomLeftColour(HBITMAP bitmap, SIZE size) {
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ old = SelectObject(dc.get(), bitmap);
    const COLORREF colour = GetPixel(dc.get(), 0, size.cy - 1);
    SelectObject(dc.get(), old);
    return colour;
}

}  // namespace

WNDCLASSEXW PictureWindow::WindowClass(HINSTANCE module) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_HAND);  // crHandPoint
    windowClass.lpszClassName = kPictureClass;
    return windowClass;
}

PictureWindow::PictureWindow(HWND parent, HINSTANCE module, const wchar_t* resource, POINT position,
                             COLORREF background, std::u16string_view hint)
    : background_(CreateSolidBrush(background)), hint_(hint.begin(), hint.end()) {
    bitmap_.reset(static_cast<HBITMAP>(LoadImageW(module, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap_) ThrowLastError(u"Cannot load the about dialog's picture");
    BITMAP info{};
    GetObjectW(bitmap_.get(), sizeof info, &info);
    size_ = {info.bmWidth, info.bmHeight};
    transparent_ = BottomLeftColour(bitmap_.get(), size_);

    // The tooltip first: when a window cannot be made, none is left behind pointing at this object.
    tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, module,
                                   nullptr));
    if (!tooltip_) ThrowLastError(u"Cannot create the about dialog's tooltip");
    window_ = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.x, position.y,
                              size_.cx, size_.cy, parent, nullptr, module, this);
    if (!window_) ThrowLastError(u"Cannot create the about dialog's picture");
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32 version
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = hint_.data();
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

PictureWindow::~PictureWindow() {
    if (window_) DestroyWindow(window_);
}

void PictureWindow::Paint(HDC dc) const {
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, background_.get());
    const UniqueDc source(CreateCompatibleDC(dc));
    const HGDIOBJ old = SelectObject(source.get(), bitmap_.get());
    GdiTransparentBlt(dc, 0, 0, size_.cx, size_.cy, source.get(), 0, 0, size_.cx, size_.cy, transparent_);
    SelectObject(source.get(), old);
}

LRESULT PictureWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window_) window_ = window;  // messages of CreateWindowExW itself
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCDESTROY:
        window_ = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ramvel::win32
