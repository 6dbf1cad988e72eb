#pragma once
// A picture of one of the module's forms, as a child window sized to its bitmap: the bitmap is
// drawn transparently (the colour of its bottom-left pixel lets the form's colour through), the
// hand-pointer cursor shows over it and a tooltip gives its hint. A click does nothing.
#include <windows.h>

#include <string>

#include "win32/Handles.h"
#include "win32/WindowImpl.h"

namespace ramvel::win32 {

inline constexpr wchar_t kPictureClass[] = L"TImage";

class PictureWindow : private WindowImpl<PictureWindow> {
public:
    // Bitmap resource `resource` of `module` at `position` in `parent`. Throws RamvelError when
    // the bitmap cannot be loaded or the windows cannot be made.
    PictureWindow(HWND parent, HINSTANCE module, const wchar_t* resource, POINT position, COLORREF background,
                  std::u16string_view hint);
    ~PictureWindow();
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    static WNDCLASSEXW WindowClass(HINSTANCE module);

    HWND Window() const { return window_; }

private:
    friend class WindowImpl<PictureWindow>;
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;

    HWND window_ = nullptr;
    UniqueWindow tooltip_;
    UniqueBitmap bitmap_;
    SIZE size_{};
    COLORREF transparent_ = 0;
    UniqueBrush background_;
    std::wstring hint_;
};

}  // namespace ramvel::win32
