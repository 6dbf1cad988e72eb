// IDispatch over IRamvel, driven by the type library the module carries; error information.
#include "control/RamvelError.h"
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"
#include "server/ServerModule.h"

namespace ramvel::server {
namespace {

// A member's failure reaches late-bound callers as DISP_E_EXCEPTION with the error object's
// source and description, as the platform's own dispatch does.
HRESULT ToException(HRESULT hr, EXCEPINFO* excepInfo) {
    if (SUCCEEDED(hr) || !excepInfo || HRESULT_FACILITY(hr) == FACILITY_DISPATCH) return hr;
    *excepInfo = {};
    excepInfo->scode = hr;
    ComPtr<IErrorInfo> error;
    if (GetErrorInfo(0, error.Put()) == S_OK && error) {
        error->GetSource(&excepInfo->bstrSource);
        error->GetDescription(&excepInfo->bstrDescription);
        error->GetHelpFile(&excepInfo->bstrHelpFile);
        error->GetHelpContext(&excepInfo->dwHelpContext);
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

ITypeInfo& RamvelControl::DispatchInfo() {
    if (!dispatchInfo_) {
        ITypeLib* library = TypeLibrary();
        if (!library) throw RamvelError(u"", TYPE_E_LIBNOTREGISTERED);
        ThrowIfFailed(library->GetTypeInfoOfGuid(IID_IRamvel, dispatchInfo_.Put()));
    }
    return *dispatchInfo_.Get();
}

HRESULT RamvelControl::GetTypeInfoCount(UINT* count) {
    return Member([&]() -> HRESULT {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    });
}

HRESULT RamvelControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return Member([&]() -> HRESULT {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        *info = AddRefed(&DispatchInfo()).Detach();
        return S_OK;
    });
}

HRESULT RamvelControl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return Member([&]() -> HRESULT {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        // Names compare without regard to case, the standard OLE Automation way.
        return DispGetIDsOfNames(&DispatchInfo(), names, count, ids);
    });
}

HRESULT RamvelControl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* excepInfo, UINT* argErr) {
    return Member([&]() -> HRESULT {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (HRESULT hr; TryFastInvoke(id, flags, params, result, hr)) return ToException(hr, excepInfo);
        HRESULT hr = DispatchInfo().Invoke(static_cast<IRamvel*>(this), id, flags, params, result, excepInfo, argErr);
        return ToException(hr, excepInfo);
    });
}

HRESULT RamvelControl::InterfaceSupportsErrorInfo(REFIID riid) {
    // Yes for the dispatch route (its Invoke carries the error object), no for the vtable one.
    return riid == IID_IDispatch ? S_OK : S_FALSE;
}

HRESULT RamvelControl::GetClassInfo(ITypeInfo** info) {
    return Member([&]() -> HRESULT {
        if (!info) return E_POINTER;
        *info = nullptr;
        ITypeLib* library = TypeLibrary();
        if (!library) return TYPE_E_LIBNOTREGISTERED;
        ThrowIfFailed(library->GetTypeInfoOfGuid(CLSID_Ramvel, info));
        return S_OK;
    });
}

}  // namespace ramvel::server
