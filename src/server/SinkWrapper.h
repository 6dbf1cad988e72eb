#pragma once
// Wraps the host's IRamvelEvents sink: calls go through unchanged, and every Invoke reports
// success, so nothing a host handler returns can disturb the control.
#include <windows.h>
#include <oaidl.h>

#include <atomic>

#include "server/ComPtr.h"

namespace ramvel::server {

class SinkWrapper final : public IDispatch {
public:
    // `hostSink` is the host's object as asked for IRamvelEvents.
    static ComPtr<IDispatch> Create(IUnknown* hostSink);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    explicit SinkWrapper(ComPtr<IDispatch> host) : host_(std::move(host)) {}

    std::atomic<ULONG> refs_{1};
    ComPtr<IDispatch> host_;
};

}  // namespace ramvel::server
