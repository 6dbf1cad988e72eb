#include "MirroringTreeWidget.h"

#include <algorithm>

namespace ramvel::test {

void MirroringTreeWidget::NodeAdded(NodeHandle handle) {
    FakeTreeWidget::NodeAdded(handle);
    Node& node = control_.Tree().Get(handle);
    items.push_back({handle, control_.Tree().Parent(node)});
    node.widgetItem = static_cast<std::uintptr_t>(handle);
}

void MirroringTreeWidget::NodeRemoved(std::uintptr_t widgetItem, NodeHandle parent) {
    FakeTreeWidget::NodeRemoved(widgetItem, parent);
    // The item the cookie names and everything under it, marked in one pass (parents come
    // first) by negating their handles, then dropped; nothing allocates on the way.
    auto removed = [&](NodeHandle node) {
        return node != 0 && std::any_of(items.begin(), items.end(), [&](const Item& i) { return i.node == -node; });
    };
    for (Item& item : items)
        if (static_cast<std::uintptr_t>(item.node) == widgetItem || removed(item.parent)) item.node = -item.node;
    std::erase_if(items, [](const Item& item) { return item.node < 0; });
}

void MirroringTreeWidget::AllNodesRemoved() {
    FakeTreeWidget::AllNodesRemoved();
    items.clear();
}

}  // namespace ramvel::test
