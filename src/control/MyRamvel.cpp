// Building and editing the tree.
#include "control/MyRamvel.h"

#include <algorithm>
#include <utility>

#include "control/Fields.h"
#include "control/ModuleState.h"
#include "control/RamvelError.h"

namespace ramvel {

namespace {

const std::u16string kWarningCaption = u"Ramvel.ocx";

std::u16string MissingParentWarning(std::u16string_view levelText) {
    std::u16string text = u"Ramvel WARNING:\nLevel ";
    text.append(levelText);
    text += u" is incorrect.";
    text += u"\n";
    text += u"(no previous level)";
    return text;
}

const std::u16string kUnusableParentWarning =
    u"Ramvel WARNING:\nAdd node with no valid parent.\n(no valid previous level)";

constexpr std::int32_t kDeepestLevel = kLevelTableSize - 1;  // a level-L line writes entry L+1

}  // namespace

TMyRamvel::TMyRamvel(IMessageBox& messageBox, std::u16string moduleFileName)
    : TMyRamvel(messageBox, std::move(moduleFileName), Module().handles) {}

TMyRamvel::TMyRamvel(IMessageBox& messageBox, std::u16string moduleFileName, HandleTable& handles)
    : tree_(handles), messageBox_(messageBox), moduleFileName_(std::move(moduleFileName)) {}

TMyRamvel::~TMyRamvel() = default;

void TMyRamvel::FormCreate() {
    ImageList2.AppendImagesOf(ImageList1);
    TView->ShowStateImages(&ImageList1);
    ShowList(Module().imageDisplay != 0 ? &ImageList1 : nullptr);
    Module().ClearLevelTable();
}

void TMyRamvel::BeginUpdate() {
    if (updateCount_++ == 0) TView->SetRedraw(false);
}

void TMyRamvel::EndUpdate() {
    // An end without a begin leaves the counter at 0, so the tree keeps redrawing.
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) TView->SetRedraw(true);
}

NodeHandle TMyRamvel::AddNode(NodeHandle parent, std::u16string_view text) {
    const NodeHandle node = tree_.Add(parent, text);
    try {
        TView->NodeAdded(node);
    } catch (...) {
        tree_.Remove(node);  // the widget never took it
        throw;
    }
    return node;
}

void TMyRamvel::ShowWarning(const std::u16string& text) {
    messageBox_.Show(kWarningCaption, text, MessageIcon::None);
}

void TMyRamvel::AddNodes(std::u16string_view nodeParm) {
    ModuleState& module = Module();
    const bool outermost = !std::exchange(module.busy, true);
    if (outermost) BeginUpdate();
    // This control's lines work on a copy of the module's level table, taken when its outermost
    // batch starts and written back when that batch ends.
    if (levelBatchDepth_++ == 0) batchLevels_ = module.levelTable.Read();
    // The outermost batch closes itself, also when a line fails.
    struct BatchEnd {
        TMyRamvel& control;
        bool outermost;
        ~BatchEnd() {
            if (--control.levelBatchDepth_ == 0) Module().levelTable.Write(control.batchLevels_);
            if (!outermost) return;
            control.EndUpdate();
            Module().busy = false;
        }
    } batchEnd{*this, outermost};

    tree_.Reserve(static_cast<std::size_t>(CountFields(nodeParm, kLF)));
    // Lines in order, as ExtractField would give them one by one, in a single pass.
    std::u16string_view rest = nodeParm;
    for (;;) {
        const std::size_t end = FindChar(rest, kLF);
        AddNodeLine(rest.substr(0, end));
        if (end == std::u16string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
}

void TMyRamvel::AddNodeLine(std::u16string_view line) {
    const LineFields fields(line, kTAB);
    const std::u16string_view levelText = fields[1];
    NodeHandle parent = 0;
    std::int32_t nextEntry = 1;  // the level-table entry that will name the new node; 0: none

    if (levelText != u"0") {
        const std::int32_t level = StrToInt(levelText);
        if (level < 0 || level > kDeepestLevel) {
            // No entry exists for such a level: warn and place the line at the root.
            ShowWarning(MissingParentWarning(levelText));
            nextEntry = 0;
        } else if (level > 0) {
            const NodeHandle entry = batchLevels_[level];
            if (entry == 0)
                ShowWarning(MissingParentWarning(levelText));
            else if (!tree_.Contains(entry))
                ShowWarning(kUnusableParentWarning);
            else
                parent = entry;
            nextEntry = level + 1;
        }
    }
    const NodeHandle node = AddNode(parent, fields[2]);
    FinishNewNode(node, [&] { ApplyNodeLine(tree_.Get(node), fields); });
    if (nextEntry != 0) batchLevels_[nextEntry] = node;
}

NodeHandle TMyRamvel::AddPlaced(NodeHandle anchor, std::int32_t level, std::u16string_view text) {
    if (level == 0) return AddNode(0, text);
    const Node& node = tree_.Get(anchor);
    const std::int32_t recordedLevel = StrToInt(ExtractField(node.Record(), 1, kSOH));
    const NodeHandle parent = level == recordedLevel ? tree_.Parent(node) : anchor;
    return AddNode(parent, text);
}

std::u16string TMyRamvel::AddAfterNode(std::int32_t nodeIndex, std::u16string_view nodeParm) {
    if (tree_.Count() == 0 || nodeIndex == -1) {
        AddNodes(nodeParm);
        return tree_.Count() == 0 ? std::u16string() : BuildNodeInfo(tree_.FirstRoot());
    }
    const NodeHandle anchor = tree_.At(nodeIndex).handle;
    const std::int32_t level = StrToInt(ExtractField(nodeParm, 1, kTAB));
    const NodeHandle node = AddPlaced(anchor, level, ExtractField(nodeParm, 2, kTAB));
    return FinishNewNode(node, [&] {
        ApplyNodeLine(node, nodeParm);
        return AddAfterNodeReply(node);
    });
}

void TMyRamvel::AddAfterCurrentNode(std::u16string_view nodeParm) {
    if (tree_.Count() == 0) {
        AddNodes(nodeParm);
        return;
    }
    const std::int32_t level = StrToInt(ExtractField(nodeParm, 1, kTAB));
    const std::u16string_view text = ExtractField(nodeParm, 2, kTAB);
    // A stored node that is gone, or belongs to another control, anchors nothing here.
    const NodeHandle stored = Module().storedNode;
    const NodeHandle node =
        tree_.Contains(stored) ? AddPlaced(stored, level, text) : AddNode(0, text);
    FinishNewNode(node, [&] { ApplyNodeLine(node, nodeParm); });
}

void TMyRamvel::ChangeNode(std::int32_t nodeNumber, std::u16string_view nodevalue) {
    Node& node = tree_.At(nodeNumber);
    const LineFields fields(nodevalue, kTAB);
    // The old text and record go in one step, when the new ones are stored.
    ApplyNodeLine(node, fields, fields[2]);
}

void TMyRamvel::RemoveSubtree(NodeHandle handle) {
    const Node& node = tree_.Get(handle);
    const NodeHandle parent = tree_.Parent(node);
    Module().levelTable.Forget(handle);
    std::replace(batchLevels_.begin(), batchLevels_.end(), handle, NodeHandle{0});
    // Records go with the nodes: the model frees both at once.
    tree_.Remove(handle);
    // A parent left without children is closed, so that new children wait for it to open.
    if (Node* up = tree_.Find(parent); up && up->childCount == 0) tree_.SetExpanded(*up, false);
    TView->NodeRemoved(handle, parent);
}

void TMyRamvel::DeleteNode(std::int32_t nodeNumber) { RemoveSubtree(tree_.At(nodeNumber).handle); }

void TMyRamvel::DeleteHNode(NodeHandle hNode) { RemoveSubtree(tree_.Get(hNode).handle); }

void TMyRamvel::Clear() {
    Module().busy = true;
    BeginUpdate();
    tree_.Clear();  // records and texts go with their blocks, not node by node
    TView->AllNodesRemoved();
    EndUpdate();
    Module().busy = false;
    Module().ClearLevelTable();
    batchLevels_.fill(0);
}

void TMyRamvel::ReleaseNodeRecords() {
    tree_.ForEachInOrder([this](Node& node) { tree_.ReleaseRecord(node); });
}

void TMyRamvel::Refresh() { TView->Repaint(); }

bool TMyRamvel::GetTreeRefresh() const { return !Module().busy; }

void TMyRamvel::SetTreeRefresh(bool value) {
    if (value) {
        EndUpdate();
        Module().busy = false;
    } else {
        Module().busy = true;
        BeginUpdate();
    }
}

}  // namespace ramvel
