#pragma once
// Builds one control object for the class factory and asks it for `riid`.
#include <windows.h>
#include <unknwn.h>

namespace ramvel::server {

HRESULT CreateRamvelControl(IUnknown* outer, REFIID riid, void** object);

}  // namespace ramvel::server
