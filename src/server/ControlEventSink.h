#pragma once
// The core's view of the host's events (ramvel::IEventSink) over the sink wrapper's IDispatch.
#include <windows.h>
#include <oaidl.h>

#include "platform/EventSink.h"
#include "server/ComPtr.h"

namespace ramvel::server {

class ControlEventSink final : public IEventSink {
public:
    explicit ControlEventSink(ComPtr<IDispatch> events) : FEvents(std::move(events)) {}

    void RaiseText(EventId id, const std::u16string& text) override;
    void Raise(EventId id, bool wantsResult) override;
    void RaiseKey(EventId id, std::int16_t& key) override;

private:
    ComPtr<IDispatch> FEvents;
};

}  // namespace ramvel::server
