// The counted B+ tree of the pre-order sequence against a plain vector, through long random
// edit sequences that split and empty leaves and inner nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "control/OrderIndex.h"

namespace ramvel {
namespace {

void ExpectSame(OrderIndex& index, const std::vector<std::uint32_t>& plain) {
    ASSERT_EQ(index.Size(), plain.size());
    std::vector<std::uint32_t> walked;
    index.ForEach([&](std::uint32_t slot) { walked.push_back(slot); });
    ASSERT_EQ(walked, plain);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_EQ(index.At(i), plain[i]) << "at " << i;
        ASSERT_EQ(index.PositionOf(plain[i]), i) << "slot " << plain[i];
    }
}

TEST(OrderIndex, RandomEditsMatchAPlainSequence) {
    struct {
        const char* name;
        int inserts;
        int appendPercent;  // how many of the inserts go to the end
        int erasePercent;   // chance of an erase after each insert
        std::size_t longestErase;
    } cases[] = {
        {"appends only, past inner splits", 80000, 100, 0, 0},
        {"inserts anywhere", 40000, 0, 0, 0},
        {"mixed edits", 60000, 50, 30, 50},
        {"long erases", 40000, 30, 5, 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 random(7);
        OrderIndex index;
        std::vector<std::uint32_t> plain;
        std::vector<std::uint32_t> freeSlots;
        std::uint32_t nextSlot = 0;
        for (int i = 0; i < c.inserts; ++i) {
            std::uint32_t slot = nextSlot++;
            if (!freeSlots.empty() && random() % 2) slot = freeSlots.back(), freeSlots.pop_back(), --nextSlot;
            const std::size_t position =
                static_cast<int>(random() % 100) < c.appendPercent ? plain.size() : random() % (plain.size() + 1);
            index.Insert(position, slot);
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(position), slot);
            if (!plain.empty() && static_cast<int>(random() % 100) < c.erasePercent) {
                const std::size_t from = random() % plain.size();
                const std::size_t count = std::min<std::size_t>(1 + random() % c.longestErase, plain.size() - from);
                freeSlots.insert(freeSlots.end(), plain.begin() + static_cast<std::ptrdiff_t>(from),
                                 plain.begin() + static_cast<std::ptrdiff_t>(from + count));
                index.Erase(from, count);
                plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(from),
                            plain.begin() + static_cast<std::ptrdiff_t>(from + count));
            }
            if (i % 9973 == 0) ExpectSame(index, plain);
        }
        ExpectSame(index, plain);
        // Emptied in pieces from the front, then filled again.
        while (!plain.empty()) {
            const std::size_t count = std::min<std::size_t>(plain.size(), 1 + random() % 5000);
            index.Erase(0, count);
            plain.erase(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(count));
        }
        ExpectSame(index, plain);
        for (std::uint32_t slot = 0; slot < 2000; ++slot) {
            index.Insert(slot / 2, slot);
            plain.insert(plain.begin() + slot / 2, slot);
        }
        ExpectSame(index, plain);
    }
}

TEST(OrderIndex, ClearDropsEverything) {
    OrderIndex index;
    for (std::uint32_t slot = 0; slot < 5000; ++slot) index.Insert(slot, slot);
    index.Clear();
    EXPECT_EQ(index.Size(), 0u);
    index.Insert(0, 42);
    EXPECT_EQ(index.At(0), 42u);
    EXPECT_EQ(index.PositionOf(42), 0u);
}

// Built in one pass from a sequence, the index answers as the appends of the same slots would
// have made it, and takes edits anywhere after it: at the sizes where leaves and inner nodes
// fill up.
TEST(OrderIndex, BuiltFromASequenceTakesEditsAfterIt) {
    constexpr std::size_t kLeaf = 508, kFanout = 64;
    const std::size_t sizes[] = {0, 1, kLeaf, kLeaf + 1, kLeaf * kFanout, kLeaf * kFanout + 1, 3 * kLeaf * kFanout + 7};
    for (const std::size_t size : sizes) {
        SCOPED_TRACE(size);
        std::mt19937 random(static_cast<std::uint32_t>(size));
        // Slots in a shuffled order, as a tree's slots lie in its pre-order after edits.
        std::vector<std::uint32_t> plain(size);
        for (std::size_t i = 0; i < size; ++i) plain[i] = static_cast<std::uint32_t>(i);
        std::shuffle(plain.begin(), plain.end(), random);
        OrderIndex index;
        index.Insert(0, static_cast<std::uint32_t>(size) + 5);  // what was there before goes
        index.Build(plain.data(), plain.size(), size + 1);
        ExpectSame(index, plain);
        std::uint32_t next = static_cast<std::uint32_t>(size) + 1;
        for (int edit = 0; edit < 3000; ++edit) {
            const std::size_t position = edit % 3 == 0 ? plain.size() : random() % (plain.size() + 1);
            index.Insert(position, next);
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(position), next++);
            if (edit % 4 == 0) {
                const std::size_t from = random() % plain.size();
                const std::size_t count = std::min<std::size_t>(1 + random() % 700, plain.size() - from);
                index.Erase(from, count);
                plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(from),
                            plain.begin() + static_cast<std::ptrdiff_t>(from + count));
            }
        }
        ExpectSame(index, plain);
    }
}

}  // namespace
}  // namespace ramvel
