#include "TreeConsistency.h"

#include <gtest/gtest.h>

#include <map>

#include "TestSupport.h"
#include "control/Fields.h"
#include "control/ModuleState.h"

namespace ramvel::test {
namespace {

struct Walked {
    NodeHandle handle;
    NodeHandle parent;
};

// Pre-order by the links alone: first root, first child, next sibling.
std::vector<Walked> Walk(TreeModel& tree) {
    std::vector<Walked> nodes;
    auto visit = [&](auto&& self, NodeHandle first, NodeHandle parent) -> void {
        for (NodeHandle n = first; n != 0; n = tree.NextSibling(*tree.Find(n))) {
            nodes.push_back({n, parent});
            self(self, tree.FirstChild(*tree.Find(n)), n);
        }
    };
    visit(visit, tree.FirstRoot(), 0);
    return nodes;
}

using Children = std::map<NodeHandle, std::vector<NodeHandle>>;  // parent (0: roots) -> children in order

}  // namespace

void ExpectConsistentTree(TMyRamvel& control, const MirroringTreeWidget& widget, const std::string& context) {
    SCOPED_TRACE(context);
    TreeModel& tree = control.Tree();
    const std::vector<Walked> walked = Walk(tree);
    ASSERT_EQ(tree.Count(), static_cast<std::int32_t>(walked.size()));

    Children modelChildren;
    std::size_t liveTextChars = 0;
    for (std::size_t i = 0; i < walked.size(); ++i) {
        const auto index = static_cast<std::int32_t>(i);
        const NodeHandle handle = walked[i].handle;
        Node& node = tree.At(index);
        ASSERT_EQ(node.handle, handle) << "at index " << i;
        EXPECT_EQ(tree.IndexOf(node), index) << "node " << handle;
        EXPECT_EQ(tree.Parent(node), walked[i].parent) << "node " << handle;
        EXPECT_EQ(tree.TextsAt(index).entry, node.entry) << "node " << handle;
        EXPECT_EQ(tree.TextsAt(index).handle, handle);
        EXPECT_TRUE(node.hasRecord) << "node " << handle;
        modelChildren[walked[i].parent].push_back(handle);
        liveTextChars += node.EntrySize();

        const std::u16string info = control.GetNode(index);
        EXPECT_EQ(info, control.GethNode(handle));
        EXPECT_EQ(StrToInt(ExtractField(info, 1, kSOH)), index);
        EXPECT_EQ(StrToInt(ExtractField(info, 2, kSOH)), handle);
        EXPECT_EQ(ExtractField(ExtractField(info, 3, kSOH), 2, kTAB), node.Text());
    }
    // The same indexes once more from the counted tree of the pre-order sequence, which
    // answers when the flat copy of the order is gone.
    tree.DropFlatOrder();
    for (std::size_t i = 0; i < walked.size(); ++i) {
        const auto index = static_cast<std::int32_t>(i);
        Node& node = tree.At(index);
        ASSERT_EQ(node.handle, walked[i].handle) << "at index " << i << " in the counted tree";
        EXPECT_EQ(tree.IndexOf(node), index) << "node " << node.handle << " in the counted tree";
    }
    for (const auto& [parent, children] : modelChildren) {
        if (parent != 0) {
            EXPECT_EQ(tree.Get(parent).childCount, children.size()) << "node " << parent;
        }
    }
    EXPECT_EQ(tree.TextChars(), liveTextChars);

    Children widgetChildren;
    for (const MirroringTreeWidget::Item& item : widget.items) widgetChildren[item.parent].push_back(item.node);
    EXPECT_EQ(widgetChildren, modelChildren) << "the widget's items against the model's nodes";

    EXPECT_TRUE(tree.Selected() == 0 || tree.Contains(tree.Selected()));
    EXPECT_EQ(control.UpdateCount(), 0);
    EXPECT_TRUE(widget.redrawOn);
    EXPECT_FALSE(Module().busy);
}

std::vector<std::u16string> NodeInfos(TMyRamvel& control) {
    std::vector<std::u16string> infos;
    for (std::int32_t i = 0; i < control.Tree().Count(); ++i) infos.push_back(control.GetNode(i));
    return infos;
}

}  // namespace ramvel::test
