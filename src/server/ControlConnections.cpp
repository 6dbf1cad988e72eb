// IConnectionPointContainer: IRamvelEvents (one sink) and IPropertyNotifySink (any number).
#include <memory>
#include <vector>

#include "server/ComEnumerator.h"
#include "server/ControlEventSink.h"
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"
#include "server/SinkWrapper.h"

namespace ramvel::server {

// The events connection point's listener: the host's sink reaches FEvents through a new
// wrapper at each connection; a disconnection clears it.
void RamvelControl::OnEventSink(IUnknown* sink) {
    if (!control_) return;
    if (sink)
        control_->SetEventSink(std::make_shared<ControlEventSink>(SinkWrapper::Create(sink)));
    else
        control_->SetEventSink(nullptr);
}

HRESULT RamvelControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return Member([&]() -> HRESULT {
        if (!points) return E_POINTER;
        *points = nullptr;
        std::vector<IConnectionPoint*> list{&eventsPoint_, &notifyPoint_};
        *points = Enumerator<IEnumConnectionPoints, IConnectionPoint*, InterfaceItemPolicy<IConnectionPoint>>::Create(
                      list)
                      .Detach();
        return S_OK;
    });
}

HRESULT RamvelControl::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    return Member([&]() -> HRESULT {
        if (!point) return E_POINTER;
        *point = nullptr;
        ConnectionPoint* found = riid == DIID_IRamvelEvents      ? &eventsPoint_
                                 : riid == IID_IPropertyNotifySink ? &notifyPoint_
                                                                   : nullptr;
        if (!found) return CONNECT_E_NOCONNECTION;
        found->AddRef();
        *point = found;
        return S_OK;
    });
}

}  // namespace ramvel::server
