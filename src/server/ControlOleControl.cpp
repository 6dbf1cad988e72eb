// IOleControl, ISimpleFrameSite, ISpecifyPropertyPages and IPerPropertyBrowsing: the control
// has no mnemonics, no property pages and no predefined property values. Ambient changes and
// frozen events: ControlAmbient.cpp.
#include "server/ControlObject.h"

namespace ramvel::server {

HRESULT RamvelControl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    *info = {sizeof(CONTROLINFO), nullptr, 0, 0};
    return S_OK;
}

HRESULT RamvelControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

// Messages pass through untouched: S_OK lets the default processing go on.
HRESULT RamvelControl::PreMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result, DWORD* cookie) {
    if (result) *result = 0;
    if (cookie) *cookie = 0;
    return S_OK;
}
HRESULT RamvelControl::PostMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result, DWORD) {
    if (result) *result = 0;
    return S_OK;
}

HRESULT RamvelControl::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    *pages = {0, nullptr};
    return S_OK;
}

HRESULT RamvelControl::GetDisplayString(DISPID, BSTR* text) {
    if (text) *text = nullptr;
    return E_NOTIMPL;  // the property browser shows its own text for every property
}
HRESULT RamvelControl::MapPropertyToPage(DISPID, CLSID* page) {
    if (page) *page = CLSID_NULL;
    return PERPROP_E_NOPAGEAVAILABLE;
}
HRESULT RamvelControl::GetPredefinedStrings(DISPID, CALPOLESTR* strings, CADWORD* cookies) {
    if (strings) *strings = {0, nullptr};
    if (cookies) *cookies = {0, nullptr};
    return E_NOTIMPL;
}
HRESULT RamvelControl::GetPredefinedValue(DISPID, DWORD, VARIANT* value) {
    if (value) VariantInit(value);
    return E_NOTIMPL;
}

}  // namespace ramvel::server
