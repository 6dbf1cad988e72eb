// CreateInstance's half that builds the control object.
#include "server/ControlFactory.h"

#include "server/ComPtr.h"
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {
namespace {

// A failed construction is shown to the user, as the platform's control framework does, with
// the text of the error object the boundary left. Allocates nothing of its own: it may report
// that memory ran out.
void ReportConstructionError(HRESULT hr) noexcept {
    wchar_t text[1024] = L"";
    if (hr == E_OUTOFMEMORY) lstrcpynW(text, L"Out of memory", 1023);
    ComPtr<IErrorInfo> info;
    Bstr description;
    if (GetErrorInfo(0, info.Put()) == S_OK && SUCCEEDED(info->GetDescription(description.Put())) &&
        description.Get())
        lstrcpynW(text, description.Get(), 1023);  // one place is kept for the full stop
    // A full stop is added unless the text already ends in one or in a character below it.
    const int length = lstrlenW(text);
    if (length == 0 || text[length - 1] > L'.') lstrcatW(text, L".");
    MessageBoxW(nullptr, text, L"Erreur DAX", MB_OK | MB_ICONERROR);
}

}  // namespace

HRESULT CreateRamvelControl(IUnknown* outer, REFIID riid, void** object) noexcept {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    ComPtr<IUnknown> control;
    const HRESULT built = ComCall([&] { control = RamvelControl::Create(outer); });
    if (FAILED(built)) {
        ReportConstructionError(built);
        return E_UNEXPECTED;
    }
    return control->QueryInterface(riid, object);
}

}  // namespace ramvel::server
