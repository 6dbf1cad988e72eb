#pragma once
// Reading the about dialog from another thread while AboutBox holds the calling thread in its
// modal loop: finding it, its child windows in z-order, their fonts and drawn pixels, its
// tooltip, and posting the input that clicks a link or closes it.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace abouttest {

inline constexpr COLORREF kDialogColour = RGB(255, 255, 164);
inline constexpr COLORREF kBlue = RGB(0, 0, 255), kNavy = RGB(0, 0, 128), kRed = RGB(255, 0, 0);

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// Calls visit(window) for each top-level window until it returns false. The callback has the
// system's calling convention, which a lambda's conversion to a function pointer lacks on x86.
template <class Visit>
void ForEachTopLevelWindow(Visit visit) {
    struct Enumeration {
        static BOOL CALLBACK Next(HWND window, LPARAM visit) { return (*reinterpret_cast<Visit*>(visit))(window); }
    };
    EnumWindows(Enumeration::Next, reinterpret_cast<LPARAM>(&visit));
}

// The visible top-level window of this process captioned "About...", waiting up to `milliseconds`.
inline HWND FindAboutDialog(DWORD milliseconds) {
    struct Search {
        HWND found = nullptr;
    } search;
    const DWORD start = GetTickCount();
    while (!search.found && GetTickCount() - start < milliseconds) {
        ForEachTopLevelWindow([&](HWND window) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(window) || TextOf(window) != L"About...")
                return true;
            search.found = window;
            return false;
        });
        if (!search.found) Sleep(20);
    }
    return search.found;
}

// Visible dialog boxes of this process (class #32770), such as message boxes.
inline std::vector<std::wstring> DialogBoxesShown() {
    std::vector<std::wstring> boxes;
    ForEachTopLevelWindow([&](HWND window) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && ClassOf(window) == L"#32770")
            boxes.push_back(TextOf(window));
        return true;
    });
    return boxes;
}

inline LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (handle) GetObjectW(handle, sizeof font, &font);
    return font;
}

// A child window as the watcher finds it: position in the dialog's client area.
struct Child {
    HWND window = nullptr;
    std::wstring className, text;
    bool visible = false;
    RECT bounds{};
    int id = 0;
    LOGFONTW font{};
};

// The dialog's child windows, topmost first.
inline std::vector<Child> ChildrenOf(HWND dialog) {
    std::vector<Child> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Child c{child, ClassOf(child), TextOf(child), IsWindowVisible(child) != FALSE, {}, GetDlgCtrlID(child),
                FontOf(child)};
        GetWindowRect(child, &c.bounds);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.bounds), 2);
        children.push_back(c);
    }
    return children;
}

inline const Child* FindChild(const std::vector<Child>& children, std::wstring_view text) {
    for (const auto& child : children)
        if (child.text == text) return &child;
    return nullptr;
}

// What a window draws of its client area (WM_PRINT, children included), as 0x00BBGGRR pixels.
struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> colours;

    COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF colour) const {
        int n = 0;
        for (COLORREF c : colours) n += c == colour;
        return n;
    }
    bool operator==(const Pixels&) const = default;
};

// Draws into a fresh 32-bit bitmap of the window's client size, filled with black first.
template <typename Draw>
Pixels Capture(HWND window, Draw draw) {
    RECT client{};
    GetClientRect(window, &client);
    Pixels pixels{client.right, client.bottom, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, pixels.width, pixels.height, BLACKNESS);
    draw(dc);
    GdiFlush();
    const auto* bgra = static_cast<const BYTE*>(bits);
    for (int i = 0; i < pixels.width * pixels.height; ++i)
        pixels.colours.push_back(RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

inline Pixels Render(HWND window) {
    return Capture(window, [&](HDC dc) { PrintWindow(window, dc, PW_CLIENTONLY); });
}

// Which of the link colours a label shows.
struct LinkColours {
    bool blue = false, navy = false, red = false;
    bool operator==(const LinkColours&) const = default;
};
inline std::string Describe(const LinkColours& c) {
    return std::string("{") + (c.blue ? " blue" : "") + (c.navy ? " navy" : "") + (c.red ? " red" : "") + " }";
}
inline LinkColours LinkColoursOf(HWND label) {
    const Pixels pixels = Render(label);
    return {pixels.Count(kBlue) > 0, pixels.Count(kNavy) > 0, pixels.Count(kRed) > 0};
}

inline bool FaceInstalled(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy_s(wanted.lfFaceName, face, _TRUNCATE);
    bool found = false;
    struct Family {
        static int CALLBACK Found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        }
    };
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, Family::Found, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The text of the one tool of the tooltip window the dialog owns, or "(no tooltip)".
inline std::wstring TooltipOf(HWND dialog) {
    HWND found = nullptr;
    ForEachTopLevelWindow([&](HWND window) {
        if (GetWindow(window, GW_OWNER) == dialog && ClassOf(window) == TOOLTIPS_CLASSW) found = window;
        return found == nullptr;
    });
    if (!found) return L"(no tooltip)";
    if (SendMessageW(found, TTM_GETTOOLCOUNT, 0, 0) != 1) return L"(not one tool)";
    wchar_t text[256] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    SendMessageW(found, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// A left click at (2, 2) in a window, as the mouse would send it.
inline void PostClick(HWND window) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

// A key pressed and released on the window that has the focus on `thread`.
inline void PostKey(DWORD thread, WORD key) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(thread, &gui);
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(gui.hwndFocus, WM_KEYDOWN, key, MAKELPARAM(1, scan));
    PostMessageW(gui.hwndFocus, WM_KEYUP, key, MAKELPARAM(1, scan | KF_REPEAT | KF_UP));
}

// Polls until `done` holds, up to `milliseconds`; returns `done()`.
template <typename Done>
bool WaitFor(Done done, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace abouttest
