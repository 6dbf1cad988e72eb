#pragma once
// The test double of the tree widget, shared by the unit tests, the fuzz targets and the
// benchmarks. It behaves as the real tree view does where the core relies on it: the selection
// change is delivered inside Select; selecting a node under collapsed ancestors opens them
// first, from the root down, and reports each one; programmatic expand reports nothing.
// Rows are 16 pixels high and list the visible nodes in pre-order, for hit tests.
#include <cstdint>
#include <vector>

#include "control/MyRamvel.h"

namespace ramvel::test {

class FakeTreeWidget : public ITreeWidget {
public:
    static constexpr int kRowHeight = 16;

    explicit FakeTreeWidget(TMyRamvel& control) : control_(control) {}

    void NodeAdded(NodeHandle) override { ++added; }
    void NodeChanged(NodeHandle) override { ++changed; }
    void NodeRemoved(NodeHandle, NodeHandle) override { ++removed; }
    void AllNodesRemoved() override { ++allRemoved; }
    void Select(NodeHandle node) override;
    void SetExpanded(NodeHandle, bool) override {}
    NodeHandle HitTest(int x, int y) const override;
    void SetRedraw(bool on) override {
        redrawOn = on;
        if (on) ++repaints;
    }
    void Repaint() override { ++repaints; }
    void Invalidate() override { ++invalidations; }
    void ShowSelectionAlways() override { selectionAlwaysShown = true; }
    void ShowImages(const ImageList* list) override { images = list; }
    void ShowStateImages(const ImageList* list) override { stateImages = list; }
    void ImagesChanged(const ImageList& list, std::int32_t firstChanged) override {
        imageChanges.push_back({&list, firstChanged, redrawOn});
    }

    // The row (from 0) at which a node is drawn, or -1 when it is hidden.
    int RowOf(NodeHandle node) const;

    int added = 0, changed = 0, removed = 0, allRemoved = 0, repaints = 0, invalidations = 0;
    bool redrawOn = true;
    bool selectionAlwaysShown = false;
    const ImageList* images = nullptr;
    const ImageList* stateImages = nullptr;
    struct ImageChange {
        const ImageList* list;
        std::int32_t firstChanged;
        bool whileRedrawing;
        bool operator==(const ImageChange&) const = default;
    };
    std::vector<ImageChange> imageChanges;

private:
    std::vector<NodeHandle> VisibleRows() const;
    TMyRamvel& control_;
};

}  // namespace ramvel::test
