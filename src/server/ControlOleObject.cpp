// IOleObject: siting, verbs, extent, advise and misc status of the control.
#include <cstring>
#include <new>
#include <vector>

#include "server/ComEnumerator.h"
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {
namespace {

// OLEMISC flags of every control of this kind (0x20191) plus ACTSLIKELABEL | SIMPLEFRAME.
constexpr DWORD kMiscStatus = 0x32191;

struct VerbPolicy {
    static void Copy(OLEVERB& to, const OLEVERB& from) {
        to = from;
        if (from.lpszVerbName) {
            size_t bytes = (wcslen(from.lpszVerbName) + 1) * sizeof(wchar_t);
            to.lpszVerbName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
            if (!to.lpszVerbName) throw std::bad_alloc();
            memcpy(to.lpszVerbName, from.lpszVerbName, bytes);
        }
    }
    static void Clear(OLEVERB& verb) {
        CoTaskMemFree(verb.lpszVerbName);
        verb.lpszVerbName = nullptr;
    }
};

}  // namespace

HRESULT RamvelControl::SetClientSite(IOleClientSite* site) {
    return Member([&] {
        site_ = AddRefed(site);
        ReadUserMode();
    });
}

HRESULT RamvelControl::GetClientSite(IOleClientSite** site) {
    return Member([&]() -> HRESULT {
        if (!site) return E_POINTER;
        *site = ComPtr<IOleClientSite>(site_).Detach();
        return S_OK;
    });
}

// Containers name themselves for open editing, which an inside-out control never does.
HRESULT RamvelControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT RamvelControl::Close(DWORD) {
    return Member([&] {
        // Some containers (Wine's ATL among them) never call InPlaceDeactivate: leave here.
        DeactivateInPlace();
        if (adviseHolder_) adviseHolder_->SendOnClose();
    });
}

// Monikers, data transfer and colour schemes belong to linking and embedding, not to controls.
HRESULT RamvelControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
HRESULT RamvelControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}
HRESULT RamvelControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
HRESULT RamvelControl::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}
HRESULT RamvelControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

HRESULT RamvelControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
    return Member([&]() -> HRESULT {
        if (site && !site_) site_ = AddRefed(site);
        switch (verb) {
        case OLEIVERB_PRIMARY:  // "Propriétés": there are no pages, so it shows the control
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
            ActivateInPlace(false);
            return S_OK;
        case OLEIVERB_UIACTIVATE:
            ActivateInPlace(true);
            return S_OK;
        case OLEIVERB_HIDE:
            DeactivateInPlace();
            return S_OK;
        default:
            return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
        }
    });
}

HRESULT RamvelControl::EnumVerbs(IEnumOLEVERB** verbs) {
    return Member([&]() -> HRESULT {
        if (!verbs) return E_POINTER;
        *verbs = nullptr;
        static wchar_t name[] = L"Propri\u00e9t\u00e9s";
        std::vector<OLEVERB> list{{0, name, 0, OLEVERBATTRIB_ONCONTAINERMENU}};
        *verbs = Enumerator<IEnumOLEVERB, OLEVERB, VerbPolicy>::Create(list).Detach();
        return S_OK;
    });
}

// Nothing is linked, so there is never anything to bring up to date.
HRESULT RamvelControl::Update() { return S_OK; }
HRESULT RamvelControl::IsUpToDate() { return S_OK; }

HRESULT RamvelControl::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_Ramvel;
    return S_OK;
}

// The registry holds the user type ("Ramvel Control").
HRESULT RamvelControl::GetUserType(DWORD form, LPOLESTR* userType) {
    return OleRegGetUserType(CLSID_Ramvel, form, userType);
}

HRESULT RamvelControl::SetExtent(DWORD aspect, SIZEL* size) {
    return Member([&]() -> HRESULT {
        if (!size) return E_POINTER;
        if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        extent_ = *size;  // kept for GetExtent; layout follows SetObjectRects
        return S_OK;
    });
}

HRESULT RamvelControl::GetExtent(DWORD aspect, SIZEL* size) {
    return Member([&]() -> HRESULT {
        if (!size) return E_POINTER;
        if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        *size = extent_;
        return S_OK;
    });
}

HRESULT RamvelControl::Advise(IAdviseSink* sink, DWORD* connection) {
    return Member([&]() -> HRESULT {
        if (!adviseHolder_) ThrowIfFailed(CreateOleAdviseHolder(adviseHolder_.Put()));
        return adviseHolder_->Advise(sink, connection);
    });
}

HRESULT RamvelControl::Unadvise(DWORD connection) {
    return Member([&]() -> HRESULT {
        if (!adviseHolder_) return OLE_E_NOCONNECTION;
        return adviseHolder_->Unadvise(connection);
    });
}

HRESULT RamvelControl::EnumAdvise(IEnumSTATDATA** advise) {
    return Member([&]() -> HRESULT {
        if (!advise) return E_POINTER;
        *advise = nullptr;
        if (!adviseHolder_) return S_OK;
        return adviseHolder_->EnumAdvise(advise);
    });
}

HRESULT RamvelControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = kMiscStatus;
    return S_OK;
}

}  // namespace ramvel::server
