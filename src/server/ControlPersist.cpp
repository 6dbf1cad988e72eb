// Persistence: the control keeps no state of its own (the host sets everything through
// IRamvel), so every form of saving and loading succeeds with nothing to read or write.
#include "server/ControlObject.h"

namespace ramvel::server {

HRESULT RamvelControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_Ramvel;
    return S_OK;
}

HRESULT RamvelControl::IsDirty() { return S_FALSE; }

HRESULT RamvelControl::Load(LPSTREAM) { return S_OK; }
HRESULT RamvelControl::Save(LPSTREAM, BOOL) { return S_OK; }
HRESULT RamvelControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}
HRESULT RamvelControl::InitNew() { return S_OK; }

HRESULT RamvelControl::InitNew(IStorage*) { return S_OK; }
HRESULT RamvelControl::Load(IStorage*) { return S_OK; }
HRESULT RamvelControl::Save(IStorage*, BOOL) { return S_OK; }
HRESULT RamvelControl::SaveCompleted(IStorage*) { return S_OK; }
HRESULT RamvelControl::HandsOffStorage() { return S_OK; }

HRESULT RamvelControl::Load(IPropertyBag*, IErrorLog*) { return S_OK; }
HRESULT RamvelControl::Save(IPropertyBag*, BOOL, BOOL) { return S_OK; }

}  // namespace ramvel::server
