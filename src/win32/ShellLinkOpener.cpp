// Opening links through ShellExecuteW.
#include "win32/ShellLinkOpener.h"

#include <windows.h>
#include <shellapi.h>

namespace ramvel::win32 {

void ShellLinkOpener::OpenLink(const std::u16string& link) {
    // No owner window: the module has no main window of its own.
    ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(link.c_str()), nullptr, nullptr, SW_SHOW);
}

}  // namespace ramvel::win32
