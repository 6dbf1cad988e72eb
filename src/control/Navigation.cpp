// Walking and querying the tree by node index and by handle.
#include "control/ModuleState.h"
#include "control/MyRamvel.h"

namespace ramvel {

void TMyRamvel::SelectNode(NodeHandle node) {
    // The widget reports the move (and any expansion on the way) back, inside Select.
    if (tree_.Selected() != node) TView->Select(node);
}

std::u16string TMyRamvel::GoToNode(std::int32_t index) {
    if (index >= tree_.Count()) return {};
    return GotohNode(tree_.At(index).handle);
}

std::u16string TMyRamvel::GotohNode(NodeHandle hNode) {
    tree_.Get(hNode);
    SelectNode(hNode);
    // The host's handlers may have removed the node meanwhile: then there is nothing to describe.
    return tree_.Contains(hNode) ? BuildNodeInfo(hNode) : std::u16string();
}

std::u16string TMyRamvel::GetNode(std::int32_t index) { return BuildNodeInfo(tree_.TextsAt(index), index); }

std::u16string TMyRamvel::GethNode(NodeHandle hNode) { return BuildNodeInfo(hNode); }

std::u16string TMyRamvel::GetSelectedNode() {
    const NodeHandle selected = tree_.Selected();
    return tree_.Contains(selected) ? BuildNodeInfo(selected) : std::u16string();
}

NodeHandle TMyRamvel::GethSelectedNode() const {
    const NodeHandle selected = tree_.Selected();
    return tree_.Contains(selected) ? selected : 0;
}

std::u16string TMyRamvel::getParent(NodeHandle hNode) {
    Node* parent = tree_.ParentOf(tree_.Get(hNode));
    return parent ? BuildNodeInfo(*parent) : std::u16string();
}

NodeHandle TMyRamvel::FirstChild(NodeHandle hNode) { return tree_.FirstChild(tree_.Get(hNode)); }

NodeHandle TMyRamvel::LastChild(NodeHandle hNode) { return tree_.LastChild(tree_.Get(hNode)); }

NodeHandle TMyRamvel::NextSibling(NodeHandle hNode) { return tree_.NextSibling(tree_.Get(hNode)); }

std::int32_t TMyRamvel::ChildrenNumber(NodeHandle hNode) {
    if (hNode <= 0) return tree_.Count();
    return static_cast<std::int32_t>(tree_.Get(hNode).childCount);
}

bool TMyRamvel::GetExpanded(NodeHandle hNode) { return tree_.Get(hNode).expanded; }

void TMyRamvel::SetExpanded(NodeHandle hNode, bool value) {
    if (tree_.Get(hNode).childCount == 0) return;
    // The handler runs first: inside it the node still reads its old state.
    RunHandler([&] { value ? TViewExpanded(hNode) : TViewCollapsed(hNode); });
    Node* node = tree_.Find(hNode);
    if (!node || node->childCount == 0) return;
    tree_.SetExpanded(*node, value);
    TView->SetExpanded(hNode, value);
}

void TMyRamvel::storeHNode(NodeHandle hNode) { Module().storedNode = hNode; }

}  // namespace ramvel
