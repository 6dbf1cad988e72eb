// The form's own notifications: activation, clicks, keys, painting, creation and destruction.
#include <utility>

#include "control/MyRamvel.h"

namespace ramvel {

void TMyRamvel::SetEventSink(std::shared_ptr<IEventSink> sink) {
    FEvents = std::move(sink);
    if (!FEvents || !formWired_ || createRaised_ || eventsHeld_) return;
    createRaised_ = true;
    RunHandler([&] {
        if (const std::shared_ptr<IEventSink> events = Events()) events->Raise(EventId::OnCreate, false);
    });
}

void TMyRamvel::FormActivate() {
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->Raise(EventId::OnActivate, false);
}

void TMyRamvel::FormDeactivate() {
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->Raise(EventId::OnDeactivate, false);
}

void TMyRamvel::FormClick() {
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->Raise(EventId::OnClick, false);
}

void TMyRamvel::FormDblClick() {
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->Raise(EventId::OnDblClick, true);
}

void TMyRamvel::FormKeyPress(char16_t& key) {
    // Every code goes to the host, control characters included; what it leaves replaces it.
    std::int16_t copy = static_cast<std::int16_t>(key);
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->RaiseKey(EventId::OnKeyPress, copy);
    key = static_cast<char16_t>(copy);
}

void TMyRamvel::FormPaint() {
    TView->ShowSelectionAlways();
    TView->Invalidate();
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->Raise(EventId::OnPaint, false);
}

void TMyRamvel::FormDestroy() {
    if (std::exchange(destroyed_, true)) return;
    RunHandler([&] {
        ReleaseNodeRecords();
        if (const std::shared_ptr<IEventSink> sink = Events()) sink->Raise(EventId::OnDestroy, false);
    });
}

void TMyRamvel::FormActivated() {
    if (formWired_) RunHandler([&] { FormActivate(); });
}

void TMyRamvel::FormDeactivated() {
    if (formWired_) RunHandler([&] { FormDeactivate(); });
}

void TMyRamvel::FormClicked() {
    if (formWired_) RunHandler([&] { FormClick(); });
}

void TMyRamvel::FormDoubleClicked() {
    if (formWired_) RunHandler([&] { FormDblClick(); });
}

void TMyRamvel::FormKeyPressed(char16_t& key) {
    if (formWired_) RunHandler([&] { FormKeyPress(key); });
}

void TMyRamvel::FormPainted() {
    if (formWired_) RunHandler([&] { FormPaint(); });
}

}  // namespace ramvel
