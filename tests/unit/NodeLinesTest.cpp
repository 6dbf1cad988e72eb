// Node records, ApplyNodeLine and node info text, through the members that use them.
#include "TestSupport.h"
#include "control/Fields.h"

namespace ramvel::test {
namespace {

using NodeLines = ControlTest;

TEST_F(NodeLines, OneFieldLineMakesTextFromLevelAndEmptyRecord) {
    control.AddNodes(u"2");  // no level 2 parent yet: a warning, then a root node
    const Node& node = NodeAt(0);
    EXPECT_EQ(Show(node.Text()), "2");
    EXPECT_EQ(node.image, 0);
    EXPECT_EQ(node.selectedImage, -1);
    EXPECT_EQ(node.StateImage(), -1);
    EXPECT_EQ(Show(node.Record()), Show(u"2\x01\t-1\x01"));
}

TEST_F(NodeLines, RootLineInfo) {
    control.AddNodes(u"0\tRoot");
    const NodeHandle h = HandleAt(0);
    EXPECT_EQ(Show(NodeAt(0).Record()), Show(u"0\x01\t-1\x01"));
    EXPECT_EQ(Show(control.GetNode(0)), Show(Info(0, h, u"0\tRoot\t\t-1\t-1\t")));
}

TEST_F(NodeLines, WorkedExampleAndReapplyWhileExpanded) {
    control.AddNodes(u"0\tA\n1\tB\n0\tC\n1\tInvoices\t4,5\t6\t\tINV-2\n2\tLeaf");
    const Node& node = NodeAt(3);
    EXPECT_EQ(Show(node.Text()), "Invoices");
    EXPECT_EQ(node.image, 4);
    EXPECT_EQ(node.selectedImage, 6);
    EXPECT_EQ(node.StateImage(), -1);
    EXPECT_EQ(Show(node.Record()), Show(u"1\x01" u"4,5\t6\x01INV-2"));
    EXPECT_EQ(Show(control.GetNode(3)), Show(Info(3, node.handle, u"1\tInvoices\t4,5\t6\t-1\tINV-2")));

    control.Tree().SetExpanded(control.Tree().Get(node.handle), true);
    control.ChangeNode(3, u"1\tInvoices\t4,5\t6\t\tINV-2");
    EXPECT_EQ(NodeAt(3).image, 5);
}

TEST_F(NodeLines, FieldsAreReadByPosition) {
    struct {
        std::u16string_view line;
        std::int32_t image, selected, state;
        std::u16string_view record;
    } cases[] = {
        {u"0\tT\t3", 3, -1, -1, u"0\x01" u"3\t-1\x01"},
        {u"0\tT\t\t\t\tdata", 0, -1, -1, u"0\x01\t-1\x01" u"data"},  // empty fields count as absent
        {u"0\tT\t1\t 7", 1, 7, -1, u"0\x01" u"1\t7\x01"},
        {u"0\tT\t1\t$10\t2", 1, 16, 2, u"0\x01" u"1\t16\x01"},  // the record keeps the decimal value
        {u"0\tT\t4,\t1", 4, 1, -1, u"0\x01" u"4,\t1\x01"},     // collapsed: the empty open image is not read
        {u"0\tT\t1\t2\t3\tdata\tseventh\teighth", 1, 2, 3, u"0\x01" u"1\t2\x01" u"data"},
        {u"0\tT\t1,2,x", 1, -1, -1, u"0\x01" u"1,2,x\t-1\x01"},  // a third part is never read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.line));
        control.Clear();
        control.AddNodes(c.line);
        const Node& node = NodeAt(0);
        EXPECT_EQ(node.image, c.image);
        EXPECT_EQ(node.selectedImage, c.selected);
        EXPECT_EQ(node.StateImage(), c.state);
        EXPECT_EQ(Show(node.Record()), Show(c.record));
    }
}

TEST_F(NodeLines, FieldThatDoesNotConvertFailsButKeepsNodeWithARecord) {
    struct {
        std::u16string_view line;
        std::u16string_view badText;
        std::int32_t image;
        std::u16string_view record;
    } cases[] = {
        {u"0\tT\tx", u"x", 0, u"0\x01\t0\x01"},
        {u"0\tT\t3\t7 ", u"7 ", 3, u"0\x01" u"3\t0\x01"},
        {u"0\tT\t3\t1\tz\thost", u"z", 3, u"0\x01" u"3\t1\x01host"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.line));
        control.Clear();
        std::u16string message = u"'";
        message += c.badText;
        message += u"' n'est pas une valeur enti\u00e8re correcte";
        EXPECT_ERROR(control.AddNodes(c.line), kEUnexpected, message);
        ASSERT_EQ(control.Tree().Count(), 1);
        EXPECT_EQ(Show(NodeAt(0).Text()), "T");
        EXPECT_EQ(NodeAt(0).image, c.image);
        EXPECT_EQ(Show(NodeAt(0).Record()), Show(c.record));
    }
}

TEST_F(NodeLines, OpenImageMissingFailsOnlyWhileExpanded) {
    control.AddNodes(u"0\tP\t4,\n1\tC");
    control.Tree().SetExpanded(control.Tree().Get(HandleAt(0)), true);
    EXPECT_ERROR(control.ChangeNode(0, u"0\tP\t4,"), kEUnexpected, u"'' n'est pas une valeur enti\u00e8re correcte");
    EXPECT_EQ(Show(NodeAt(0).Text()), "P");
}

TEST_F(NodeLines, ChangeStopsAtTheBadFieldAndKeepsTheNodesOwnValuesPastIt) {
    struct {
        std::u16string_view line;
        std::u16string_view badText;
        std::int32_t image, selected, state;
        std::u16string_view record;
    } cases[] = {
        {u"0\tB\tq\t8\t9\tnew", u"q", 1, 5, 2, u"0\x01\t5\x01new"},
        {u"0\tB\t7\tq\t9\tnew", u"q", 7, 5, 2, u"0\x01" u"7\t5\x01new"},
        {u"0\tB\t7\t8\tq\tnew", u"q", 7, 8, 2, u"0\x01" u"7\t8\x01new"},
        {u"0\tB\t7,q\t8\t9", u"", 7, 8, 9, u"0\x01" u"7,q\t8\x01"},  // collapsed: the open image is not read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.line));
        control.Clear();
        control.AddNodes(u"0\tA\t1\t5\t2\told");
        if (c.badText.empty()) {
            control.ChangeNode(0, c.line);
        } else {
            std::u16string message = u"'";
            message += c.badText;
            message += u"' n'est pas une valeur enti\u00e8re correcte";
            EXPECT_ERROR(control.ChangeNode(0, c.line), kEUnexpected, message);
        }
        const Node& node = NodeAt(0);
        EXPECT_EQ(Show(node.Text()), "B");
        EXPECT_EQ(node.image, c.image);
        EXPECT_EQ(node.selectedImage, c.selected);
        EXPECT_EQ(node.StateImage(), c.state);
        EXPECT_EQ(Show(node.Record()), Show(c.record));
    }
}

TEST_F(NodeLines, SeparatorsInsideFieldsAreNotEscaped) {
    control.AddNodes(u"0\tA\x01" u"B\t1\t2\t3\thost\x01tail");
    const std::u16string info = control.GetNode(0);
    // The text comes back whole; host data is cut at its SOH.
    EXPECT_EQ(Show(info), Show(Info(0, HandleAt(0), u"0\tA\x01" u"B\t1\t2\t3\thost")));
}

TEST_F(NodeLines, SelectedNodeWithoutSelectedImageShowsItsImage) {
    control.AddNodes(u"0\tA\t3\t5");
    control.GoToNode(0);
    control.ChangeNode(0, u"0\tA\t8");
    EXPECT_EQ(NodeAt(0).selectedImage, 8);
    EXPECT_EQ(Show(NodeAt(0).Record()), Show(u"0\x01" u"8\t-1\x01"));  // the record keeps "-1"
}

TEST_F(NodeLines, AddAfterNodeReplyCarriesCurrentSelectedIndex) {
    control.AddNodes(u"0\tA");
    control.GoToNode(0);
    const std::u16string reply = control.AddAfterNode(0, u"1\tB\t2,3\t\t4\tdata");
    const NodeHandle h = HandleAt(1);
    EXPECT_EQ(Show(reply), Show(u"\x01" + IntToStr(h) + u"\x01" u"1\tB\t2,3\t-1\t4\tdata"));
}

}  // namespace
}  // namespace ramvel::test
