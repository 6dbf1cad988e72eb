// Handles and pre-order indexes of the node model, checked against a plain walk.
#include <algorithm>
#include <random>

#include "TestSupport.h"
#include "control/Fields.h"

namespace ramvel::test {
namespace {

// The pre-order walk done the slow way, through the links only.
std::vector<NodeHandle> WalkOrder(const TreeModel& tree) {
    std::vector<NodeHandle> order;
    auto visit = [&](auto&& self, NodeHandle first) -> void {
        for (NodeHandle n = first; n != 0; n = tree.NextSibling(*tree.Find(n))) {
            order.push_back(n);
            self(self, tree.FirstChild(*tree.Find(n)));
        }
    };
    visit(visit, tree.FirstRoot());
    return order;
}

// Walked backward, every list of siblings gives the forward walk reversed, and its parent (or
// the tree, for the roots) names its last one.
void ExpectSiblingsBothWays(const TreeModel& tree, NodeHandle parent) {
    const NodeHandle first = parent ? tree.FirstChild(*tree.Find(parent)) : tree.FirstRoot();
    std::vector<NodeHandle> forward;
    for (NodeHandle n = first; n != 0; n = tree.NextSibling(*tree.Find(n))) forward.push_back(n);
    const NodeHandle last = parent ? tree.LastChild(*tree.Find(parent)) : tree.LastRoot();
    ASSERT_EQ(last, forward.empty() ? 0 : forward.back()) << "under " << parent;
    std::vector<NodeHandle> backward;
    // One step more than the list holds shows a way back that does not end.
    for (NodeHandle n = last; n != 0 && backward.size() <= forward.size(); n = tree.PrevSibling(*tree.Find(n)))
        backward.push_back(n);
    ASSERT_TRUE(std::equal(forward.rbegin(), forward.rend(), backward.begin(), backward.end())) << "under " << parent;
    for (NodeHandle n : forward) ExpectSiblingsBothWays(tree, n);
}

void ExpectConsistent(TreeModel& tree) {
    ExpectSiblingsBothWays(tree, 0);
    const std::vector<NodeHandle> order = WalkOrder(tree);
    ASSERT_EQ(static_cast<std::int32_t>(order.size()), tree.Count());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto index = static_cast<std::int32_t>(i);
        ASSERT_EQ(tree.At(index).handle, order[i]) << "index " << i;
        ASSERT_EQ(tree.IndexOf(*tree.Find(order[i])), index);
        // A node is described from the flat copy's entry: it must be the node's own.
        const Node& node = *tree.Find(order[i]);
        ASSERT_EQ(tree.TextsAt(index).entry, node.entry) << "index " << i;
        ASSERT_EQ(tree.TextsAt(index).handle, node.handle);
    }
}

TEST(TreeModel, IndexesFollowEveryKindOfChange) {
    // Small trees checked often, and trees big enough to split the index's leaves and inner
    // nodes many times, with inserts and deletes in the middle.
    struct {
        const char* name;
        int steps;
        int checkEvery;
    } cases[] = {{"small", 3000, 10}, {"large", 120000, 30000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 random(1234);
        TreeModel tree;
        std::vector<NodeHandle> live;
        for (int step = 1; step <= c.steps; ++step) {
            const int choice = static_cast<int>(random() % 10);
            if (choice < 9 || live.empty()) {
                // Mostly appends at the end of the walk, often in the middle, sometimes roots.
                NodeHandle parent = 0;
                if (!live.empty() && choice != 0) parent = choice < 4 ? live.back() : live[random() % live.size()];
                live.push_back(tree.Add(parent, u"n"));
            } else {
                const NodeHandle gone = live[random() % live.size()];
                tree.Remove(gone);
                std::erase_if(live, [&](NodeHandle h) { return !tree.Contains(h); });
                EXPECT_FALSE(tree.Contains(gone));
            }
            if (step % c.checkEvery == 0) ExpectConsistent(tree);
        }
        ExpectConsistent(tree);
        tree.Clear();
        EXPECT_EQ(tree.Count(), 0);
        EXPECT_ERROR(tree.At(0), kEUnexpected, kIndexIncorrect);
    }
}

// After an edit in the middle, lookups go through the tree until they have cost about as much
// as a new flat copy. A lookup far from the last one descends from the root and counts for
// more than a step to the next index, so random lookups make the copy again sooner.
TEST(TreeModel, FlatCopyReturnsOnceLookupsPayForIt) {
    TreeModel tree;
    for (int i = 0; i < 20000; ++i) tree.Add(0, u"n");
    std::mt19937 random(5);
    auto lookupsUntilFlat = [&](bool randomly) {
        tree.Add(tree.FirstRoot(), u"inserted in the middle");
        EXPECT_FALSE(tree.FlatOrderValid());
        const std::vector<NodeHandle> order = WalkOrder(tree);
        int lookups = 0;
        for (; !tree.FlatOrderValid(); ++lookups) {
            const auto index = static_cast<std::int32_t>(randomly ? random() % 20000 : lookups % 20000);
            EXPECT_EQ(tree.At(index).handle, order[static_cast<std::size_t>(index)]);
        }
        return lookups;
    };
    const int inOrder = lookupsUntilFlat(false);
    const int atRandom = lookupsUntilFlat(true);
    EXPECT_GT(inOrder, 1000);
    EXPECT_LT(atRandom, inOrder / 3);
    ExpectConsistent(tree);
}

TEST(TreeModel, HandlesArePositiveUniqueAndNeverReused) {
    TreeModel first, second;
    std::vector<NodeHandle> seen;
    for (int i = 0; i < 5000; ++i) {
        seen.push_back(first.Add(0, u"a"));
        seen.push_back(second.Add(0, u"b"));
    }
    const NodeHandle removed = seen.front();
    first.Remove(removed);
    for (int i = 0; i < 10000; ++i) seen.push_back(first.Add(0, u"c"));
    std::vector<NodeHandle> sorted = seen;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_GT(sorted.front(), 0);
    EXPECT_FALSE(first.Contains(removed));
    // A handle of one tree names nothing in the other.
    EXPECT_FALSE(first.Contains(second.At(0).handle));
    EXPECT_EQ(first.Find(0), nullptr);
    EXPECT_EQ(first.Find(-3), nullptr);
}

TEST(TreeModel, DestroyedTreeReleasesItsHandles) {
    NodeHandle handle;
    {
        TreeModel tree;
        handle = tree.Add(0, u"x");
        EXPECT_NE(Module().handles.OwnerOf(handle), 0u);
    }
    EXPECT_EQ(Module().handles.OwnerOf(handle), 0u);  // its page went back
}

// A tree that only grows at its end (or loses its last nodes) keeps its order in the flat copy
// alone; the first edit elsewhere builds the counted tree, and lookups agree throughout.
TEST(TreeModel, CountedTreeComesWithTheFirstEditElsewhere) {
    TreeModel tree;
    std::vector<NodeHandle> roots;
    for (int i = 0; i < 3000; ++i) {
        const NodeHandle root = tree.Add(0, u"r");
        roots.push_back(root);
        tree.Add(root, u"c");
    }
    tree.Remove(roots.back());
    EXPECT_FALSE(tree.OrderTreeKept());
    ExpectConsistent(tree);
    tree.Add(roots[10], u"inserted");  // in the middle
    EXPECT_TRUE(tree.OrderTreeKept());
    EXPECT_FALSE(tree.FlatOrderValid());
    ExpectConsistent(tree);
    tree.Remove(roots[20]);
    ExpectConsistent(tree);
}

TEST(TreeModel, CountsBeyondSixteenBits) {
    TreeModel tree;
    NodeHandle parent = tree.Add(0, u"root");
    for (int i = 0; i < 70000; ++i) tree.Add(parent, u"child");
    const NodeHandle last = tree.Add(0, u"last");
    EXPECT_EQ(tree.Count(), 70002);
    EXPECT_EQ(tree.Find(parent)->childCount, 70000u);
    EXPECT_EQ(tree.At(70001).handle, last);
    EXPECT_EQ(tree.IndexOf(*tree.Find(last)), 70001);
}

}  // namespace
}  // namespace ramvel::test

namespace ramvel::test {
namespace {

std::u16string TextFor(int node, int round) {
    return u"node " + IntToStr(node) + u" round " + IntToStr(round) + std::u16string(static_cast<std::size_t>(node % 50), u'x');
}

TEST(TreeModel, TextsSurviveReplacementAndCompaction) {
    TreeModel tree;
    std::vector<NodeHandle> handles;
    for (int i = 0; i < 2000; ++i) {
        handles.push_back(tree.Add(i % 3 ? handles.back() : 0, TextFor(i, 0)));
        tree.Find(handles.back())->SetStateImage(i % 15);
    }
    // Enough rewrites that garbage outweighs live texts several times over.
    for (int round = 1; round <= 20; ++round) {
        for (int i = 0; i < 2000; ++i) {
            Node& node = *tree.Find(handles[static_cast<std::size_t>(i)]);
            if (i % 2) tree.SetText(node, TextFor(i, round));
            tree.SetRecord(node, u"rec" + TextFor(i, round));
        }
        for (int i = 0; i < 2000; i += 7) tree.ReleaseRecord(*tree.Find(handles[static_cast<std::size_t>(i)]));
    }
    for (int i = 0; i < 2000; ++i) {
        const Node& node = *tree.Find(handles[static_cast<std::size_t>(i)]);
        SCOPED_TRACE(i);
        EXPECT_EQ(Show(node.Text()), Show(TextFor(i, i % 2 ? 20 : 0)));
        EXPECT_EQ(std::u16string(node.TextZ()), std::u16string(node.Text()));
        EXPECT_EQ(Show(node.Record()), i % 7 ? Show(u"rec" + TextFor(i, 20)) : "");
        EXPECT_EQ(node.hasRecord, i % 7 != 0);
        // What describes a node travels with its entry, and lookups by index find it.
        EXPECT_EQ(node.StateImage(), i % 15);
        EXPECT_EQ(tree.TextsAt(tree.IndexOf(node)).entry, node.entry);
        EXPECT_EQ(tree.TextsAt(tree.IndexOf(node)).handle, node.handle);
    }
    EXPECT_LT(tree.TextChars(), std::size_t{2000} * 200);
}

// New texts go over the node's entry when they fit and are not read from it; otherwise they
// take new room. Either way the node reads back exactly what it was given, and the live count
// follows.
TEST(TreeModel, SetTextsReusesTheEntryWhenTheyFit) {
    struct Case {
        const char* name;
        std::u16string text, record;  // empty text: the node's own record, swapped in (aliasing)
        bool sameEntry;
    } cases[] = {
        {"shorter", u"short", u"r", true},
        {"same size", u"0123456789", u"abcdefghij", true},
        {"longer", u"a much longer text than before", u"and a longer record too", false},
        {"read from the entry itself", u"", u"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TreeModel tree;
        Node& node = tree.Get(tree.Add(0, u"0123456789"));
        tree.SetRecord(node, u"abcdefghij");
        node.SetStateImage(7);
        const char16_t* before = node.Text().data();
        const std::u16string text = c.text.empty() ? std::u16string(node.Record()) : c.text;
        const std::u16string record = c.text.empty() ? std::u16string(node.Text()) : c.record;
        if (c.text.empty()) tree.SetTexts(node, node.Record(), node.Text());
        else tree.SetTexts(node, c.text, c.record);
        EXPECT_EQ(Show(node.Text()), Show(text));
        EXPECT_EQ(Show(node.Record()), Show(record));
        EXPECT_EQ(std::u16string(node.TextZ()), text);
        EXPECT_EQ(node.Text().data() == before, c.sameEntry);
        EXPECT_EQ(node.StateImage(), 7);
        EXPECT_EQ(tree.TextsAt(0).entry, node.entry);
        EXPECT_EQ(tree.TextsAt(0).handle, node.handle);
        EXPECT_EQ(tree.TextChars(), text.size() + record.size() + 2);
    }
}

// Lengths from 65,535 on take the entry's long form. Whatever the forms before and after a
// change, in place or not, and through compaction, a node reads back exactly what it was given.
TEST(TreeModel, LongTextsAndRecordsKeepTheirLengths) {
    struct Case {
        const char* name;
        std::size_t text, record;        // the first texts' lengths
        std::size_t newText, newRecord;  // newText 0: the record alone changes
    } cases[] = {
        {"long text, then short ones in its place", 70000, 10, 5, 5},
        {"long record, then a longer one", 10, 70000, 0, 80000},
        {"record of the newest entry grows past the short form", 10, 100, 0, 70000},
        {"short texts, then long ones", 10, 10, 70000, 70000},
        {"lengths at the limit", 65535, 65534, 65534, 65535},
        {"just below the limit, then at it in place", 65534, 65534, 0, 65535},
    };
    auto textOf = [](std::size_t length, char16_t c) { return std::u16string(length, c); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TreeModel tree;
        // Long enough to fill the small first block: the entries after it share a big one.
        const std::u16string firstText = textOf(70000, u'f');
        Node& first = tree.Get(tree.Add(0, firstText));
        tree.SetRecord(first, u"first record");
        Node& node = tree.Get(tree.Add(0, textOf(c.text, u't')));
        tree.SetRecord(node, textOf(c.record, u'r'));
        node.SetStateImage(9);
        const std::u16string text = c.newText ? textOf(c.newText, u'T') : textOf(c.text, u't');
        const std::u16string record = textOf(c.newRecord, u'R');
        if (c.newText) tree.SetTexts(node, text, record);
        else tree.SetRecord(node, record);
        auto check = [&] {
            EXPECT_EQ(node.Text().size(), text.size());
            EXPECT_TRUE(node.Text() == text);
            EXPECT_TRUE(node.Record() == record);
            EXPECT_EQ(std::u16string(node.TextZ()), text);
            EXPECT_EQ(node.StateImage(), 9);
            EXPECT_EQ(tree.TextsAt(1).entry, node.entry);
            EXPECT_TRUE(first.Text() == firstText);
            EXPECT_EQ(Show(first.Record()), "first record");
            EXPECT_EQ(tree.TextChars(), text.size() + record.size() + 2 + firstText.size() + 12 + 2);
        };
        check();
        // Garbage enough to compact, which moves both entries.
        Node& churn = tree.Get(tree.Add(0, u""));
        const char16_t* before = node.entry;
        for (int i = 0; i < 40; ++i) tree.SetText(churn, textOf(70000 + static_cast<std::size_t>(i % 2), u'c'));
        tree.Remove(churn.handle);
        EXPECT_NE(node.entry, before);
        check();
    }
}

}  // namespace
}  // namespace ramvel::test
