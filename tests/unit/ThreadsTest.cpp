// Controls on several threads at once: the process-wide handle table and level table are
// shared by all of them, and no thread's tree may come out wrong because of another's.
#include <algorithm>
#include <thread>

#include "TestSupport.h"

namespace ramvel::test {
namespace {

constexpr int kThreads = 4;

// Runs `body(thread index)` on kThreads threads at once.
template <typename Body>
void OnThreads(Body body) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) threads.emplace_back(body, t);
    for (std::thread& thread : threads) thread.join();
}

TEST(Threads, HandleTableTakesConcurrentAllocationLookupAndRelease) {
    constexpr std::uint32_t kPerThread = 300000;  // crosses pages of the table
    HandleTable table;
    std::vector<std::vector<NodeHandle>> given(kThreads);
    std::vector<std::string> problems(kThreads);
    OnThreads([&](int t) {
        const std::uint32_t owner = table.NewOwnerId();
        for (std::uint32_t slot = 0; slot < kPerThread; ++slot) given[t].push_back(table.Allocate(owner, slot));
        for (std::uint32_t slot = 0; slot < kPerThread; ++slot) {
            const HandleTable::Entry entry = table.Lookup(given[t][slot]);
            if (entry.owner != owner || entry.slot != slot) problems[t] = "handle " + std::to_string(given[t][slot]);
        }
        for (NodeHandle handle : given[t]) table.Release(handle);
        for (NodeHandle handle : given[t])
            if (table.Lookup(handle).owner != 0) problems[t] = "released handle " + std::to_string(handle);
    });
    for (const std::string& problem : problems) EXPECT_EQ(problem, "");
    std::vector<NodeHandle> all;
    for (const auto& handles : given) all.insert(all.end(), handles.begin(), handles.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "a handle was given twice";
}

// Each thread builds its own tree in many batches of node lines, each batch starting at the
// root, while the others build theirs: every tree comes out as its lines say, with no warning.
TEST(Threads, ControlsBuildTheirOwnTreesAtOnce) {
    constexpr int kBatches = 300;
    constexpr int kLinesPerBatch = 40;
    auto levelOf = [](int line) { return line == 0 ? 0 : 1 + (line - 1) % 3; };  // 0 1 2 3 1 2 3 ...
    std::vector<std::string> problems(kThreads);
    OnThreads([&](int t) {
        RecordingMessageBox box;
        TMyRamvel control{box, u"Ramvel.ocx"};
        FakeTreeWidget widget{control};
        control.AttachWidget(widget);
        for (int batch = 0; batch < kBatches; ++batch) {
            std::u16string lines;
            for (int line = 0; line < kLinesPerBatch; ++line) {
                if (line) lines += u'\n';
                lines += IntToStr(levelOf(line)) + u"\tt" + IntToStr(t) + u"b" + IntToStr(batch);
            }
            control.AddNodes(lines);
        }
        TreeModel& tree = control.Tree();
        if (!box.boxes.empty()) problems[t] = "warning: " + Utf8(box.boxes.front().text);
        if (tree.Count() != kBatches * kLinesPerBatch) problems[t] += " count " + std::to_string(tree.Count());
        for (std::int32_t i = 0; i < tree.Count() && problems[t].empty(); ++i) {
            // A level 1 line hangs under its batch's root, a deeper one under the line before it.
            const int k = i % kLinesPerBatch;
            const std::int32_t parent = k == 0 ? -1 : levelOf(k) == 1 ? i - k : i - 1;
            if (tree.Parent(tree.At(i)) != (parent < 0 ? 0 : tree.At(parent).handle))
                problems[t] = "node " + std::to_string(i) + " under the wrong parent";
        }
    });
    for (const std::string& problem : problems) EXPECT_EQ(problem, "");
}

}  // namespace
}  // namespace ramvel::test
