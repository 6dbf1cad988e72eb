// A short route for the hottest late-bound calls: the navigation members that take one node
// handle or index. An exact, common argument shape goes straight to the member; every other
// shape (named arguments, strings to convert, missing arguments...) takes the type library's
// route, which converts and checks everything.
#include "RamvelDispIds.h"
#include "server/ControlObject.h"

namespace ramvel::server {
namespace {

// Integers as script engines and hosts pass them: by value or by reference.
bool ReadLong(const VARIANT& v, LONG& out) {
    switch (V_VT(&v)) {
    case VT_I4: out = V_I4(&v); return true;
    case VT_I2: out = V_I2(&v); return true;
    case VT_UI1: out = V_UI1(&v); return true;
    case VT_I4 | VT_BYREF: out = *V_I4REF(&v); return true;
    case VT_I2 | VT_BYREF: out = *V_I2REF(&v); return true;
    case VT_VARIANT | VT_BYREF: return V_VARIANTREF(&v) && ReadLong(*V_VARIANTREF(&v), out);
    default: return false;
    }
}

using LongMember = HRESULT (STDMETHODCALLTYPE RamvelControl::*)(LONG, LONG*);
using TextMember = HRESULT (STDMETHODCALLTYPE RamvelControl::*)(LONG, BSTR*);

struct LongEntry {
    DISPID id;
    LongMember member;
};
struct TextEntry {
    DISPID id;
    TextMember member;
};

constexpr LongEntry kLongMembers[] = {
    {DISPID_RAMVEL_CHILDRENNUMBER, &RamvelControl::ChildrenNumber},
    {DISPID_RAMVEL_FIRSTCHILD, &RamvelControl::FirstChild},
    {DISPID_RAMVEL_LASTCHILD, &RamvelControl::LastChild},
    {DISPID_RAMVEL_NEXTSIBLING, &RamvelControl::NextSibling},
};
constexpr TextEntry kTextMembers[] = {
    {DISPID_RAMVEL_GETNODE, &RamvelControl::GetNode},
    {DISPID_RAMVEL_GETHNODE, &RamvelControl::GethNode},
    {DISPID_RAMVEL_GOTONODE, &RamvelControl::GoToNode},
    {DISPID_RAMVEL_GOTOHNODE, &RamvelControl::GotohNode},
    {DISPID_RAMVEL_GETPARENT, &RamvelControl::getParent},
};

}  // namespace

bool RamvelControl::TryFastInvoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, HRESULT& hr) {
    LONG argument = 0;
    if (!(flags & DISPATCH_METHOD) || !params || params->cNamedArgs != 0 || params->cArgs != 1 ||
        !ReadLong(params->rgvarg[0], argument))
        return false;
    for (const LongEntry& entry : kLongMembers) {
        if (entry.id != id) continue;
        LONG value = 0;
        hr = (this->*entry.member)(argument, &value);
        if (SUCCEEDED(hr) && result) {
            VariantInit(result);
            V_VT(result) = VT_I4;
            V_I4(result) = value;
        }
        return true;
    }
    for (const TextEntry& entry : kTextMembers) {
        if (entry.id != id) continue;
        BSTR value = nullptr;
        hr = (this->*entry.member)(argument, &value);
        if (SUCCEEDED(hr) && result) {
            VariantInit(result);
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = value;
        } else {
            SysFreeString(value);
        }
        return true;
    }
    return false;
}

}  // namespace ramvel::server
