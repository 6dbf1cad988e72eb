#pragma once
// The host's event sink (IRamvelEvents) as the core raises events on it.
#include <cstdint>
#include <string>

namespace ramvel {

// Event DISPIDs of IRamvelEvents.
enum class EventId : std::int32_t {
    OnActivate = 1,
    OnCreate = 3,
    OnDblClick = 4,
    OnDestroy = 5,
    OnDeactivate = 6,
    OnChange = 7,
    OnCollapsed = 8,
    OnRightClick = 9,
    OnKeyPress = 10,
    OnClick = 11,
    OnPaint = 15,
    OnExpanded = 16,
};

class IEventSink {
public:
    virtual ~IEventSink() = default;
    // A method call with the text as a BSTR by value; a BSTR result is requested and dropped.
    virtual void RaiseText(EventId id, const std::u16string& text) = 0;
    // A method call without arguments; `wantsResult` asks for a BSTR result that is dropped.
    virtual void Raise(EventId id, bool wantsResult) = 0;
    // A method call with a 16-bit integer by reference; the host may change it.
    virtual void RaiseKey(EventId id, std::int16_t& key) = 0;
};

}  // namespace ramvel
