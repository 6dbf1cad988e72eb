// Rows on screen (nodes under open ancestors), checked against a plain walk after random
// edits, opening and closing; and typing to a row.
#include <map>
#include <random>

#include "TestSupport.h"
#include "control/HandleMap.h"
#include "control/TypeAhead.h"
#include "control/VisibleRows.h"

namespace ramvel::test {
namespace {

// The rows the slow way: pre-order, skipping the children of closed nodes.
std::vector<NodeHandle> WalkRows(const TreeModel& tree) {
    std::vector<NodeHandle> rows;
    auto visit = [&](auto&& self, NodeHandle first) -> void {
        for (NodeHandle n = first; n != 0; n = tree.NextSibling(*tree.Find(n))) {
            rows.push_back(n);
            if (tree.Find(n)->expanded) self(self, tree.FirstChild(*tree.Find(n)));
        }
    };
    visit(visit, tree.FirstRoot());
    return rows;
}

void ExpectRowsAgree(const TreeModel& tree) {
    const std::vector<NodeHandle> expected = WalkRows(tree);
    const VisibleRows rows(tree);
    ASSERT_EQ(rows.Count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Node& node = *tree.Find(expected[i]);
        ASSERT_TRUE(rows.IsShown(node));
        ASSERT_EQ(rows.RowOf(node), i);
        ASSERT_EQ(rows.NodeAt(static_cast<std::uint32_t>(i))->handle, expected[i]);
        const Node* next = rows.Next(node);
        ASSERT_EQ(next ? next->handle : 0, i + 1 < expected.size() ? expected[i + 1] : 0);
        const Node* previous = rows.Previous(node);
        ASSERT_EQ(previous ? previous->handle : 0, i > 0 ? expected[i - 1] : 0);
    }
    ASSERT_EQ(rows.NodeAt(static_cast<std::uint32_t>(expected.size())), nullptr);
}

TEST(VisibleRows, FollowEditsOpeningAndClosing) {
    // Narrow deep trees and wide lists, with nodes opened, closed, added and removed anywhere.
    struct {
        int seed, steps, widthBias;
    } cases[] = {{1, 300, 1}, {2, 600, 4}, {3, 900, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        TreeModel tree;
        std::mt19937 random(static_cast<unsigned>(c.seed));
        std::vector<NodeHandle> live;
        for (int step = 0; step < c.steps; ++step) {
            const int action = static_cast<int>(random() % 10);
            const NodeHandle any = live.empty() ? 0 : live[random() % live.size()];
            if (action < 5 || live.empty()) {
                // New nodes go mostly into a few wide lists.
                const NodeHandle parent = random() % c.widthBias == 0 || live.empty() ? any : live[random() % std::min<std::size_t>(live.size(), 3)];
                live.push_back(tree.Add(random() % 5 == 0 ? 0 : parent, u"n"));
            } else if (action < 8) {
                tree.SetExpanded(tree.Get(any), !tree.Get(any).expanded);
            } else if (action == 8) {
                tree.Remove(any);
                std::erase_if(live, [&](NodeHandle h) { return !tree.Contains(h); });
            } else {
                ExpectRowsAgree(tree);
            }
        }
        ExpectRowsAgree(tree);
        tree.Clear();
        EXPECT_EQ(VisibleRows(tree).Count(), 0u);
    }
}

TEST(VisibleRows, WideListFromEitherEnd) {
    TreeModel tree;
    const NodeHandle folder = tree.Add(0, u"folder");
    std::vector<NodeHandle> children;
    for (int i = 0; i < 1000; ++i) children.push_back(tree.Add(folder, u"child"));
    tree.Add(0, u"after");
    const VisibleRows rows(tree);
    EXPECT_EQ(rows.Count(), 2u);
    tree.SetExpanded(tree.Get(folder), true);
    EXPECT_EQ(rows.Count(), 1002u);
    EXPECT_EQ(rows.RowOf(tree.Get(children.back())), 1000u);
    EXPECT_EQ(rows.NodeAt(1000)->handle, children.back());
    EXPECT_EQ(rows.NodeAt(3)->handle, children[2]);
    ExpectRowsAgree(tree);
}

// Rows "apple", "Banana", "blueberry", "cherry", "Ébène" as roots; "berry" under "Banana".
class TypeAheadTest : public ::testing::Test {
protected:
    TypeAheadTest() {
        for (const char16_t* text : {u"apple", u"Banana", u"blueberry", u"cherry", u"\u00C9b\u00E8ne"}) roots.push_back(tree.Add(0, text));
        berry = tree.Add(roots[1], u"berry");
    }
    TreeModel tree;
    std::vector<NodeHandle> roots;
    NodeHandle berry = 0;
    TypeAhead typing;
};

TEST_F(TypeAheadTest, FindsRowsAsTheTreeViewDoes) {
    struct Key {
        char16_t typed;
        std::uint32_t ms;
        int selectedRoot;  // -1: no selection
        int expectedRoot;  // -1: no match
    };
    struct {
        const char* name;
        std::vector<Key> keys;
    } cases[] = {
        {"one letter looks after the selection, in any case", {{u'B', 0, 0, 1}}},
        {"one letter wraps round to the top", {{u'a', 0, 3, 0}}},
        {"no selection: from the top", {{u'c', 0, -1, 3}}},
        {"a quick second letter extends the prefix from the selection", {{u'b', 0, 0, 1}, {u'l', 100, 1, 2}}},
        {"a pause starts again", {{u'b', 0, 0, 1}, {u'l', 1500, 1, -1}}},
        {"the same letter steps on", {{u'b', 0, 0, 1}, {u'b', 100, 1, 2}, {u'b', 200, 2, 1}}},
        {"accented letters fold", {{u'\u00E9', 0, 0, 4}}},
        {"nothing matches", {{u'z', 0, 0, -1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TypeAhead typing;
        for (const Key& key : c.keys) {
            const NodeHandle selected = key.selectedRoot < 0 ? 0 : roots[static_cast<std::size_t>(key.selectedRoot)];
            const NodeHandle expected = key.expectedRoot < 0 ? 0 : roots[static_cast<std::size_t>(key.expectedRoot)];
            EXPECT_EQ(typing.Find(tree, selected, key.typed, 1000 + key.ms), expected);
        }
    }
}

TEST_F(TypeAheadTest, SeesOnlyShownRows) {
    EXPECT_EQ(typing.Find(tree, roots[1], u'b', 0), roots[2]);  // "berry" is under a closed node
    tree.SetExpanded(tree.Get(roots[1]), true);
    EXPECT_EQ(typing.Find(tree, roots[1], u'b', 5000), berry);
}

TEST(HandleMap, AgreesWithAStandardMapThroughGrowthAndErasure) {
    HandleMap<int> map;
    std::map<NodeHandle, int> expected;
    std::mt19937 random(5);
    for (int step = 0; step < 20000; ++step) {
        // Handles in a narrow range collide often; erasing must keep every other one found.
        const auto handle = static_cast<NodeHandle>(1 + random() % 3000);
        if (random() % 3 == 0) {
            map.Erase(handle);
            expected.erase(handle);
        } else {
            map.Set(handle, step);
            expected[handle] = step;
        }
    }
    ASSERT_EQ(map.Size(), expected.size());
    for (NodeHandle handle = 1; handle <= 3000; ++handle) {
        const auto found = expected.find(handle);
        ASSERT_EQ(map.Find(handle), found == expected.end() ? 0 : found->second) << handle;
    }
    map.Clear();
    EXPECT_EQ(map.Find(1), 0);
    EXPECT_TRUE(map.Empty());
}

}  // namespace
}  // namespace ramvel::test
