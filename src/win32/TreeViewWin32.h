#pragma once
// ITreeWidget on a comctl32 tree view. The model is the truth: each item's lParam holds the
// node's handle. Every tree view call that names an item costs time in proportion to the
// number of items, so the tree view holds a window of rows around the view, not the tree:
// the rows themselves, the open ancestors of the first one (so each row has its parent), the
// next siblings of the last one's ancestors (so the lines drawn down to them go on), and the
// selected node. The control owns the scroll bar, which covers every row, and keeps the window
// a few pages beyond the view each way, rebuilding it when the view or the caret nears its
// edge; the keys that jump (Home, End, typing a row's first letters) are served from the model.
#include <windows.h>
#include <commctrl.h>
#include <unknwn.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "control/HandleMap.h"
#include "control/TreeModel.h"
#include "control/TypeAhead.h"
#include "control/VisibleRows.h"
#include "platform/TreeWidget.h"
#include "win32/ImageListsWin32.h"
#include "win32/WindowImpl.h"

namespace ramvel::win32 {

// Counts nesting of our own calls into the tree view, whose notifications we do not report.
class QuietScope {
public:
    explicit QuietScope(int& counter) : counter_(counter) { ++counter_; }
    ~QuietScope() { --counter_; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    int& counter_;
};

class Win32TreeView : public ITreeWidget, private WindowImpl<Win32TreeView> {
public:
    // `tree` is a SysTreeView32 window; this object subclasses it until destroyed or detached.
    Win32TreeView(HWND tree, TreeModel& model, ITreeEvents& events);
    ~Win32TreeView() override;
    Win32TreeView(const Win32TreeView&) = delete;
    Win32TreeView& operator=(const Win32TreeView&) = delete;

    HWND Window() const { return tree_; }
    // WM_NOTIFY from the tree view, as its parent receives it; true when handled.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The tree view window is going away: stop talking to it.
    void Detach();
    // The COM object the tree view belongs to (see ControlForm::SetOwner).
    void SetOwner(IUnknown* owner) { owner_ = owner; }

    // ITreeWidget.
    void NodeAdded(NodeHandle node) override;
    void NodeChanged(NodeHandle node) override;
    void NodeRemoved(NodeHandle node, NodeHandle parent) override;
    void AllNodesRemoved() override;
    void Select(NodeHandle node) override;
    void SetExpanded(NodeHandle node, bool expanded) override;
    NodeHandle HitTest(int x, int y) const override;
    void SetRedraw(bool on) override;
    void Repaint() override;
    void Invalidate() override;
    void ShowSelectionAlways() override;
    void ShowImages(const ImageList* list) override;
    void ShowStateImages(const ImageList* list) override;
    void ImagesChanged(const ImageList& list, std::int32_t firstChanged) override;

    // The cursor shown over the tree view (`overrides` false: the tree view's own), and
    // painting through an off-screen bitmap.
    void SetCursorOverride(bool overrides, HCURSOR cursor) { cursorOverride_ = overrides, cursor_ = cursor; }
    void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
    // While the container designs its form, the mouse and the keys are its own: the tree
    // takes no clicks and no keys.
    void SetTakesInput(bool on) { takesInput_ = on; }

    // Items in the tree view, once the view is up to date.
    int ItemCount();
    // The item of a node, once the view is up to date; 0 when it has none.
    HTREEITEM ItemOf(NodeHandle node);
    // The first and last rows of the window (see above).
    NodeHandle WindowFirst() const { return windowFirst_; }
    NodeHandle WindowLast() const { return windowLast_; }

private:
    // The tree view's window procedure is replaced the plain way (GWLP_WNDPROC): Wine's
    // SetWindowSubclass looks its data up per message, which made large insertions 8 times slower.
    friend class WindowImpl<Win32TreeView>;
    static LRESULT Unattached(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    IUnknown* Owner() const noexcept { return owner_; }
    LRESULT CallTreeView(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT MouseDown(MouseButton button, bool doubleClick, UINT message, WPARAM wParam, LPARAM lParam);
    // Hands input on to the tree view, then reports a caret moved by a collapse meanwhile.
    LRESULT PassInput(UINT message, WPARAM wParam, LPARAM lParam);

    // Brings the items up to date with the model and the view, and the scroll bar with them;
    // waits while the tree view is inside one of its messages.
    void Settle();
    void SettleNow();
    void FlushAdded();
    void PaintBuffered();

    // Rows kept beyond the view on each side, and items allowed before the window is rebuilt.
    static constexpr int kMarginRows = 400;
    int PageRows() const;
    int MarginRows() const { return std::max(kMarginRows, 2 * PageRows()); }
    std::size_t MaxItems() const { return static_cast<std::size_t>(4 * (PageRows() + 2 * MarginRows())); }
    // Additions queued before a rebuild is cheaper than looking at each; a constant, as a
    // node is queued on every addition.
    static constexpr std::size_t kMaxPending = 4 * 3 * kMarginRows;

    HTREEITEM Loaded(NodeHandle node) const;
    HTREEITEM InsertItem(const Node& node, HTREEITEM parent, HTREEITEM after);
    // The item's button follows whether the node has children.
    void SetHasChildren(const Node& node);
    // Gives a shown node an item, and its ancestors first; out of the window if need be.
    HTREEITEM Load(NodeHandle node);
    // Items for the rows under a node that opens, while fewer than `budget`; false when some
    // had to wait (the window is then rebuilt).
    bool LoadChildren(const Node& parent, std::size_t budget);
    // Replaces every item by the window around row `top`, which goes to the top of the view.
    void Rebuild(std::uint32_t top);
    // The window grows over rows that have items next to it.
    void ExtendWindow();
    // Whether the window reaches `before` rows above `item` and `after` rows below it (or the
    // ends of the tree).
    bool WindowHolds(HTREEITEM item, int before, int after) const;
    // The row of a shown node: counted from the window's first row while the rows have not
    // changed since the window was built, else from the model.
    std::uint32_t RowOf(const Node& node) const;
    // The row at the top of the view.
    std::uint32_t ViewTop() const;
    // Makes the window hold `row` with a page around it, the view staying where it is as far
    // as that allows, before the tree view moves the caret there.
    void PrepareFor(std::uint32_t row);
    void ScrollTo(std::int64_t top);
    void OnVScroll(WORD code);
    void SyncScrollBar();
    // Selects a node the user reached by typing, as the tree view selects one.
    void SelectTyped(NodeHandle node);
    LRESULT KeyDown(UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC originalProc_ = nullptr;
    void ExpandQuietly(HTREEITEM item, bool expanded);
    NodeHandle HandleOfItem(HTREEITEM item) const;
    NodeHandle Caret() const;
    void ReportCaretIfMoved();
    void OnExpanding(const NMTREEVIEWW& info);
    void OnExpanded(const NMTREEVIEWW& info);

    HWND tree_;
    TreeModel& model_;
    ITreeEvents& events_;
    IUnknown* owner_ = nullptr;
    std::vector<NodeHandle> pending_;  // added to the model, not yet looked at
    HandleMap<HTREEITEM> items_;
    NodeHandle windowFirst_ = 0, windowLast_ = 0;
    std::uint32_t windowFirstRow_ = 0;
    std::uint32_t windowRowsVersion_ = 0;  // of the model when windowFirstRow_ was counted
    bool windowRowKnown_ = false;
    bool stale_ = false;               // the window misses rows: rebuild it
    int depth_ = 0;                    // tree view messages under way
    TypeAhead typeAhead_;
    int quiet_ = 0;                    // > 0: the tree view's notifications are our own doing
    bool redraw_ = true;
    bool inDblClick_ = false;          // inside the tree view's handling of a double click
    bool dblClicked_ = false;          // it sent NM_DBLCLK meanwhile
    bool collapsed_ = false;           // the user closed a node: the caret may move after
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool cursorOverride_ = false;
    HCURSOR cursor_ = nullptr;
    bool doubleBuffered_ = false;
    bool takesInput_ = true;
    bool paintPending_ = false;        // Invalidate asked for a paint that has not come yet
    Win32ImageLists images_;
    const ImageList* shownImages_ = nullptr;
    const ImageList* stateImages_ = nullptr;
};

}  // namespace ramvel::win32
