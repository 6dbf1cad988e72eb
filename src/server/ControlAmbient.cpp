// Design mode and frozen events. A container that designs its form answers the ambient
// UserMode with false: the control still draws, takes property changes and saves, but raises
// no events and its tree takes no clicks or keys. A container that freezes events (counted)
// gets none until it thaws them. A site that does not answer UserMode means run mode.
#include "server/ControlObject.h"
#include "win32/TreeViewWin32.h"

namespace ramvel::server {

void RamvelControl::ReadUserMode() {
    bool userMode = true;
    if (auto ambient = QueryAs<IDispatch>(site_.Get())) {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT value;
        VariantInit(&value);
        VARIANT flag;
        VariantInit(&flag);
        if (SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                      &value, nullptr, nullptr)) &&
            V_VT(&value) != VT_EMPTY && SUCCEEDED(VariantChangeType(&flag, &value, 0, VT_BOOL)))
            userMode = V_BOOL(&flag) != VARIANT_FALSE;
        VariantClear(&value);
        VariantClear(&flag);
    }
    SetDesignMode(!userMode);
}

void RamvelControl::SetDesignMode(bool design) {
    designMode_ = design;
    if (form_) form_->Tree().SetTakesInput(!design);
    UpdateEventHold();
}

void RamvelControl::UpdateEventHold() {
    if (control_) control_->HoldEvents(designMode_ || frozen_ > 0);
}

HRESULT RamvelControl::OnAmbientPropertyChange(DISPID id) {
    return Member([&] {
        if (id == DISPID_UNKNOWN || id == DISPID_AMBIENT_USERMODE) ReadUserMode();
    });
}

HRESULT RamvelControl::FreezeEvents(BOOL freeze) {
    return Member([&] {
        if (freeze)
            ++frozen_;
        else if (frozen_ > 0)
            --frozen_;
        UpdateEventHold();
    });
}

}  // namespace ramvel::server
