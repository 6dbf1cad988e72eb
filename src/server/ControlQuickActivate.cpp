// IQuickActivate: the container hands over its site and sinks in one call.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
    return Member([&]() -> HRESULT {
        // Older containers pass shorter structures: read and write no more than their cbSize.
        constexpr ULONG kContainerFieldsRead = offsetof(QACONTAINER, dwAmbientFlags);
        if (!container || !control || container->cbSize < kContainerFieldsRead || control->cbSize < sizeof(ULONG))
            return E_INVALIDARG;
        QACONTROL answer{};
        answer.cbSize = control->cbSize;
        ThrowIfFailed(SetClientSite(container->pClientSite));
        // The container hands its ambient UserMode over in its flags.
        if (container->cbSize >= offsetof(QACONTAINER, dwAmbientFlags) + sizeof(DWORD))
            SetDesignMode((container->dwAmbientFlags & QACONTAINER_USERMODE) == 0);
        if (container->pAdviseSink) ThrowIfFailed(SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink));
        // Connection failures leave the cookie 0, which tells the container to try the
        // connection points itself.
        if (container->pUnkEventSink) eventsPoint_.Advise(container->pUnkEventSink, &answer.dwEventCookie);
        if (container->pPropertyNotifySink)
            notifyPoint_.Advise(container->pPropertyNotifySink, &answer.dwPropNotifyCookie);
        GetMiscStatus(DVASPECT_CONTENT, &answer.dwMiscStatus);
        std::memcpy(control, &answer, std::min<std::size_t>(control->cbSize, sizeof answer));
        return S_OK;
    });
}

HRESULT RamvelControl::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }
HRESULT RamvelControl::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }

}  // namespace ramvel::server
