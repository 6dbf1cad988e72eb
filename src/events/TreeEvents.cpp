// The tree widget's notifications: keep node images in step and raise host events.
#include "control/Fields.h"
#include "control/ModuleState.h"
#include "control/MyRamvel.h"
#include "control/RamvelError.h"

namespace ramvel {

namespace {

std::u16string_view ImagesField(const Node& node) {
    return ExtractField(ExtractField(node.Record(), 2, kSOH), 1, kTAB);
}

bool HasNoSelectedImage(const Node& node) {
    return ExtractField(ExtractField(node.Record(), 2, kSOH), 2, kTAB) == u"-1";
}

// The node a notification names, unless it is gone or its record was released.
Node* NodeWithRecord(TreeModel& tree, NodeHandle handle) {
    Node* node = tree.Find(handle);
    return node && node->hasRecord ? node : nullptr;
}

}  // namespace

std::u16string TMyRamvel::ErrorCaption() const {
    std::u16string caption(ExtractField(moduleFileName_, 1, u'.'));
    for (std::size_t i = 1; i < caption.size(); ++i)
        if (caption[i] >= u'A' && caption[i] <= u'Z') caption[i] = static_cast<char16_t>(caption[i] + 32);
    return caption;
}

void TMyRamvel::ReportHandlerError(const std::u16string& message) {
    std::u16string text = message;
    if (text.empty() || text.back() > u'.') text += u'.';
    messageBox_.Show(ErrorCaption(), text, MessageIcon::Error);
}

void TMyRamvel::TViewChange(NodeHandle handle) {
    const std::shared_ptr<IEventSink> sink = Events();
    if (!sink || Module().busy) return;
    Node* node = NodeWithRecord(tree_, handle);
    if (!node) return;
    if (HasNoSelectedImage(*node)) {
        node->selectedImage = node->image;
        TView->NodeChanged(handle);
    }
    sink->RaiseText(EventId::OnChange, BuildNodeInfo(handle));
}

void TMyRamvel::TViewExpanded(NodeHandle handle) {
    Node* node = NodeWithRecord(tree_, handle);
    if (!node) return;
    const std::u16string_view images = ImagesField(*node);
    if (CountFields(images, kComma) > 1) node->image = StrToInt(ExtractField(images, 2, kComma));
    if (HasNoSelectedImage(*node)) node->selectedImage = node->image;
    TView->NodeChanged(handle);
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->RaiseText(EventId::OnExpanded, BuildNodeInfo(handle));
}

void TMyRamvel::TViewCollapsed(NodeHandle handle) {
    Node* node = NodeWithRecord(tree_, handle);
    if (!node) return;
    // A node without an images field keeps its image.
    const std::u16string_view images = ImagesField(*node);
    if (!images.empty()) node->image = StrToInt(ExtractField(images, 1, kComma));
    if (HasNoSelectedImage(*node)) {
        node->selectedImage = node->image;
        TView->NodeChanged(handle);
        TView->Repaint();
    } else {
        TView->NodeChanged(handle);
    }
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->RaiseText(EventId::OnCollapsed, BuildNodeInfo(handle));
}

void TMyRamvel::TViewDblClick() {
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->Raise(EventId::OnDblClick, true);
}

void TMyRamvel::TViewEnter() {}

void TMyRamvel::TViewKeyPress(char16_t& key) {
    if (key >= 32) return;
    if (const std::shared_ptr<IEventSink> sink = Events()) {
        std::int16_t copy = static_cast<std::int16_t>(key);
        sink->RaiseKey(EventId::OnKeyPress, copy);
    }
    key = 0;  // control characters never reach the widget
}

void TMyRamvel::TViewMouseDown(MouseButton button, ShiftState, int x, int y) {
    if (button != MouseButton::Right || !Events()) return;
    const NodeHandle hit = TView->HitTest(x, y);
    if (hit == 0 || !tree_.Contains(hit)) {
        std::u16string text = u"MOUSE,";
        AppendInt(text, x);
        text += u',';
        AppendInt(text, y);
        if (const std::shared_ptr<IEventSink> sink = Events()) sink->RaiseText(EventId::OnRightClick, text);
        return;
    }
    SelectNode(hit);
    // Each step looks again: the host may have removed the node or disconnected meanwhile.
    if (!NodeWithRecord(tree_, hit)) return;
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->RaiseText(EventId::OnChange, BuildNodeInfo(hit));
    if (!NodeWithRecord(tree_, hit)) return;
    if (const std::shared_ptr<IEventSink> sink = Events()) sink->RaiseText(EventId::OnRightClick, BuildNodeInfo(hit));
}

void TMyRamvel::WidgetSelectionChanged(NodeHandle node) {
    if (!tree_.Contains(node)) node = 0;
    tree_.SetSelected(node);
    if (node != 0) RunHandler([&] { TViewChange(node); });
}

void TMyRamvel::WidgetExpansionChanged(NodeHandle handle, bool expanded) {
    Node* node = tree_.Find(handle);
    if (!node) return;
    tree_.SetExpanded(*node, expanded);
    RunHandler([&] { expanded ? TViewExpanded(handle) : TViewCollapsed(handle); });
}

void TMyRamvel::WidgetDblClick() { RunHandler([&] { TViewDblClick(); }); }

void TMyRamvel::WidgetEnter() { RunHandler([&] { TViewEnter(); }); }

void TMyRamvel::WidgetKeyPress(char16_t& key) {
    // With key preview on, the form's handler sees the character first; 0 ends it there.
    if (keyPreview_ && formWired_) {
        RunHandler([&] { FormKeyPress(key); });
        if (key == 0) return;
    }
    RunHandler([&] { TViewKeyPress(key); });
}

void TMyRamvel::WidgetMouseDown(MouseButton button, ShiftState shift, int x, int y) {
    RunHandler([&] { TViewMouseDown(button, shift, x, y); });
}

}  // namespace ramvel
