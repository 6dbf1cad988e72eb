// Out of memory in the middle of each main member of the control: for N = 1, 2, ... the Nth
// allocation of the member fails, until the member runs through. After each failure only
// std::bad_alloc or RamvelError may come out, the tree and the widget must still agree, the
// members that promise it must have changed nothing, and the member must then succeed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FailingAllocator.h"
#include "FakeFormWindow.h"
#include "ImageBytes.h"
#include "MirroringTreeWidget.h"
#include "TestSupport.h"
#include "TreeConsistency.h"
#include "control/ModuleState.h"

namespace ramvel::test {
namespace {

// A ( B ( C ), D ), E ( F ), with every field of the node lines in use somewhere.
const std::u16string kSmallTree =
    u"0\tA\t1,2\t3\t4\ta-data\n1\tB\t5\n2\tC\n1\tD\t-1\t-1\t2\n0\tE\t7\t7\t7\te-data\n1\tF";

// One root with more children than an index leaf holds, then a second root: inserts and
// deletes inside it split and empty leaves of the pre-order index.
std::u16string WideTree() {
    std::u16string lines = u"0\twide";
    for (int i = 0; i < 700; ++i) lines += u"\n1\tchild " + IntToStr(i);
    return lines + u"\n0\tlast";
}

// A first node whose text is longer than a text block, then a short one: replacing the long
// text leaves enough garbage for the texts to be compacted.
std::u16string TreeWithLongText() { return u"0\t" + std::u16string(1100000, u'x') + u"\t3\n0\tshort"; }

Bytes GreenIcon(std::int32_t side) {
    DibLayout layout;
    layout.width = layout.height = side;
    layout.values.assign(static_cast<std::size_t>(side) * side, 0x00FF00);
    const std::vector<std::uint8_t> opaque(layout.values.size(), 0);
    return IconFileOf({{side, side, 24, Dib(layout, &opaque)}});
}

Bytes GreenBitmap(std::int32_t width, std::int32_t height) {
    DibLayout layout;
    layout.width = width;
    layout.height = height;
    layout.values.assign(static_cast<std::size_t>(width) * height, 0x00FF00);
    return BitmapFileOf(layout);
}

// One control on the test doubles, wired as a host has it.
struct Rig {
    Rig() {
        WireToDoubles(control, widget, files, sink, &form);
        files.files[u"green.ico"] = GreenIcon(32);
        files.files[u"green.bmp"] = GreenBitmap(48, 16);
    }
    ~Rig() { Module().busy = false; }

    RecordingMessageBox messageBox;
    FakeFiles files;
    TMyRamvel control{messageBox, u"Ramvel.ocx"};
    MirroringTreeWidget widget{control};
    FakeFormWindow form;
    std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>();
};

// What the host sees of the tree and of the standard image list.
struct HostView {
    std::vector<std::u16string> nodes;
    std::int32_t imageWidth, imageHeight;
    std::vector<const Picture*> images;
    bool operator==(const HostView&) const = default;
};

void PrintTo(const HostView& view, std::ostream* out) {
    for (const std::u16string& node : view.nodes) *out << "\n  " << Show(node);
    *out << "\n  and " << view.images.size() << " images of " << view.imageWidth << "x" << view.imageHeight;
}

HostView HostViewOf(TMyRamvel& control) {
    HostView view{NodeInfos(control), control.ImageList1.Width(), control.ImageList1.Height(), {}};
    for (std::int32_t i = 0; i < control.ImageList1.Count(); ++i) view.images.push_back(&control.ImageList1.Image(i));
    return view;
}

struct MemberCase {
    const char* name;
    std::function<void(Rig&)> setUp;   // run with memory to spare
    std::function<void(Rig&)> member;  // run with one allocation failing
    // A failure changes nothing the host can see (the strong guarantee); else the tree only
    // has to hold together.
    bool changesNothingOnFailure;
};

void PrintTo(const MemberCase& c, std::ostream* out) { *out << c.name; }

void Build(Rig& rig, const std::u16string& lines) { rig.control.AddNodes(lines); }

const MemberCase kCases[] = {
    {"AddNodes into an empty tree", [](Rig&) {}, [](Rig& r) { Build(r, kSmallTree); }, false},
    {"AddNodes under existing nodes", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) { r.control.AddNodes(u"2\tG\t7\n3\tH\n0\tI\t1,3\t2\t1\ti-data"); }, false},
    {"AddAfterNode as a child", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) { r.control.AddAfterNode(1, u"2\tX\t3\t4\t5\tx-data"); }, true},
    {"AddAfterNode as a sibling", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) { r.control.AddAfterNode(2, u"2\tY\t1,2"); }, true},
    {"AddAfterNode at the root", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) { r.control.AddAfterNode(1, u"0\tZ"); }, true},
    {"AddAfterNode into a full index leaf", [](Rig& r) { Build(r, WideTree()); },
     [](Rig& r) { r.control.AddAfterNode(10, u"2\tmiddle\t2"); }, true},
    {"AddAfterCurrentNode", [](Rig& r) { Build(r, kSmallTree); r.control.storeHNode(r.control.Tree().At(3).handle); },
     [](Rig& r) { r.control.AddAfterCurrentNode(u"1\tW\t4\t5"); }, true},
    {"ChangeNode", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) { r.control.ChangeNode(1, u"1\tB changed\t6,7\t8\t9\tnew data"); }, true},
    {"ChangeNode of the selected node", [](Rig& r) { Build(r, kSmallTree); r.control.GoToNode(4); },
     [](Rig& r) { r.control.ChangeNode(4, u"0\tE changed\t2"); }, true},
    {"ChangeNode that compacts the texts", [](Rig& r) { Build(r, TreeWithLongText()); },
     [](Rig& r) { r.control.ChangeNode(0, u"0\tnow short\t4"); }, true},
    {"DeleteNode of a subtree", [](Rig& r) { Build(r, kSmallTree); }, [](Rig& r) { r.control.DeleteNode(0); }, true},
    {"DeleteNode of a wide subtree", [](Rig& r) { Build(r, WideTree()); },
     [](Rig& r) { r.control.DeleteNode(0); }, true},
    {"DeleteNode in the middle of a wide tree", [](Rig& r) { Build(r, WideTree()); },
     [](Rig& r) { r.control.DeleteNode(300); }, true},
    {"DeleteHNode of the selected node", [](Rig& r) { Build(r, kSmallTree); r.control.GoToNode(2); },
     [](Rig& r) { r.control.DeleteHNode(r.control.GethSelectedNode()); }, true},
    {"Clear", [](Rig& r) { Build(r, kSmallTree); }, [](Rig& r) { r.control.Clear(); }, true},
    {"GetNode, GethNode, getParent, GetSelectedNode",
     [](Rig& r) { Build(r, kSmallTree); r.control.GoToNode(2); },
     [](Rig& r) {
         TMyRamvel& c = r.control;
         c.GetNode(3);
         c.GethNode(c.Tree().At(5).handle);
         c.getParent(c.Tree().At(2).handle);
         c.GetSelectedNode();
     },
     true},
    {"FirstChild, LastChild, NextSibling, ChildrenNumber, GetExpanded", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) {
         TMyRamvel& c = r.control;
         const NodeHandle a = c.Tree().At(0).handle;
         c.FirstChild(a);
         c.LastChild(a);
         c.NextSibling(a);
         c.ChildrenNumber(a);
         c.GetExpanded(a);
     },
     true},
    {"GoToNode into closed parents", [](Rig& r) { Build(r, kSmallTree); }, [](Rig& r) { r.control.GoToNode(2); }, false},
    {"GotohNode", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) { r.control.GotohNode(r.control.Tree().At(5).handle); }, false},
    {"SetExpanded", [](Rig& r) { Build(r, kSmallTree); },
     [](Rig& r) { r.control.SetExpanded(r.control.Tree().At(0).handle, true); }, false},
    {"AddImage of an icon", [](Rig&) {}, [](Rig& r) { r.control.AddImage(u"green.ico"); }, true},
    {"AddImage of a wide bitmap", [](Rig&) {}, [](Rig& r) { r.control.AddImage(u"green.bmp"); }, true},
    {"ReplaceImage", [](Rig&) {}, [](Rig& r) { r.control.ReplaceImage(3, u"green.bmp"); }, true},
    {"imageSize", [](Rig&) {}, [](Rig& r) { r.control.imageSize(24, 24); }, true},
    {"ClearImages", [](Rig&) {}, [](Rig& r) { r.control.ClearImages(); }, true},
    {"resetImages", [](Rig& r) { r.control.imageSize(24, 24); }, [](Rig& r) { r.control.resetImages(); }, true},
};

enum class Outcome { Completed, OutOfMemory, RamvelFailure, OtherException };

Outcome RunMember(const std::function<void(Rig&)>& member, Rig& rig) {
    try {
        member(rig);
        return Outcome::Completed;
    } catch (const std::bad_alloc&) {
        return Outcome::OutOfMemory;
    } catch (const RamvelError&) {
        return Outcome::RamvelFailure;
    } catch (...) {
        return Outcome::OtherException;
    }
}

// No member of these needs more allocations than this; past it something loops.
constexpr std::size_t kMostAllocations = 5000;

class OutOfMemory : public ::testing::TestWithParam<MemberCase> {};

TEST_P(OutOfMemory, LeavesTheTreeWholeAndTheMemberWorkingAfterwards) {
    const MemberCase& c = GetParam();
    for (std::size_t n = 1;; ++n) {
        ASSERT_LE(n, kMostAllocations) << "the member never ran through";
        const std::string context = "allocation " + std::to_string(n) + " fails";
        Rig rig;
        c.setUp(rig);
        ExpectConsistentTree(rig.control, rig.widget, "after the set-up");
        const HostView before = HostViewOf(rig.control);

        FailAllocationNumber(n);
        const Outcome outcome = RunMember(c.member, rig);
        const bool failed = DisarmAllocationFailure();

        EXPECT_NE(outcome, Outcome::OtherException) << context;
        ExpectConsistentTree(rig.control, rig.widget, context);
        if (!failed) {
            EXPECT_EQ(outcome, Outcome::Completed) << "with memory to spare";
            break;
        }
        if (outcome != Outcome::Completed && c.changesNothingOnFailure) {
            EXPECT_EQ(HostViewOf(rig.control), before) << context;
        }
        EXPECT_EQ(RunMember(c.member, rig), Outcome::Completed) << context << ", then the member again";
        ExpectConsistentTree(rig.control, rig.widget, context + ", then the member again");
        if (HasFailure()) break;  // one allocation's report is enough to go on
    }
}

INSTANTIATE_TEST_SUITE_P(Members, OutOfMemory, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name;
});

}  // namespace
}  // namespace ramvel::test
