#include "server/SinkWrapper.h"

#include "Ramvel_h.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

ComPtr<IDispatch> SinkWrapper::Create(IUnknown* hostSink) {
    // The sink answered IRamvelEvents, a dispinterface: that pointer is its IDispatch.
    return ComPtr<IDispatch>(new SinkWrapper(AddRefed(static_cast<IDispatch*>(hostSink))));
}

HRESULT SinkWrapper::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_IRamvelEvents) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    // Answered from this object's own identity: handing out the host's interfaces would give
    // one object two IUnknowns.
    return E_NOINTERFACE;
}

ULONG SinkWrapper::AddRef() { return ++refs_; }

ULONG SinkWrapper::Release() {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT SinkWrapper::GetTypeInfoCount(UINT* count) { return host_->GetTypeInfoCount(count); }

HRESULT SinkWrapper::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
    return host_->GetTypeInfo(index, lcid, info);
}

HRESULT SinkWrapper::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
    return host_->GetIDsOfNames(riid, names, count, lcid, ids);
}

HRESULT SinkWrapper::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* excepInfo, UINT* argErr) {
    // The host's own answer, even a throw, is deliberately ignored: events never fail towards the control.
    ComCall([&] { host_->Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr); });
    return S_OK;
}

}  // namespace ramvel::server
