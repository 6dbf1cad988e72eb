// IRamvel's AboutBox: the modal about dialog; the call returns once the user has closed it.
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"
#include "server/ServerModule.h"
#include "win32/AboutDialog.h"

namespace ramvel::server {

HRESULT RamvelControl::AboutBox() { return Member([&] { win32::ShowAboutDialog(ModuleHandle()); }); }

}  // namespace ramvel::server
