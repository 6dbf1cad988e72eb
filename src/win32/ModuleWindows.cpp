// The module's shared window classes and holding window.
#include "win32/ModuleWindows.h"

#include <commctrl.h>

namespace ramvel::win32 {

namespace {

constexpr wchar_t kHolderClass[] = L"RamvelHolder";

int users = 0;
HWND holder = nullptr;

}  // namespace

HWND AcquireModuleWindows(HINSTANCE module, WNDPROC formProc) {
    if (users++ == 0) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);

        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.style = CS_DBLCLKS;
        form.lpfnWndProc = formProc;
        form.hInstance = module;
        form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        form.lpszClassName = kFormClass;
        RegisterClassExW(&form);

        WNDCLASSEXW hold{};
        hold.cbSize = sizeof hold;
        hold.lpfnWndProc = DefWindowProcW;
        hold.hInstance = module;
        hold.lpszClassName = kHolderClass;
        RegisterClassExW(&hold);
        holder = CreateWindowExW(WS_EX_TOOLWINDOW, kHolderClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, module,
                                 nullptr);
    }
    return holder;
}

void ReleaseModuleWindows(HINSTANCE module) {
    if (users == 0 || --users > 0) return;
    if (holder) DestroyWindow(holder);
    holder = nullptr;
    UnregisterClassW(kFormClass, module);
    UnregisterClassW(kHolderClass, module);
}

}  // namespace ramvel::win32
