#pragma once
// Builds one control object for the class factory and asks it for `riid`. A failed build is
// shown in an "Erreur DAX" box and answers E_UNEXPECTED.
#include <windows.h>
#include <unknwn.h>

namespace ramvel::server {

HRESULT CreateRamvelControl(IUnknown* outer, REFIID riid, void** object) noexcept;

}  // namespace ramvel::server
