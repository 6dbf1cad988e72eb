// The module's shared window classes and each thread's holding window.
#include "win32/ModuleWindows.h"

#include <commctrl.h>

#include <mutex>

namespace ramvel::win32 {

namespace {

constexpr wchar_t kHolderClass[] = L"RamvelHolder";

// The classes belong to the process; a window belongs to the thread that made it, and a window
// never parents another thread's, so every thread holds its forms in a holding window of its own.
std::mutex classesLock;
int classUsers = 0;
thread_local int threadUsers = 0;
thread_local HWND holder = nullptr;

void RegisterClasses(HINSTANCE module, WNDPROC formProc) {
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
}

}  // namespace

HWND AcquireModuleWindows(HINSTANCE module, WNDPROC formProc) {
    {
        std::lock_guard<std::mutex> lock(classesLock);
        if (classUsers++ == 0) RegisterClasses(module, formProc);
    }
    if (threadUsers++ == 0)
        holder = CreateWindowExW(WS_EX_TOOLWINDOW, kHolderClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, module,
                                 nullptr);
    return holder;
}

void ReleaseModuleWindows(HINSTANCE module) {
    if (threadUsers == 0) return;
    if (--threadUsers == 0) {
        if (holder) DestroyWindow(holder);
        holder = nullptr;
    }
    std::lock_guard<std::mutex> lock(classesLock);
    if (--classUsers > 0) return;
    UnregisterClassW(kFormClass, module);
    UnregisterClassW(kHolderClass, module);
}

}  // namespace ramvel::win32
