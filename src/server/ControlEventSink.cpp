#include "server/ControlEventSink.h"

namespace ramvel::server {
namespace {

// One late-bound method call with positional arguments (given last to first, as DISPPARAMS
// wants). The wrapper stays referenced for the whole call, so a host that disconnects from
// inside its handler does not pull it away mid-call.
void Call(ComPtr<IDispatch> events, EventId id, VARIANT* args, UINT argCount, bool wantsResult) {
    DISPPARAMS params{args, nullptr, argCount, 0};
    VARIANT result;
    VariantInit(&result);
    events->Invoke(static_cast<DISPID>(id), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                   wantsResult ? &result : nullptr, nullptr, nullptr);
    VariantClear(&result);
}

}  // namespace

void ControlEventSink::RaiseText(EventId id, const std::u16string& text) {
    Bstr value = ToBstr(text);
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = value.Get();
    Call(FEvents, id, &arg, 1, true);
}

void ControlEventSink::Raise(EventId id, bool wantsResult) { Call(FEvents, id, nullptr, 0, wantsResult); }

void ControlEventSink::RaiseKey(EventId id, std::int16_t& key) {
    SHORT copy = key;
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_I2 | VT_BYREF;
    V_I2REF(&arg) = &copy;
    Call(FEvents, id, &arg, 1, false);
    key = copy;
}

}  // namespace ramvel::server
