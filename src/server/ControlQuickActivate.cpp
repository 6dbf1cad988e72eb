// IQuickActivate: the container hands over its site and sinks in one call.
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
    return ComCall([&]() -> HRESULT {
        if (!container || !control || container->cbSize < sizeof(QACONTAINER)) return E_INVALIDARG;
        ULONG size = control->cbSize;
        *control = {};
        control->cbSize = size;
        ThrowIfFailed(SetClientSite(container->pClientSite));
        if (container->pAdviseSink) ThrowIfFailed(SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink));
        // Connection failures leave the cookie 0, which tells the container to try the
        // connection points itself.
        if (container->pUnkEventSink) eventsPoint_.Advise(container->pUnkEventSink, &control->dwEventCookie);
        if (container->pPropertyNotifySink)
            notifyPoint_.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
        GetMiscStatus(DVASPECT_CONTENT, &control->dwMiscStatus);
        return S_OK;
    });
}

HRESULT RamvelControl::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }
HRESULT RamvelControl::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }

}  // namespace ramvel::server
