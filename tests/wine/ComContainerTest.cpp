// A real container: Wine's ATL hosts the control in an "AtlAxWin" window, activates it in
// place, resizes it and destroys it.
#include "HostedControl.h"

#include <commctrl.h>
#include <ocidl.h>

using namespace comtest;

namespace {

std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

std::string ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return Size(r.right, r.bottom);
}

std::string WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return Size(r.right - r.left, r.bottom - r.top);
}

// Draws the control through IViewObject into a bitmap filled with `fill`; counts the pixels
// the drawing changed.
int ChangedPixels(IUnknown* control, int width, int height, COLORREF fill) {
    auto view = ramvel::server::QueryAs<IViewObject>(control);
    if (!view) return -1;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    RECTL bounds{0, 0, width, height};
    int changed = -1;
    if (view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0) == S_OK) {
        changed = 0;
        for (int y = 0; y < height; y += 4)
            for (int x = 0; x < width; x += 4) changed += GetPixel(dc, x, y) != fill;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return changed;
}

}  // namespace

int main() {
    Apartment apartment;
    const AtlAxGetControlFn getControl = LoadAtlHosting();

    HWND frame = CreateWindowExW(0, L"STATIC", L"Ramvel container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND host = CreateWindowExW(0, L"AtlAxWin", L"RamvelProj1.Ramvel", WS_CHILD | WS_VISIBLE, 10, 10, 300, 200, frame,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!host) winecheck::Abort("the AtlAxWin window was not created");
    Pump();

    ComPtr<IUnknown> unknown;
    ComPtr<IRamvel> control;
    HWND form = nullptr, tree = nullptr;
    RAMVEL_CASE("activated in place") {
        EXPECT_HR(getControl(host, unknown.Put()), S_OK);
        control = ramvel::server::QueryAs<IRamvel>(unknown.Get());
        if (!control) winecheck::Abort("the hosted object is not a Ramvel control");
        auto window = ramvel::server::QueryAs<IOleInPlaceObject>(unknown.Get());
        EXPECT_HR(window->GetWindow(&form), S_OK);
        EXPECT_TRUE(IsWindow(form));
        EXPECT_TRUE(GetParent(form) == host);
        EXPECT_TRUE(IsWindowVisible(form));
        tree = FindWindowExW(form, nullptr, WC_TREEVIEWW, nullptr);
        EXPECT_TRUE(tree != nullptr);
        // The form fills the site; its thin border (the initial border style) takes its share.
        EXPECT_EQ(WindowSize(form), ClientSize(host));
        EXPECT_EQ(ClientSize(tree), ClientSize(form));
    }

    RAMVEL_CASE("the hosted control serves calls and draws") {
        Bstr parm = MakeBstr(L"0\tOne\n1\tTwo\n0\tThree");
        EXPECT_HR(control->AddNodes(parm.Get()), S_OK);
        Pump();
        EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 2);  // the two roots are shown
        EXPECT_TRUE(ChangedPixels(unknown.Get(), 300, 200, RGB(255, 0, 255)) > 0);
    }

    RAMVEL_CASE("resizing the container lays the form out again") {
        struct {
            int width, height;
        } sizes[] = {{400, 250}, {120, 90}, {500, 300}};
        for (auto& s : sizes) {
            SCOPED_TRACE(Size(s.width, s.height));
            MoveWindow(host, 10, 10, s.width, s.height, TRUE);
            Pump();
            EXPECT_EQ(WindowSize(form), Size(s.width, s.height));
            EXPECT_EQ(ClientSize(tree), ClientSize(form));
        }
    }

    RAMVEL_CASE("destroying the container closes the control") {
        DestroyWindow(host);
        Pump();
        EXPECT_FALSE(IsWindow(host));
        EXPECT_FALSE(IsWindowVisible(form));
        EXPECT_TRUE(!IsWindow(form) || GetParent(form) != host);
        auto window = ramvel::server::QueryAs<IOleInPlaceObject>(unknown.Get());
        HWND none = nullptr;
        EXPECT_HR(window->GetWindow(&none), E_FAIL);  // no longer active in place
        LONG count = 0;
        EXPECT_HR(control->ChildrenNumber(0, &count), S_OK);  // the object itself lives on
        EXPECT_EQ(count, 3);
    }
    control.Reset();
    unknown.Reset();
    DestroyWindow(frame);
    Pump();
    return winecheck::Report();
}
