#pragma once
// ITreeWidget on a comctl32 tree view. The model is the truth: each item's lParam holds the
// node's handle and the node's widgetItem holds the HTREEITEM. Only what can be seen has an
// item: roots, and the children of items that are expanded (or were, and so already hold
// their children). The rest is inserted when its parent opens, because the tree view's cost
// per insertion under a parent grows with its item count.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "control/TreeModel.h"
#include "platform/TreeWidget.h"
#include "win32/PlaceholderImages.h"

namespace ramvel::win32 {

class Win32TreeView : public ITreeWidget {
public:
    // `tree` is a SysTreeView32 window; this object subclasses it until destroyed.
    Win32TreeView(HWND tree, TreeModel& model, ITreeEvents& events);
    ~Win32TreeView() override;
    Win32TreeView(const Win32TreeView&) = delete;
    Win32TreeView& operator=(const Win32TreeView&) = delete;

    HWND Window() const { return tree_; }
    // Called by the form for WM_NOTIFY from the tree view; true when it was handled.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The form's window is going away: the adapter stops talking to the tree view.
    void Detach();

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
    void ShowImages(ImageListSlot slot) override;

    // Items inserted into the tree view; pending additions are inserted first.
    int ItemCount();
    // The item of a node, inserting it (and its ancestors' children) first; 0 for no node.
    HTREEITEM ItemOf(NodeHandle node);

private:
    static LRESULT CALLBACK TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT OnTreeMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Flush();
    bool ShowsChildren(const Node& parent) const;
    HTREEITEM Insert(Node& node);
    void InsertChildren(Node& parent);
    void ExpandItem(Node& node, bool expanded);
    NodeHandle HandleOfItem(HTREEITEM item) const;
    NodeHandle Caret() const;
    void ReportCaretIfMoved();
    void MouseDown(MouseButton button, WPARAM keys, LPARAM point, bool doubleClick);

    HWND tree_;
    TreeModel& model_;
    ITreeEvents& events_;
    std::vector<NodeHandle> pending_;  // added to the model, not yet inserted
    int quiet_ = 0;                    // > 0: the tree view's notifications are our own doing
    PlaceholderImages images_;
};

}  // namespace ramvel::win32
