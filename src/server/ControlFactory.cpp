// CreateInstance's half that builds the control object.
#include "server/ControlFactory.h"

#include <new>
#include <string>

#include "control/RamvelError.h"
#include "server/ControlObject.h"

namespace ramvel::server {
namespace {

// A failed construction is reported to the user, as the platform's control framework does.
void ReportConstructionError(std::u16string text) {
    // A full stop is added unless the text already ends in one or in a character below it.
    if (text.empty() || text.back() > u'.') text += u'.';
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"Erreur DAX", MB_OK | MB_ICONERROR);
}

}  // namespace

HRESULT CreateRamvelControl(IUnknown* outer, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    ComPtr<IUnknown> control;
    try {
        control = RamvelControl::Create(outer);
    } catch (const RamvelError& e) {
        ReportConstructionError(e.Message());
        return E_UNEXPECTED;
    } catch (const std::bad_alloc&) {
        ReportConstructionError(u"Out of memory");
        return E_UNEXPECTED;
    }
    return control->QueryInterface(riid, object);
}

}  // namespace ramvel::server
