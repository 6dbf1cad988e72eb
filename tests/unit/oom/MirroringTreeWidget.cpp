#include "MirroringTreeWidget.h"

#include <algorithm>

namespace ramvel::test {

void MirroringTreeWidget::NodeAdded(NodeHandle handle) {
    FakeTreeWidget::NodeAdded(handle);
    items.push_back({handle, control_.Tree().Parent(control_.Tree().Get(handle))});
}

void MirroringTreeWidget::NodeRemoved(NodeHandle node, NodeHandle parent) {
    FakeTreeWidget::NodeRemoved(node, parent);
    // The node's item and everything under it, marked in one pass (parents come
    // first) by negating their handles, then dropped; nothing allocates on the way.
    auto removed = [&](NodeHandle node) {
        return node != 0 && std::any_of(items.begin(), items.end(), [&](const Item& i) { return i.node == -node; });
    };
    for (Item& item : items)
        if (item.node == node || removed(item.parent)) item.node = -item.node;
    std::erase_if(items, [](const Item& item) { return item.node < 0; });
}

void MirroringTreeWidget::AllNodesRemoved() {
    FakeTreeWidget::AllNodesRemoved();
    items.clear();
}

}  // namespace ramvel::test
