// Property-change notifications: the container's property browser and data binding hear of
// every change of a saved setting through the IPropertyNotifySink connection point.
#include "server/ControlObject.h"

namespace ramvel::server {

bool RamvelControl::RequestEdit(DISPID id) {
    if (frozen_ > 0) return true;
    for (const ComPtr<IUnknown>& sink : notifyPoint_.Sinks())
        if (static_cast<IPropertyNotifySink*>(sink.Get())->OnRequestEdit(id) == S_FALSE) return false;
    return true;
}

void RamvelControl::SettingChanged(DISPID id) {
    dirty_ = true;
    // A design surface that draws the control through IViewObject draws it again.
    if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
    if (frozen_ > 0) return;
    for (const ComPtr<IUnknown>& sink : notifyPoint_.Sinks())
        static_cast<IPropertyNotifySink*>(sink.Get())->OnChanged(id);
}

// The bound font object changed (or was just bound): the form's font follows it, and a real
// change made through the object counts as a change of Font.
void RamvelControl::FormFontChanged(const FontSettings& font) {
    if (!control_) return;
    const bool changed = !(font == control_->FormFont());
    control_->SetFormFont(font);
    if (changed && !fontPut_) SettingChanged(DISPID_FONT);
}

}  // namespace ramvel::server
