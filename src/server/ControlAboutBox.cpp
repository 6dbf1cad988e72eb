// IRamvel's AboutBox: the about dialog is not built yet, so it fails clearly (E_NOTIMPL with a
// readable message), never with a silent success.
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::AboutBox() { return ComCall([&] { ThrowNotImplemented(u"AboutBox"); }); }

}  // namespace ramvel::server
