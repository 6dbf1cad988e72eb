#pragma once
// ITreeWidget on a comctl32 tree view. The model is the truth: each item's lParam holds the
// node's handle and the node's widgetItem holds the HTREEITEM. Only what can be seen has an
// item: roots, and the children of nodes that are (or were) open. The rest is inserted when
// its parent opens, because every tree view call that names an item costs time in proportion
// to the number of items. For the same reason additions wait in a queue and are inserted in
// one go, with their final texts and images, when the tree view is next needed; and roots come
// in order, a batch at a time, as the view nears the last one inserted.
#include <windows.h>
#include <commctrl.h>
#include <unknwn.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "control/TreeModel.h"
#include "platform/TreeWidget.h"
#include "win32/ImageListsWin32.h"
#include "win32/WindowImpl.h"

namespace ramvel::win32 {

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
    void NodeRemoved(std::uintptr_t widgetItem, NodeHandle parent) override;
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

    // Items in the tree view, once the queued additions are in.
    int ItemCount();
    // The item of a node, inserting the items on its way first; 0 for no node.
    HTREEITEM ItemOf(NodeHandle node);

private:
    // The tree view's window procedure is replaced the plain way (GWLP_WNDPROC): Wine's
    // SetWindowSubclass looks its data up per message, which made large insertions 8 times slower.
    friend class WindowImpl<Win32TreeView>;
    static LRESULT Unattached(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    IUnknown* Owner() const noexcept { return owner_; }
    LRESULT CallTreeView(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT MouseDown(MouseButton button, bool doubleClick, UINT message, WPARAM wParam, LPARAM lParam);
    // Hands input on to the tree view, then reports a caret moved by a collapse meanwhile.
    LRESULT PassInput(UINT message, WPARAM wParam, LPARAM lParam);

    void Flush();
    void PaintBuffered();
    // Roots: a prefix of the model's roots has items. The tree view deletes an item in time
    // proportional to its item count (so clearing or destroying n items costs n squared): a
    // view holding every root of a big tree would take seconds to clear. So roots are inserted
    // up to rootReach_, which grows by a batch whenever the view comes within kRowsAhead rows
    // of the end, and at once up to a root that is asked for or to the last one on End.
    static constexpr int kRootBatch = 10000;
    static constexpr int kRowsAhead = 1000;
    NodeHandle NextHiddenRoot() const;
    // Inserts hidden roots in order until `reach` roots are shown, and `through` (a root) is.
    void ShowRoots(int reach, NodeHandle through = 0);
    // Roots up to rootReach_, and a batch more when the view is near the end.
    void ShowRootsInReach();
    WNDPROC originalProc_ = nullptr;
    bool ShowsChildren(const Node& parent) const;
    void Insert(Node& node);
    void InsertChildren(Node& parent);
    void ExpandQuietly(HTREEITEM item, bool expanded);
    NodeHandle HandleOfItem(HTREEITEM item) const;
    NodeHandle Caret() const;
    void ReportCaretIfMoved();
    void OnExpanding(const NMTREEVIEWW& info);
    void OnExpanded(const NMTREEVIEWW& info);
    void OnDispInfo(NMTVDISPINFOW& info);

    HWND tree_;
    TreeModel& model_;
    ITreeEvents& events_;
    IUnknown* owner_ = nullptr;
    std::vector<NodeHandle> pending_;  // added to the model, not yet inserted
    NodeHandle lastShownRoot_ = 0;     // the last root with an item; 0: none has one
    int shownRoots_ = 0;
    int rootReach_ = kRootBatch;
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
