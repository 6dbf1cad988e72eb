#include "server/ErrorBoundary.h"

#include <oleauto.h>

#include <new>
#include <string>

#include "Ramvel_h.h"
#include "control/RamvelError.h"
#include "server/ComPtr.h"

namespace ramvel::server {
namespace {

void PostErrorObject(const std::u16string& description) noexcept {
    ComPtr<ICreateErrorInfo> info;
    if (FAILED(CreateErrorInfo(info.Put()))) return;
    info->SetGUID(IID_IRamvel);
    info->SetSource(const_cast<LPOLESTR>(L"RamvelProj1.Ramvel"));
    if (!description.empty()) {
        std::wstring text(description.begin(), description.end());
        info->SetDescription(text.data());
    }
    if (auto error = QueryAs<IErrorInfo>(info.Get())) SetErrorInfo(0, error.Get());
}

}  // namespace

HRESULT ToHResult() noexcept {
    try {
        throw;
    } catch (const RamvelError& e) {
        HRESULT hr = e.HResult();
        if (SUCCEEDED(hr)) hr = E_UNEXPECTED;  // a failure never travels as a success
        try {
            PostErrorObject(e.Message());
        } catch (...) {
        }
        return hr;
    } catch (const std::bad_alloc&) {
        ClearErrorInfo();
        return E_OUTOFMEMORY;
    } catch (...) {
        ClearErrorInfo();
        return E_UNEXPECTED;
    }
}

void ClearErrorInfo() noexcept { SetErrorInfo(0, nullptr); }

void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr)) throw RamvelError(u"", hr);
}

}  // namespace ramvel::server
