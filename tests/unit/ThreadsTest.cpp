// Controls on several threads at once: the process-wide handle table and level table are
// shared by all of them, and no thread's tree may come out wrong because of another's.
#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <unordered_set>

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
        TreeHandles handles(table);
        for (std::uint32_t slot = 0; slot < kPerThread; ++slot) given[t].push_back(handles.Allocate(slot));
        for (std::uint32_t slot = 0; slot < kPerThread; ++slot) {
            if (handles.SlotOf(given[t][slot]) != slot) problems[t] = "handle " + std::to_string(given[t][slot]);
        }
        for (NodeHandle handle : given[t]) handles.Release(handle);
        for (NodeHandle handle : given[t])
            if (handles.SlotOf(handle) != TreeHandles::kNoSlot) problems[t] = "released handle " + std::to_string(handle);
    });
    for (const std::string& problem : problems) EXPECT_EQ(problem, "");
    std::vector<NodeHandle> all;
    for (const auto& handles : given) all.insert(all.end(), handles.begin(), handles.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "a handle was given twice";
}

// Past the last handle, pages come back and go to other threads while every thread looks up
// the handles the others give and release: a lookup never names another tree's node, and no
// live handle is given twice.
TEST(Threads, HandlesReusedAcrossThreadsNameOnlyTheirOwnNodes) {
    // Sixteen pages before the last handle: enough for every thread's live handles, and used up
    // several times over.
    constexpr NodeHandle kStart = 0x7FFFFFFF - 16 * static_cast<NodeHandle>(HandlePage::kSize) + 1;
    constexpr int kRounds = 40;
    constexpr std::uint32_t kPerRound = 20000;
    HandleTable table(kStart);
    std::vector<std::atomic<NodeHandle>> latest(kThreads);
    std::vector<std::string> problems(kThreads);
    std::vector<NodeHandle> lowest(kThreads, 0x7FFFFFFF);
    OnThreads([&](int t) {
        TreeHandles handles(table);
        std::vector<NodeHandle> mine;
        std::unordered_set<NodeHandle> live;
        for (int round = 0; round < kRounds && problems[t].empty(); ++round) {
            for (std::uint32_t slot = 0; slot < kPerRound; ++slot) {
                const NodeHandle handle = handles.Allocate(slot);
                if (!live.insert(handle).second) problems[t] = "live handle given twice: " + std::to_string(handle);
                lowest[t] = std::min(lowest[t], handle);
                mine.push_back(handle);
                latest[t].store(handle, std::memory_order_relaxed);
                const NodeHandle other = latest[(t + 1 + slot % (kThreads - 1)) % kThreads].load(std::memory_order_relaxed);
                if (other != 0 && handles.SlotOf(other) != TreeHandles::kNoSlot && !live.contains(other))
                    problems[t] = "another thread's handle " + std::to_string(other) + " names a node here";
            }
            for (std::uint32_t slot = 0; slot < kPerRound; ++slot) {
                if (handles.SlotOf(mine[slot]) != slot) problems[t] = "handle " + std::to_string(mine[slot]) + " lost";
                handles.Release(mine[slot]);
                live.erase(mine[slot]);
            }
            mine.clear();
        }
    });
    for (const std::string& problem : problems) EXPECT_EQ(problem, "");
    // Nothing below the start was ever given: the pages came round again.
    EXPECT_GE(*std::min_element(lowest.begin(), lowest.end()), kStart);
}

// A message box that runs `during` while it is up, as the user's clicks elsewhere would.
class BoxThatRuns : public IMessageBox {
public:
    void Show(const std::u16string&, const std::u16string&, MessageIcon) override {
        if (during) during();
    }
    std::function<void()> during;
};

struct SeenOnAnotherThread {
    bool treeRefresh = false;
    std::vector<RaisedEvent> events;
};

// A control of another thread: its TreeRefresh, and what selecting its node raises.
SeenOnAnotherThread SelectOnAnotherThread() {
    SeenOnAnotherThread seen;
    std::thread([&] {
        RecordingMessageBox box;
        FakeFiles files;
        TMyRamvel control{box, u"Ramvel.ocx"};
        FakeTreeWidget widget{control};
        const auto sink = std::make_shared<RecordingSink>();
        WireToDoubles(control, widget, files, sink);
        control.AddNodes(u"0\tOther");
        sink->events.clear();
        seen.treeRefresh = control.GetTreeRefresh();
        control.GoToNode(0);
        seen.events = sink->events;
    }).join();
    return seen;
}

// The busy flag is each thread's: a batch mutes the change events of every control of its own
// thread, and of no other thread's.
TEST(Threads, ABatchMutesTheControlsOfItsOwnThreadOnly) {
    BoxThatRuns box;
    FakeFiles files;
    TMyRamvel first{box, u"Ramvel.ocx"}, second{box, u"Ramvel.ocx"};
    FakeTreeWidget firstWidget{first}, secondWidget{second};
    const auto firstSink = std::make_shared<RecordingSink>(), secondSink = std::make_shared<RecordingSink>();
    WireToDoubles(first, firstWidget, files, firstSink);
    WireToDoubles(second, secondWidget, files, secondSink);
    second.AddNodes(u"0\tB");

    SeenOnAnotherThread otherThread;
    bool secondRefresh = true;
    std::vector<RaisedEvent> secondEvents;
    box.during = [&] {
        otherThread = SelectOnAnotherThread();
        secondSink->events.clear();
        secondRefresh = second.GetTreeRefresh();
        second.GoToNode(0);
        secondEvents = secondSink->events;
    };
    first.AddNodes(u"1\tA");  // warning 1, shown while the batch is open
    box.during = nullptr;
    EXPECT_FALSE(secondRefresh);
    EXPECT_EQ(secondEvents, std::vector<RaisedEvent>{});
    EXPECT_TRUE(otherThread.treeRefresh);
    ASSERT_EQ(otherThread.events.size(), 1u);
    EXPECT_EQ(otherThread.events[0].id, EventId::OnChange);

    // The host's bracket likewise.
    first.SetTreeRefresh(false);
    otherThread = SelectOnAnotherThread();
    EXPECT_FALSE(second.GetTreeRefresh());
    EXPECT_TRUE(otherThread.treeRefresh);
    EXPECT_EQ(otherThread.events.size(), 1u);
    first.SetTreeRefresh(true);
    EXPECT_TRUE(second.GetTreeRefresh());
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
