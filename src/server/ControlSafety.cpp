// IObjectSafety: safe for untrusted callers and data on every interface the object has.
#include "server/ControlObject.h"

namespace ramvel::server {
namespace {

constexpr DWORD kSupported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

}  // namespace

HRESULT RamvelControl::GetInterfaceSafetyOptions(REFIID riid, DWORD* supported, DWORD* enabled) {
    if (!supported || !enabled) return E_POINTER;
    *supported = *enabled = 0;
    if (!Find(riid)) return E_NOINTERFACE;
    *supported = kSupported;
    *enabled = safety_;
    return S_OK;
}

HRESULT RamvelControl::SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled) {
    if (!Find(riid)) return E_NOINTERFACE;
    if (mask & ~kSupported) return E_FAIL;
    safety_ = (safety_ & ~mask) | (enabled & mask);
    return S_OK;
}

}  // namespace ramvel::server
