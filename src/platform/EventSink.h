#pragma once
// The host's event sink (IRamvelEvents) as the core raises events on it.
#include <cstdint>
#include <string>

#include "RamvelDispIds.h"

namespace ramvel {

// Event DISPIDs of IRamvelEvents.
enum class EventId : std::int32_t {
    OnActivate = DISPID_RAMVELEVENTS_ONACTIVATE,
    OnCreate = DISPID_RAMVELEVENTS_ONCREATE,
    OnDblClick = DISPID_RAMVELEVENTS_ONDBLCLICK,
    OnDestroy = DISPID_RAMVELEVENTS_ONDESTROY,
    OnDeactivate = DISPID_RAMVELEVENTS_ONDEACTIVATE,
    OnChange = DISPID_RAMVELEVENTS_ONCHANGE,
    OnCollapsed = DISPID_RAMVELEVENTS_ONCOLLAPSED,
    OnRightClick = DISPID_RAMVELEVENTS_ONRIGHTCLICK,
    OnKeyPress = DISPID_RAMVELEVENTS_ONKEYPRESS,
    OnClick = DISPID_RAMVELEVENTS_ONCLICK,
    OnPaint = DISPID_RAMVELEVENTS_ONPAINT,
    OnExpanded = DISPID_RAMVELEVENTS_ONEXPANDED,
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
