#pragma once
// A control of the real module hosted the way a form would host it: Wine's ATL creates it in an
// "AtlAxWin" window and activates it in place; the test reaches its tree view window.
#include "ComTestSupport.h"  // windows.h, which commctrl.h needs first

#include <commctrl.h>
#include <ocidl.h>

namespace comtest {

// Lets pending messages through; never waits.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

// Loads Wine's ATL, registers its "AtlAxWin" window class (once per process: a later call, or
// one from another thread, finds it registered) and gives AtlAxGetControl.
inline AtlAxGetControlFn LoadAtlHosting() {
    HMODULE atl = LoadLibraryW(L"atl.dll");
    if (!atl) winecheck::Abort("atl.dll not found");
    auto init = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto getControl =
        reinterpret_cast<AtlAxGetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (!init || !getControl || (!init() && !GetClassInfoExW(nullptr, L"AtlAxWin", &registered)))
        winecheck::Abort("atl.dll cannot host controls");
    return getControl;
}

// A frame window in which Wine's ATL hosts controls ("AtlAxWin" windows).
class Container {
public:
    Container() : getControl(LoadAtlHosting()) {
        frame = CreateWindowExW(0, L"STATIC", L"Ramvel container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Container() { DestroyWindow(frame); }

    AtlAxGetControlFn getControl;
    HWND frame = nullptr;
};

// One control created and activated in place by the container, with its tree view.
class HostedControl {
public:
    explicit HostedControl(Container& container) {
        host = CreateWindowExW(0, L"AtlAxWin", L"RamvelProj1.Ramvel", WS_CHILD | WS_VISIBLE, 10, 10, 300, 200,
                               container.frame, nullptr, GetModuleHandleW(nullptr), nullptr);
        Pump();
        ComPtr<IUnknown> unknown;
        if (!host || container.getControl(host, unknown.Put()) != S_OK)
            winecheck::Abort("the container made no control");
        control = ramvel::server::QueryAs<IRamvel>(unknown.Get());
        auto window = ramvel::server::QueryAs<IOleInPlaceObject>(unknown.Get());
        HWND form = nullptr;
        if (!control || !window || window->GetWindow(&form) != S_OK)
            winecheck::Abort("the control is not active in place");
        tree = FindWindowExW(form, nullptr, WC_TREEVIEWW, nullptr);
        if (!tree) winecheck::Abort("the control's form holds no tree view");
    }
    ~HostedControl() {
        DestroyWindow(host);
        Pump();
    }
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    IRamvel* operator->() const { return control.Get(); }
    HIMAGELIST Normal() const { return List(TVSIL_NORMAL); }
    HIMAGELIST State() const { return List(TVSIL_STATE); }
    HTREEITEM Root() const { return TreeView_GetRoot(tree); }
    // The normal list's image count, -1 when the tree view has none.
    int NormalCount() const { return Normal() ? ImageList_GetImageCount(Normal()) : -1; }
    // The cursor the tree view shows with the pointer over its middle (the size-all arrow,
    // which no test expects, is set first so that a cursor left alone shows).
    HCURSOR ShownCursor() const {
        RECT area{};
        GetWindowRect(tree, &area);
        SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
        Pump();
        SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
        SendMessageW(tree, WM_SETCURSOR, reinterpret_cast<WPARAM>(tree), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }

    HWND host = nullptr, tree = nullptr;
    ComPtr<IRamvel> control;

private:
    HIMAGELIST List(WPARAM which) const {
        return reinterpret_cast<HIMAGELIST>(SendMessageW(tree, TVM_GETIMAGELIST, which, 0));
    }
};

}  // namespace comtest
