// libFuzzer target: random sequences of the control's members and the widget's notifications,
// with a host sink that calls back into the control, on one TMyRamvel. Looks for crashes,
// sanitizer reports, stray exceptions and a model whose indexes no longer match its links.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FakeTreeWidget.h"
#include "control/Fields.h"
#include "control/ModuleState.h"
#include "control/MyRamvel.h"

namespace {

using namespace ramvel;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t Small() { return static_cast<std::int32_t>(Byte() % 24) - 2; }
    // A short text over the characters that matter to node lines.
    std::u16string Text() {
        static const char16_t alphabet[] = u"0123\t\t\t\n,$x- a\x01";
        std::u16string text;
        for (int length = Byte() % 24; length > 0; --length) text += alphabet[Byte() % (sizeof alphabet / 2 - 1)];
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

class SilentBox : public IMessageBox {
public:
    void Show(const std::u16string&, const std::u16string&, MessageIcon) override {}
};

// A host that, on some events, calls back into the control.
class Host : public IEventSink {
public:
    explicit Host(TMyRamvel& control) : control_(control) {}
    void RaiseText(EventId, const std::u16string& text) override { React(text); }
    void Raise(EventId, bool) override { React({}); }
    void RaiseKey(EventId, std::int16_t& key) override {
        key = 65;
        React({});
    }
    int action = 0;

private:
    void React(const std::u16string& info) {
        if (depth_ > 2) return;
        ++depth_;
        try {
            const NodeHandle node = info.empty() ? 0 : StrToInt(ExtractField(info, 2, kSOH));
            switch (action) {
            case 1: control_.DeleteHNode(node); break;
            case 2: control_.Clear(); break;
            case 3: control_.AddNodes(u"0\tnew\n1\tchild"); break;
            case 4: control_.SetExpanded(node, true); break;
            case 5: control_.GoToNode(0); break;
            case 6: control_.SetEventSink(nullptr); break;
            }
        } catch (const RamvelError&) {
        }
        --depth_;
    }
    TMyRamvel& control_;
    int depth_ = 0;
};

void CheckModel(TMyRamvel& control) {
    TreeModel& tree = control.Tree();
    std::int32_t count = 0;
    auto walk = [&](auto&& self, NodeHandle first) -> void {
        for (NodeHandle n = first; n != 0; n = tree.NextSibling(*tree.Find(n))) {
            Node& node = *tree.Find(n);
            if (tree.IndexOf(node) != count || tree.At(count).handle != n) std::abort();
            // Lookups by index describe a node from the flat copy's entry: it must be the node's own.
            if (tree.TextsAt(count).entry != node.entry || tree.TextsAt(count).handle != n) std::abort();
            ++count;
            self(self, tree.FirstChild(node));
        }
    };
    walk(walk, tree.FirstRoot());
    if (count != tree.Count()) std::abort();
    if (tree.Selected() != 0 && !tree.Contains(tree.Selected())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    SilentBox box;
    TMyRamvel control(box, u"Ramvel.ocx");
    test::FakeTreeWidget widget(control);
    control.AttachWidget(widget);
    control.FormCreate();
    auto host = std::make_shared<Host>(control);
    control.SetEventSink(host);
    std::vector<NodeHandle> seen{0, -1, 1};
    auto pick = [&] { return seen[in.Byte() % seen.size()]; };
    auto note = [&](const std::u16string& info) {
        if (!info.empty()) seen.push_back(StrToInt(ExtractField(info, 2, kSOH)));
    };

    while (!in.Empty()) {
        try {
            switch (in.Byte() % 20) {
            case 0: control.AddNodes(in.Text()); break;
            case 1: note(control.AddAfterNode(in.Small(), in.Text())); break;
            case 2: control.AddAfterCurrentNode(in.Text()); break;
            case 3: control.ChangeNode(in.Small(), in.Text()); break;
            case 4: control.DeleteNode(in.Small()); break;
            case 5: control.DeleteHNode(pick()); break;
            case 6: control.Clear(); break;
            case 7: note(control.GoToNode(in.Small())); break;
            case 8: note(control.GotohNode(pick())); break;
            case 9: note(control.GetNode(in.Small())); break;
            case 10: note(control.getParent(pick())); break;
            case 11: seen.push_back(control.FirstChild(pick()) + control.NextSibling(pick()) + control.LastChild(pick())); break;
            case 12: control.SetExpanded(pick(), in.Byte() & 1); break;
            case 13: control.storeHNode(pick()); break;
            case 14: control.SetTreeRefresh(in.Byte() & 1); break;
            case 15: control.WidgetSelectionChanged(pick()); break;
            case 16: control.WidgetExpansionChanged(pick(), in.Byte() & 1); break;
            case 17: control.WidgetMouseDown(MouseButton::Right, {}, 1, in.Small()); break;
            case 18: {
                char16_t key = in.Byte() % 40;
                control.WidgetKeyPress(key);
                break;
            }
            case 19:
                host->action = in.Byte() % 8;
                if (host->action == 7) control.SetEventSink(host);
                break;
            }
        } catch (const RamvelError&) {
            // A clear failure is a correct answer to bad input.
        }
        CheckModel(control);
    }
    Module().busy = false;
    return 0;
}
