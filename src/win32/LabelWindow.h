#pragma once
// A text label of one of the module's forms, as a child window: its caption in its font and
// colour on the form's colour, an ampersand shown as itself, sized to fit its text. Its window
// text is the caption and WM_GETFONT answers its font.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/FormWindow.h"
#include "win32/Handles.h"
#include "win32/WindowImpl.h"

namespace ramvel::win32 {

inline constexpr wchar_t kLabelClass[] = L"TLabel";

class LabelWindow : private WindowImpl<LabelWindow> {
public:
    // The label at `position` in `parent`'s client area, hidden unless `visible`. `cursor`: the
    // cursor id shown over it (0: the arrow). Throws RamvelError when the window cannot be made.
    LabelWindow(HWND parent, POINT position, std::u16string_view caption, const FontSettings& font,
                COLORREF background, std::int16_t cursor = 0, const wchar_t* windowClass = kLabelClass);
    virtual ~LabelWindow();
    LabelWindow(const LabelWindow&) = delete;
    LabelWindow& operator=(const LabelWindow&) = delete;

    // The window class of every label kind (the window procedure dispatches to the object).
    static WNDCLASSEXW WindowClass(HINSTANCE module, const wchar_t* name);

    HWND Window() const { return window_; }
    SIZE Size() const;
    void Show(bool visible);
    // A new font: the caption is measured again, the label resized to fit and redrawn.
    void ApplyFont(const FontSettings& font);

protected:
    virtual LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class WindowImpl<LabelWindow>;
    void Paint(HDC dc) const;
    void FitToText();

    HWND window_ = nullptr;
    FontSettings settings_;
    UniqueFont font_;
    UniqueBrush background_;
    HCURSOR cursor_;
};

}  // namespace ramvel::win32
