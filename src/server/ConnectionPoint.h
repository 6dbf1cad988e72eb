#pragma once
// A connection point that lives inside its container object: its references are the
// container's, so it can never outlive the control it belongs to.
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <vector>

#include "server/ComPtr.h"

namespace ramvel::server {

class ConnectionPoint final : public IConnectionPoint {
public:
    // Told of each connection (the sink as asked for `iid`) and each disconnection (nullptr).
    using Listener = std::function<void(IUnknown* sink)>;

    ConnectionPoint(IConnectionPointContainer& container, const IID& iid, size_t maxSinks, Listener listener = {});
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    // The connected sinks, in connection order (copies: a sink may disconnect while called).
    std::vector<ComPtr<IUnknown>> Sinks() const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    struct Connection {
        DWORD cookie;
        ComPtr<IUnknown> sink;
    };

    IConnectionPointContainer& container_;
    IID iid_;
    size_t maxSinks_;
    Listener listener_;
    std::vector<Connection> connections_;
    DWORD nextCookie_ = 1;
};

}  // namespace ramvel::server
