#include "server/ErrorBoundary.h"

#include <oleauto.h>

#include <new>
#include <string>

#include "Ramvel_h.h"
#include "control/RamvelError.h"
#include "server/ComPtr.h"

namespace ramvel::server {
namespace {

// Allocates nothing of its own (the texts go to the error object as they are), so it cannot
// fail half-way; when the system cannot make the object, the stale one is dropped instead.
void PostErrorObject(const std::u16string& description) noexcept {
    static_assert(sizeof(OLECHAR) == sizeof(char16_t));
    ComPtr<ICreateErrorInfo> info;
    if (FAILED(CreateErrorInfo(info.Put()))) return ClearErrorInfo();
    info->SetGUID(IID_IRamvel);
    info->SetSource(const_cast<LPOLESTR>(L"RamvelProj1.Ramvel"));
    if (!description.empty())
        info->SetDescription(reinterpret_cast<LPOLESTR>(const_cast<char16_t*>(description.c_str())));
    auto error = QueryAs<IErrorInfo>(info.Get());
    SetErrorInfo(0, error.Get());
}

}  // namespace

HRESULT ToHResult() noexcept {
    try {
        throw;
    } catch (const RamvelError& e) {
        HRESULT hr = e.HResult();
        if (SUCCEEDED(hr)) hr = E_UNEXPECTED;  // a failure never travels as a success
        PostErrorObject(e.Message());
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
