#pragma once
// The widget double that also keeps its own copy of the items it was told about, so that a
// test can check the widget and the model still agree after a failed edit. Like the real tree
// view it allocates when told about a node, so it can fail there too.
#include <utility>
#include <vector>

#include "FakeTreeWidget.h"

namespace ramvel::test {

class MirroringTreeWidget : public FakeTreeWidget {
public:
    explicit MirroringTreeWidget(TMyRamvel& control) : FakeTreeWidget(control), control_(control) {}

    void NodeAdded(NodeHandle node) override;
    void NodeRemoved(NodeHandle node, NodeHandle parent) override;
    void AllNodesRemoved() override;

    struct Item {
        NodeHandle node, parent;
    };
    // In the order they came: a parent before its children, children in their order.
    std::vector<Item> items;

private:
    TMyRamvel& control_;
};

}  // namespace ramvel::test
