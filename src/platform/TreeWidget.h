#pragma once
// The tree widget as the core sees it. The core's TreeModel is the truth; the widget is a view
// of it and reads the model for texts, images, children and expanded states.
#include <cstdint>

namespace ramvel {

class ImageList;
using NodeHandle = std::int32_t;

enum class MouseButton { Left, Right, Middle };

// Modifier state as delivered with a mouse press.
struct ShiftState {
    bool shift = false, ctrl = false, alt = false;
    bool left = false, right = false, middle = false;
    bool doubleClick = false;
};

class ITreeWidget {
public:
    virtual ~ITreeWidget() = default;

    // The model just appended `node` as the last child of its parent (or the last root).
    virtual void NodeAdded(NodeHandle node) = 0;
    // The text or an image index of `node` changed in the model.
    virtual void NodeChanged(NodeHandle node) = 0;
    // A node and its subtree already left the model; `parent` was its parent, 0 for a root.
    virtual void NodeRemoved(NodeHandle node, NodeHandle parent) = 0;
    // Every node already left the model.
    virtual void AllNodesRemoved() = 0;

    // Make `node` the selected node. Expansions needed to bring it into view and the selection
    // change are reported to ITreeEvents synchronously, inside this call: the closed ancestors
    // open from the root down, one report each, then the selection change.
    virtual void Select(NodeHandle node) = 0;
    // Programmatic expand or collapse of one node; reports nothing.
    virtual void SetExpanded(NodeHandle node, bool expanded) = 0;
    // The node whose row holds the client point, or 0.
    virtual NodeHandle HitTest(int x, int y) const = 0;

    // Redrawing on or off (the core keeps the nesting counter); Repaint draws at once;
    // Invalidate has the whole widget drawn at the next opportunity.
    virtual void SetRedraw(bool on) = 0;
    virtual void Repaint() = 0;
    virtual void Invalidate() = 0;
    // The selection stays highlighted while the widget has no focus.
    virtual void ShowSelectionAlways() = 0;

    // The list that node image and selected indexes name (none: nodes show no image).
    virtual void ShowImages(const ImageList* list) = 0;
    // The list that node state indexes name (none: no state images).
    virtual void ShowStateImages(const ImageList* list) = 0;
    // Images of `list` from `firstChanged` on were replaced, added or removed, or its size
    // changed (then `firstChanged` is 0): a tree that shows it redraws with the new content.
    virtual void ImagesChanged(const ImageList& list, std::int32_t firstChanged) = 0;
};

// What the widget reports back to the control (its notifications).
class ITreeEvents {
public:
    virtual ~ITreeEvents() = default;
    // The selection moved to `node` (0: no node selected any more).
    virtual void WidgetSelectionChanged(NodeHandle node) = 0;
    // The user (or a selection bringing a node into view) opened or closed `node`.
    virtual void WidgetExpansionChanged(NodeHandle node, bool expanded) = 0;
    virtual void WidgetDblClick() = 0;
    virtual void WidgetEnter() = 0;
    // A typed character; 0 on return means the widget ignores it.
    virtual void WidgetKeyPress(char16_t& key) = 0;
    virtual void WidgetMouseDown(MouseButton button, ShiftState shift, int x, int y) = 0;
};

}  // namespace ramvel
