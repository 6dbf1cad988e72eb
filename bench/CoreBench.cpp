// Speed and memory of the core on a generated tree of 1,000,000 nodes of mixed depth with all
// six fields filled. Prints one `name: value unit` line per figure; an argument, if any, goes in
// front of every name (tools/bench gives "wine64_" under Wine).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "control/Fields.h"
#include "FakeTreeWidget.h"
#include "ProcessMemory.h"
#include "control/MyRamvel.h"

namespace {

using namespace ramvel;

// A message box that shows nothing: the figures are the core's own.
class NullMessageBox : public IMessageBox {
public:
    void Show(const std::u16string&, const std::u16string&, MessageIcon) override {}
};

std::u16string GenerateLines(int count) {
    std::mt19937 random(42);
    std::u16string lines;
    int level = 0;
    for (int i = 0; i < count; ++i) {
        // A walk over depths 0..7: go one deeper, stay, or climb back up some levels.
        const int move = static_cast<int>(random() % 4);
        if (i == 0) level = 0;
        else if (move == 0 && level < 7) ++level;
        else if (move == 1) level = static_cast<int>(random() % (level + 1));
        if (i != 0) lines += kLF;
        AppendInt(lines, level);
        lines += u"\tNode ";
        AppendInt(lines, i);
        lines += u"\t";
        AppendInt(lines, i % 40);
        lines += u",";
        AppendInt(lines, i % 40 + 1);
        lines += u"\t";
        AppendInt(lines, i % 30);
        lines += u"\t";
        AppendInt(lines, i % 15 + 1);
        lines += u"\tdata-";
        AppendInt(lines, i);
    }
    return lines;
}

template <typename F>
double PerSecond(std::size_t operations, F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return static_cast<double>(operations) / seconds.count();
}

volatile std::size_t sinkhole = 0;  // keeps results alive

}  // namespace

int main(int argc, char** argv) {
    const char* prefix = argc > 1 ? argv[1] : "";
    constexpr int kNodes = 1000000;
    constexpr std::size_t kLookups = 1000000;
    const std::u16string lines = GenerateLines(kNodes);

    NullMessageBox messageBox;
    TMyRamvel control(messageBox, u"Ramvel.ocx");
    test::FakeTreeWidget widget{control};
    control.AttachWidget(widget);
    control.FormCreate();

    const std::size_t residentBefore = bench::ProcessMemoryBytes();
    const double addRate = PerSecond(kNodes, [&] { control.AddNodes(lines); });
    const std::size_t residentAfter = bench::ProcessMemoryBytes();

    std::size_t textBytes = control.Tree().TextChars() * sizeof(char16_t);
    std::vector<NodeHandle> handles;
    handles.reserve(kNodes);
    control.Tree().ForEachInOrder([&](Node& node) {
        handles.push_back(node.handle);
    });
    const double bytesPerNode = (static_cast<double>(residentAfter - residentBefore) - static_cast<double>(textBytes)) / kNodes;

    std::mt19937 random(7);
    std::vector<std::int32_t> indexes(kLookups);
    std::vector<NodeHandle> randomHandles(kLookups);
    for (std::size_t i = 0; i < kLookups; ++i) {
        indexes[i] = static_cast<std::int32_t>(random() % kNodes);
        randomHandles[i] = handles[random() % kNodes];
    }

    const double sequential = PerSecond(kNodes, [&] {
        for (std::int32_t i = 0; i < kNodes; ++i) sinkhole = sinkhole + control.GetNode(i).size();
    });
    const double randomGet = PerSecond(kLookups, [&] {
        for (std::int32_t i : indexes) sinkhole = sinkhole + control.GetNode(i).size();
    });
    const double nextSibling = PerSecond(kLookups, [&] {
        for (NodeHandle h : randomHandles) sinkhole = sinkhole + static_cast<std::size_t>(control.NextSibling(h));
    });
    const double childrenNumber = PerSecond(kLookups, [&] {
        for (NodeHandle h : randomHandles) sinkhole = sinkhole + static_cast<std::size_t>(control.ChildrenNumber(h));
    });
    const double getParent = PerSecond(kLookups, [&] {
        for (NodeHandle h : randomHandles) sinkhole = sinkhole + control.getParent(h).size();
    });

    // Edits in the middle of the tree, each followed by one lookup at a random index. The lines
    // are measured once, not on every call.
    constexpr std::size_t kEdits = 200000;
    constexpr std::u16string_view kInsertedLine = u"2\tInserted\t1\t2\t3\tx";
    constexpr std::u16string_view kChangedLine = u"3\tChanged\t4,5\t6\t1\tdata";
    const double insertMiddle = PerSecond(kEdits, [&] {
        for (std::size_t i = 0; i < kEdits; ++i) {
            const auto anchor = static_cast<std::int32_t>(random() % (static_cast<std::uint32_t>(control.Tree().Count()) / 2));
            sinkhole = sinkhole + control.AddAfterNode(anchor, kInsertedLine).size();
            sinkhole = sinkhole + control.GetNode(static_cast<std::int32_t>(random() % control.Tree().Count())).size();
        }
    });
    // Leaves picked ahead, so the figure counts the deletion and the lookup only.
    std::vector<NodeHandle> leaves;
    while (leaves.size() < kEdits) {
        const NodeHandle h = handles[random() % handles.size()];
        const Node* node = control.Tree().Find(h);
        if (node && node->childCount == 0) leaves.push_back(h);
    }
    std::sort(leaves.begin(), leaves.end());
    leaves.erase(std::unique(leaves.begin(), leaves.end()), leaves.end());
    std::shuffle(leaves.begin(), leaves.end(), random);
    const double deleteMiddle = PerSecond(leaves.size(), [&] {
        for (NodeHandle leaf : leaves) {
            control.DeleteNode(control.Tree().IndexOf(*control.Tree().Find(leaf)));
            sinkhole = sinkhole + control.GetNode(static_cast<std::int32_t>(random() % control.Tree().Count())).size();
        }
    });
    const double change = PerSecond(kLookups, [&] {
        for (std::int32_t i : indexes) {
            if (i >= control.Tree().Count()) i = 0;
            control.ChangeNode(i, kChangedLine);
            sinkhole = sinkhole + control.GetNode(static_cast<std::int32_t>(random() % control.Tree().Count())).size();
        }
    });

    std::printf("%snodes: %d nodes\n", prefix, kNodes);
    std::printf("%saddnodes_lines_per_s: %.0f lines/s\n", prefix, addRate);
    std::printf("%sgetnode_sequential_per_s: %.0f calls/s\n", prefix, sequential);
    std::printf("%sgetnode_random_per_s: %.0f calls/s\n", prefix, randomGet);
    std::printf("%snextsibling_random_per_s: %.0f calls/s\n", prefix, nextSibling);
    std::printf("%schildrennumber_random_per_s: %.0f calls/s\n", prefix, childrenNumber);
    std::printf("%sgetparent_random_per_s: %.0f calls/s\n", prefix, getParent);
    std::printf("%sbytes_per_node: %.1f bytes\n", prefix, bytesPerNode);
    std::printf("%sinsert_middle_then_getnode_per_s: %.0f edits/s\n", prefix, insertMiddle);
    std::printf("%sdelete_middle_then_getnode_per_s: %.0f edits/s\n", prefix, deleteMiddle);
    std::printf("%schange_then_getnode_per_s: %.0f edits/s\n", prefix, change);
    return 0;
}
