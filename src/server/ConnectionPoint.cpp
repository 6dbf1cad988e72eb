#include "server/ConnectionPoint.h"

#include <olectl.h>

#include <algorithm>

#include "server/ComEnumerator.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, const IID& iid, size_t maxSinks,
                                 Listener listener)
    : container_(container), iid_(iid), maxSinks_(maxSinks), listener_(std::move(listener)) {}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
    std::vector<ComPtr<IUnknown>> sinks;
    for (const Connection& c : connections_) sinks.push_back(c.sink);
    return sinks;
}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

ULONG ConnectionPoint::AddRef() { return container_.AddRef(); }
ULONG ConnectionPoint::Release() { return container_.Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    return ComCall([&]() -> HRESULT {
        if (!cookie) return E_POINTER;
        *cookie = 0;
        if (!sink) return E_POINTER;
        if (connections_.size() >= maxSinks_) return CONNECT_E_ADVISELIMIT;
        ComPtr<IUnknown> asked;
        if (HRESULT hr = sink->QueryInterface(iid_, reinterpret_cast<void**>(asked.Put())); FAILED(hr)) return hr;
        if (!asked) return E_NOINTERFACE;
        // The record's room first: once the sink is installed nothing can fail, so a failure
        // leaves neither a record nor a sink that receives events without a cookie.
        connections_.reserve(connections_.size() + 1);
        if (listener_) listener_(asked.Get());
        connections_.push_back({nextCookie_, std::move(asked)});
        *cookie = nextCookie_++;
        return S_OK;
    });
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    return ComCall([&]() -> HRESULT {
        auto found = std::find_if(connections_.begin(), connections_.end(),
                                  [cookie](const Connection& c) { return c.cookie == cookie; });
        if (found == connections_.end()) return CONNECT_E_NOCONNECTION;
        // Keep the sink alive until the connection is gone from every list.
        ComPtr<IUnknown> leaving = std::move(found->sink);
        connections_.erase(found);
        if (listener_) listener_(nullptr);
        return S_OK;
    });
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (!connections) return E_POINTER;
    *connections = nullptr;
    return ComCall([&] {
        std::vector<CONNECTDATA> items;
        for (const Connection& c : connections_) items.push_back({c.sink.Get(), c.cookie});
        *connections = Enumerator<IEnumConnections, CONNECTDATA, ConnectDataPolicy>::Create(items).Detach();
    });
}

}  // namespace ramvel::server
