// The demo's panel of live switches: each one sets a property of the Ramvel control at once,
// then the panel reads the control back, so it shows what the control made of the change.
#pragma once

#include <windows.h>

#include <string>

#include "Ramvel_h.h"

class SwitchPanel {
public:
    static constexpr int kHeight = 80;  // the rows' height, in pixels

    // Creates the switches as children of `parent`. The caller keeps `control` alive while
    // the panel is in use; `log` reports a property the control refused.
    SwitchPanel(HWND parent, IRamvel* control, void (*log)(const std::wstring&));

    // Places the rows from (left, top); they take kHeight pixels and fit in 380 across.
    void Layout(int left, int top);

    // A WM_COMMAND: sets the property of the switch it came from. False when it came from
    // another window.
    bool Command(HWND from, WORD code);

    // What a user might try first: lines off, then Tahoma 10 on light yellow.
    void Tour();

private:
    HWND Add(const wchar_t* windowClass, const wchar_t* text, DWORD style);
    void Check(const wchar_t* property, HRESULT result);
    void ReadBack();

    HWND parent_;
    IRamvel* control_;
    void (*log_)(const std::wstring&);
    HWND lines_, buttons_, track_, images_;
    HWND faceLabel_, face_, sizeLabel_, size_;
    HWND listLabel_, list_, colourLabel_, colour_;
};
