#pragma once
// What the property tests share: the hosted control's form window, the tree view's font as
// the window holds it, and a sink that records the control's events by name.
#include "HostedControl.h"

#include <olectl.h>

#include <map>

namespace comtest {

// The control's form: the window its in-place object gives.
inline HWND FormOf(IRamvel* control) {
    auto window = ramvel::server::QueryAs<IOleInPlaceObject>(control);
    HWND form = nullptr;
    if (!window || window->GetWindow(&form) != S_OK) return nullptr;
    return form;
}

// The font the tree view draws with, as the window reports it.
inline LOGFONTW TreeFont(HWND tree) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(tree, WM_GETFONT, 0, 0));
    if (!handle || GetObjectW(handle, sizeof font, &font) != sizeof font) font.lfHeight = 0;
    return font;
}

inline int ScreenPixelsPerInch() {
    const HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return pixelsPerInch;
}

// The tests' sizes in points turn into these heights at 96 pixels per inch.
inline void RequireStandardScreen() {
    if (ScreenPixelsPerInch() != 96) winecheck::Abort("the display does not run at 96 pixels per inch");
}

// The control's events as names ("OnExpanded", ...) in the order they came. Painting follows
// the display's own timing and is left out.
class EventRecorder final : public EventSinkBase {
public:
    std::vector<std::string> events;

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        static const std::map<DISPID, const char*> names{
            {1, "OnActivate"},  {3, "OnCreate"},       {4, "OnDblClick"},  {5, "OnDestroy"},
            {6, "OnDeactivate"}, {7, "OnChange"},      {8, "OnCollapsed"}, {9, "OnRightClick"},
            {10, "OnKeyPress"}, {11, "OnClick"},       {16, "OnExpanded"},
        };
        constexpr DISPID kOnPaint = 15;
        if (id != kOnPaint) {
            const auto found = names.find(id);
            events.push_back(found != names.end() ? found->second : "DISPID " + std::to_string(id));
        }
        if (result) VariantInit(result);
        return S_OK;
    }

    std::vector<std::string> Take() { return std::exchange(events, {}); }
};

// Connects a recorder to a control while it lives.
class Connection {
public:
    Connection(IRamvel* control, EventRecorder& recorder) {
        auto container = ramvel::server::QueryAs<IConnectionPointContainer>(control);
        if (!container || FAILED(container->FindConnectionPoint(DIID_IRamvelEvents, point_.Put())) ||
            FAILED(point_->Advise(&recorder, &cookie_)))
            winecheck::Abort("cannot connect to the control's events");
    }
    ~Connection() { point_->Unadvise(cookie_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace comtest
