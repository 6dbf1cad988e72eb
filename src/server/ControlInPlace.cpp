// In-place activation: the form becomes a child of the container's window, laid out from the
// rectangles the site gives, and goes back under the module's holding window on deactivation.
#include "control/RamvelError.h"
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {
namespace {

struct WindowContext {
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{};
    RECT clip{};
};

WindowContext GetContext(IOleInPlaceSite& site) {
    WindowContext context;
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    ThrowIfFailed(site.GetWindowContext(context.frame.Put(), context.document.Put(), &context.position,
                                        &context.clip, &frameInfo));
    return context;
}

}  // namespace

void RamvelControl::ActivateInPlace(bool uiActivate) {
    if (!site_) throw RamvelError(u"", E_UNEXPECTED);
    if (!inPlaceActive_) {
        auto site = QueryAs<IOleInPlaceSite>(site_.Get());
        if (!site) throw RamvelError(u"", E_NOINTERFACE);
        if (site->CanInPlaceActivate() != S_OK) throw RamvelError(u"", E_FAIL);
        ThrowIfFailed(site->OnInPlaceActivate());
        inPlaceSite_ = site;
        inPlaceActive_ = true;
        HWND parent = nullptr;
        ThrowIfFailed(site->GetWindow(&parent));
        WindowContext context = GetContext(*site.Get());
        form_->SetParentWindow(parent);
        form_->SetBounds(context.position);
        form_->Show(true);
        messageBox_.SetOwnerWindow(form_->Window());
    }
    if (uiActivate && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
        WindowContext context = GetContext(*inPlaceSite_.Get());
        auto* active = static_cast<IOleInPlaceActiveObject*>(this);
        if (context.frame) context.frame->SetActiveObject(active, nullptr);
        if (context.document) context.document->SetActiveObject(active, nullptr);
        SetFocus(form_->TreeWindow());
    }
}

void RamvelControl::DeactivateInPlace() {
    if (!inPlaceActive_) return;
    UIDeactivate();
    inPlaceActive_ = false;
    form_->Show(false);
    form_->SetParentWindow(nullptr);
    messageBox_.SetOwnerWindow(nullptr);
    if (auto site = std::move(inPlaceSite_)) site->OnInPlaceDeactivate();
}

HRESULT RamvelControl::GetWindow(HWND* window) {
    return Member([&]() -> HRESULT {
        if (!window) return E_POINTER;
        *window = nullptr;
        if (!inPlaceActive_) return E_FAIL;
        *window = form_->Window();
        return S_OK;
    });
}

// The control has no context help mode.
HRESULT RamvelControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT RamvelControl::InPlaceDeactivate() { return Member([&] { DeactivateInPlace(); }); }

HRESULT RamvelControl::UIDeactivate() {
    return Member([&]() -> HRESULT {
        if (!uiActive_) return S_OK;
        uiActive_ = false;
        if (inPlaceSite_) {
            WindowContext context = GetContext(*inPlaceSite_.Get());
            if (context.frame) context.frame->SetActiveObject(nullptr, nullptr);
            if (context.document) context.document->SetActiveObject(nullptr, nullptr);
            inPlaceSite_->OnUIDeactivate(FALSE);
        }
        return S_OK;
    });
}

HRESULT RamvelControl::SetObjectRects(LPCRECT posRect, LPCRECT) {
    return Member([&]() -> HRESULT {
        if (!posRect) return E_POINTER;
        form_->SetBounds(*posRect);
        return S_OK;
    });
}

// Nothing is undone by reactivation: the control keeps no undo state.
HRESULT RamvelControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

// No accelerators of its own: keys reach the tree view through the normal message flow.
HRESULT RamvelControl::TranslateAccelerator(LPMSG) { return S_FALSE; }

// No menus, toolbars or border space are negotiated by this control.
HRESULT RamvelControl::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT RamvelControl::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT RamvelControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT RamvelControl::EnableModeless(BOOL) { return S_OK; }

}  // namespace ramvel::server
