// Win32TreeView: keeping the tree view's items in step with the model.
#include "win32/TreeViewWin32.h"

#include <new>

namespace ramvel::win32 {

namespace {

// The widget leaves -1 to a callback; any negative index means "no image" here.
int ImageIndex(std::int32_t index) { return index < 0 ? I_IMAGENONE : index; }

// State images 1 to 15 exist; 0, -1 and anything else draw none.
UINT StateImageBits(std::int32_t index) { return index >= 1 && index <= 15 ? INDEXTOSTATEIMAGEMASK(index) : 0; }

}  // namespace

Win32TreeView::Win32TreeView(HWND tree, TreeModel& model, ITreeEvents& events)
    : tree_(tree), model_(model), events_(events) {
    Attach(tree_, this);
    originalProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

Win32TreeView::~Win32TreeView() {
    *alive_ = false;
    Detach();
}

void Win32TreeView::Detach() {
    if (!tree_) return;
    // The tree view's own procedure goes back only while ours is the one installed: a host that
    // subclassed the tree view after us stays in place, and ours then passes everything on.
    if (GetWindowLongPtrW(tree_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(Proc))
        SetWindowLongPtrW(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
    WindowImpl::Detach(tree_);
    // The image lists die with this object: the tree view must not draw with them any more.
    if (IsWindow(tree_)) {
        SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
        SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_STATE, 0);
    }
    tree_ = nullptr;
    pending_.clear();
    items_.Clear();
}

// --- Items -------------------------------------------------------------------------------

HTREEITEM Win32TreeView::Loaded(NodeHandle node) const { return node > 0 ? items_.Find(node) : nullptr; }

HTREEITEM Win32TreeView::InsertItem(const Node& node, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after;
    TVITEMW& item = insert.item;
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
    item.pszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(node.TextZ()));
    item.iImage = ImageIndex(node.image);
    item.iSelectedImage = ImageIndex(node.selectedImage);
    const bool open = node.expanded && node.childCount > 0;
    item.state = StateImageBits(node.StateImage()) | (open ? TVIS_EXPANDED | TVIS_EXPANDEDONCE : 0);
    item.stateMask = TVIS_STATEIMAGEMASK | TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    item.lParam = node.handle;
    // Given, not asked for: the tree view would ask for every item at every paint.
    item.cChildren = node.childCount > 0 ? 1 : 0;
    items_.Reserve(items_.Size() + 1);  // first: the item must not be left out of the map
    QuietScope quiet(quiet_);
    const auto inserted = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (inserted) items_.Set(node.handle, inserted);
    return inserted;
}

HTREEITEM Win32TreeView::Load(NodeHandle handle) {
    if (HTREEITEM item = Loaded(handle)) return item;
    const Node* node = model_.Find(handle);
    if (!node) return nullptr;
    HTREEITEM parent = nullptr;
    if (const NodeHandle up = model_.Parent(*node)) {
        parent = Load(up);
        if (!parent) return nullptr;
    }
    // After the nearest earlier sibling that has an item: items keep the model's order.
    HTREEITEM after = TVI_FIRST;
    for (const Node* before = model_.Find(model_.PrevSibling(*node)); before; before = model_.Find(model_.PrevSibling(*before)))
        if (HTREEITEM item = Loaded(before->handle)) {
            after = item;
            break;
        }
    return InsertItem(*node, parent, after);
}

bool Win32TreeView::LoadChildren(const Node& parent, std::size_t budget) {
    HTREEITEM parentItem = Loaded(parent.handle);
    if (!parentItem) return false;
    HTREEITEM after = TVI_FIRST;
    for (const Node* child = model_.Find(model_.FirstChild(parent)); child; child = model_.Find(model_.NextSibling(*child))) {
        HTREEITEM item = Loaded(child->handle);
        if (!item) {
            if (items_.Size() >= budget) return false;
            item = InsertItem(*child, parentItem, after);
            if (!item) return false;
        }
        after = item;
        if (child->expanded && child->childCount > 0 && !LoadChildren(*child, budget)) return false;
    }
    return true;
}

void Win32TreeView::SetHasChildren(const Node& node) {
    const HTREEITEM loaded = Loaded(node.handle);
    if (!loaded) return;
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN | TVIF_STATE;
    item.hItem = loaded;
    item.cChildren = node.childCount > 0 ? 1 : 0;
    item.state = node.expanded && node.childCount > 0 ? TVIS_EXPANDED : 0;
    item.stateMask = node.childCount > 0 ? 0 : TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    QuietScope quiet(quiet_);
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32TreeView::FlushAdded() {
    if (!tree_ || pending_.empty()) return;
    std::vector<NodeHandle> pending;
    pending.swap(pending_);
    const std::size_t maxItems = MaxItems();
    // A new node gets an item when its parent shows its children and the sibling before it
    // has an item: it is then in the window or next to it. Any other shown node lies outside.
    for (NodeHandle handle : pending) {
        const Node* node = model_.Find(handle);
        if (!node || Loaded(handle)) continue;
        const Node* parent = model_.Find(model_.Parent(*node));
        // A first child gives its parent a button.
        if (parent && model_.FirstChild(*parent) == handle) SetHasChildren(*parent);
        if (parent && (!parent->expanded || !Loaded(parent->handle))) continue;
        const NodeHandle before = model_.PrevSibling(*node);
        if (before && !Loaded(before)) continue;
        if (items_.Size() >= maxItems) {
            stale_ = true;
            break;
        }
        InsertItem(*node, parent ? Loaded(parent->handle) : nullptr, before ? Loaded(before) : TVI_FIRST);
    }
    // Parents whose children stay hidden still need their buttons drawn.
    if (redraw_) InvalidateRect(tree_, nullptr, TRUE);
}

HTREEITEM Win32TreeView::ItemOf(NodeHandle handle) {
    if (!tree_) return nullptr;
    Settle();
    return Loaded(handle);
}

int Win32TreeView::ItemCount() {
    if (!tree_) return 0;
    Settle();
    return static_cast<int>(SendMessageW(tree_, TVM_GETCOUNT, 0, 0));
}

NodeHandle Win32TreeView::HandleOfItem(HTREEITEM item) const {
    if (!item || !tree_) return 0;
    TVITEMW query{};
    query.mask = TVIF_PARAM | TVIF_HANDLE;
    query.hItem = item;
    if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return 0;
    return static_cast<NodeHandle>(query.lParam);
}

NodeHandle Win32TreeView::Caret() const {
    if (!tree_) return 0;
    return HandleOfItem(reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void Win32TreeView::ReportCaretIfMoved() {
    const NodeHandle caret = Caret();
    if (caret != model_.Selected()) events_.WidgetSelectionChanged(caret);
}

void Win32TreeView::ExpandQuietly(HTREEITEM item, bool expanded) {
    QuietScope quiet(quiet_);
    SendMessageW(tree_, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
}

// --- ITreeWidget -------------------------------------------------------------------------

void Win32TreeView::NodeAdded(NodeHandle node) {
    if (!tree_ || stale_) return;
    // A batch bigger than the window rebuilds it rather than look at every node; so does one
    // that finds no room in the queue.
    try {
        if (pending_.size() < kMaxPending) return pending_.push_back(node);
    } catch (const std::bad_alloc&) {
    }
    pending_.clear();
    stale_ = true;
}

void Win32TreeView::NodeChanged(NodeHandle handle) {
    // A node without an item takes whatever the model holds when it gets one.
    const Node* node = model_.Find(handle);
    const HTREEITEM loaded = Loaded(handle);
    if (!tree_ || !node || !loaded) return;
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    item.hItem = loaded;
    item.pszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(node->TextZ()));
    item.iImage = ImageIndex(node->image);
    item.iSelectedImage = ImageIndex(node->selectedImage);
    item.state = StateImageBits(node->StateImage());
    item.stateMask = TVIS_STATEIMAGEMASK;
    QuietScope quiet(quiet_);
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32TreeView::NodeRemoved(NodeHandle node, NodeHandle parentHandle) {
    if (!tree_) return;
    const auto alive = alive_;
    FlushAdded();
    if (HTREEITEM item = Loaded(node)) {
        // Its items and those under it leave the map as the tree view reports their deletion.
        QuietScope quiet(quiet_);
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
    // The model closed a parent left without children: so does its item, and drops its button.
    if (Node* parent = model_.Find(parentHandle); parent && parent->childCount == 0) SetHasChildren(*parent);
    if (!model_.Contains(windowFirst_) || !model_.Contains(windowLast_)) stale_ = true;
    Settle();
    if (*alive && tree_) ReportCaretIfMoved();
}

void Win32TreeView::AllNodesRemoved() {
    if (!tree_) return;
    pending_.clear();
    {
        QuietScope quiet(quiet_);
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    }
    items_.Clear();
    windowFirst_ = windowLast_ = 0;
    stale_ = false;
    ReportCaretIfMoved();
}

void Win32TreeView::Select(NodeHandle handle) {
    if (!tree_) return;
    const auto alive = alive_;
    Settle();
    // Open the closed ancestors from the root down, reporting each as the widget would when
    // it brings a node into view. The host may change the tree from inside each report.
    for (;;) {
        const Node* node = model_.Find(handle);
        if (!node) return;
        Node* closed = nullptr;
        for (Node* up = model_.Find(model_.Parent(*node)); up; up = model_.Find(model_.Parent(*up)))
            if (!up->expanded) closed = up;
        if (!closed) break;
        const NodeHandle opened = closed->handle;
        const HTREEITEM item = Load(opened);
        if (!item) return;
        // A window's worth of its rows now; the rest once it is known where the view goes.
        if (!LoadChildren(*closed, items_.Size() + static_cast<std::size_t>(MarginRows()))) stale_ = true;
        ExpandQuietly(item, true);
        events_.WidgetExpansionChanged(opened, true);
        if (!*alive || !tree_) return;
        // A report that left the node closed would loop for ever: the host decided otherwise.
        if (const Node* again = model_.Find(opened); again && !again->expanded) return;
    }
    const Node* node = model_.Find(handle);
    if (!node) return;
    if (depth_ == 0) PrepareFor(RowOf(*node));
    const HTREEITEM item = Load(handle);
    if (!item) return;
    // The tree view reports the move through TVN_SELCHANGED, inside this call.
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    if (*alive && tree_) Settle();
}

void Win32TreeView::SetExpanded(NodeHandle handle, bool expanded) {
    if (!tree_) return;
    const Node* node = model_.Find(handle);
    const HTREEITEM item = Loaded(handle);
    if (node && item) {
        // Rows beyond what the window takes wait for it to be rebuilt round the view, which
        // opens the node's item too.
        if (expanded && (node->childRows > static_cast<std::uint32_t>(MarginRows()) ||
                         !LoadChildren(*node, items_.Size() + static_cast<std::size_t>(MarginRows()))))
            stale_ = true;
        else
            ExpandQuietly(item, expanded);
        // Closing a branch that holds the selection moves the tree view's caret to the branch.
        if (!expanded) ReportCaretIfMoved();
    }
    Settle();
}

NodeHandle Win32TreeView::HitTest(int x, int y) const {
    if (!tree_) return 0;
    TVHITTESTINFO info{};
    info.pt = {x, y};
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (!item || !(info.flags & TVHT_ONITEM)) return 0;
    return HandleOfItem(item);
}

void Win32TreeView::SetRedraw(bool on) {
    if (!tree_) return;
    redraw_ = on;
    if (!on) {
        SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
        return;
    }
    Settle();
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void Win32TreeView::Repaint() {
    // While redrawing is off a repaint would show nothing; the queue waits for the batch.
    if (!tree_ || !redraw_) return;
    Settle();
    RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32TreeView::Invalidate() {
    // While redrawing is off, its end redraws everything; and one pending paint is enough
    // (every InvalidateRect is a round trip to the window system).
    if (!tree_ || !redraw_ || paintPending_) return;
    paintPending_ = true;
    InvalidateRect(tree_, nullptr, TRUE);
}

void Win32TreeView::ShowSelectionAlways() {
    if (!tree_) return;
    const LONG_PTR style = GetWindowLongPtrW(tree_, GWL_STYLE);
    if (!(style & TVS_SHOWSELALWAYS)) SetWindowLongPtrW(tree_, GWL_STYLE, style | TVS_SHOWSELALWAYS);
}

// --- Images ------------------------------------------------------------------------------

void Win32TreeView::ShowImages(const ImageList* list) {
    shownImages_ = list;
    if (!tree_) return;
    SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list ? images_.For(*list) : nullptr));
}

void Win32TreeView::ShowStateImages(const ImageList* list) {
    stateImages_ = list;
    if (!tree_) return;
    SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(list ? images_.For(*list) : nullptr));
}

void Win32TreeView::ImagesChanged(const ImageList& list, std::int32_t firstChanged) {
    images_.Changed(list, firstChanged);
    // Setting a list again makes the tree view measure its rows for the list's image size.
    if (&list == shownImages_) ShowImages(&list);
    if (&list == stateImages_) ShowStateImages(&list);
    if (tree_ && (&list == shownImages_ || &list == stateImages_)) InvalidateRect(tree_, nullptr, TRUE);
}

}  // namespace ramvel::win32
