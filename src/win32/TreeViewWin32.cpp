// Win32TreeView: keeping the tree view's items in step with the model.
#include "win32/TreeViewWin32.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace ramvel::win32 {

namespace {


HTREEITEM ItemFromCookie(std::uintptr_t cookie) { return reinterpret_cast<HTREEITEM>(cookie); }

// The widget leaves -1 to a callback; any negative index means "no image" here.
int ImageIndex(std::int32_t index) { return index < 0 ? I_IMAGENONE : index; }

// State images 1 to 15 exist; 0, -1 and anything else draw none.
UINT StateImageBits(std::int32_t index) { return index >= 1 && index <= 15 ? INDEXTOSTATEIMAGEMASK(index) : 0; }

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
}

// --- Items -------------------------------------------------------------------------------

bool Win32TreeView::ShowsChildren(const Node& parent) const {
    // Children are inserted all at once, so the first one tells for all of them.
    if (!parent.widgetItem) return false;
    const Node* first = model_.Find(model_.FirstChild(parent));
    return first && first->widgetItem;
}

void Win32TreeView::Insert(Node& node) {
    const Node* parent = model_.Find(model_.Parent(node));
    const bool open = node.expanded && node.childCount > 0;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? ItemFromCookie(parent->widgetItem) : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    TVITEMW& item = insert.item;
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
    item.pszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(node.TextZ()));
    item.iImage = ImageIndex(node.image);
    item.iSelectedImage = ImageIndex(node.selectedImage);
    item.state = StateImageBits(node.StateImage()) | (open ? TVIS_EXPANDED | TVIS_EXPANDEDONCE : 0);
    item.stateMask = TVIS_STATEIMAGEMASK | TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    item.lParam = node.handle;
    item.cChildren = I_CHILDRENCALLBACK;  // asked of the model when the tree view needs it
    const HTREEITEM inserted = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    node.widgetItem = reinterpret_cast<std::uintptr_t>(inserted);
    // An open node shows its children at once.
    if (inserted && open) InsertChildren(node);
}

void Win32TreeView::InsertChildren(Node& parent) {
    if (!parent.widgetItem) return;
    QuietScope quiet(quiet_);
    for (NodeHandle child = model_.FirstChild(parent); child != 0;) {
        Node* node = model_.Find(child);
        if (!node) break;
        if (!node->widgetItem) Insert(*node);
        child = model_.NextSibling(*node);
    }
}

void Win32TreeView::Flush() {
    if (!tree_ || pending_.empty()) return;
    std::vector<NodeHandle> pending;
    pending.swap(pending_);
    {
        QuietScope quiet(quiet_);
        for (NodeHandle handle : pending) {
            Node* node = model_.Find(handle);
            if (!node || node->widgetItem) continue;  // gone meanwhile, or inserted with its parent's children
            // Roots go in below, in order; children when their parent shows its children.
            const Node* parent = model_.Find(model_.Parent(*node));
            if (parent && ShowsChildren(*parent)) Insert(*node);
        }
    }
    ShowRootsInReach();
    // Parents whose children stay hidden still need their buttons drawn.
    if (redraw_) InvalidateRect(tree_, nullptr, TRUE);
}

NodeHandle Win32TreeView::NextHiddenRoot() const {
    if (!lastShownRoot_) return model_.FirstRoot();
    const Node* last = model_.Find(lastShownRoot_);
    return last ? model_.NextSibling(*last) : 0;
}

void Win32TreeView::ShowRoots(int reach, NodeHandle through) {
    const Node* wanted = model_.Find(through);
    const auto more = [&] { return shownRoots_ < reach || (wanted && !wanted->widgetItem); };
    NodeHandle next = NextHiddenRoot();
    if (!next || !more()) return;
    // A batch goes in with drawing off, then the view is drawn once.
    const bool redraw = redraw_;
    if (redraw) SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    {
        QuietScope quiet(quiet_);
        for (; next && more(); next = NextHiddenRoot()) {
            Node* node = model_.Find(next);
            Insert(*node);
            if (!node->widgetItem) break;  // the tree view refused it: try again next time
            lastShownRoot_ = next;
            ++shownRoots_;
        }
    }
    rootReach_ = std::max(rootReach_, shownRoots_);
    if (redraw) {
        SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(tree_, nullptr, TRUE);
    }
}

void Win32TreeView::ShowRootsInReach() {
    if (!tree_) return;
    ShowRoots(rootReach_);
    if (!NextHiddenRoot()) return;
    RECT client{};
    GetClientRect(tree_, &client);
    const int rowHeight = std::max(1, static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0)));
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    const auto lastItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_LASTVISIBLE, 0));
    RECT last{};
    std::memcpy(&last, &lastItem, sizeof lastItem);
    const bool hasLast = lastItem && SendMessageW(tree_, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&last));
    if (hasLast && (last.top - client.bottom) / rowHeight >= kRowsAhead) return;
    rootReach_ = shownRoots_ + kRootBatch;
    ShowRoots(rootReach_);
}

HTREEITEM Win32TreeView::ItemOf(NodeHandle handle) {
    if (!tree_) return nullptr;
    Flush();
    Node* node = model_.Find(handle);
    if (!node) return nullptr;
    if (node->widgetItem) return ItemFromCookie(node->widgetItem);
    // Insert the children of each ancestor on the way down from the root.
    std::vector<Node*> chain;
    for (Node* up = model_.Find(model_.Parent(*node)); up; up = model_.Find(model_.Parent(*up))) chain.push_back(up);
    ShowRoots(rootReach_, chain.empty() ? handle : chain.back()->handle);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!(*it)->widgetItem) return nullptr;
        InsertChildren(**it);
    }
    return ItemFromCookie(node->widgetItem);
}

int Win32TreeView::ItemCount() {
    if (!tree_) return 0;
    Flush();
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
    if (tree_) pending_.push_back(node);
}

void Win32TreeView::NodeChanged(NodeHandle handle) {
    // A queued node is inserted later with whatever the model holds then.
    const Node* node = model_.Find(handle);
    if (!tree_ || !node || !node->widgetItem) return;
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    item.hItem = ItemFromCookie(node->widgetItem);
    item.pszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(node->TextZ()));
    item.iImage = ImageIndex(node->image);
    item.iSelectedImage = ImageIndex(node->selectedImage);
    item.state = StateImageBits(node->StateImage());
    item.stateMask = TVIS_STATEIMAGEMASK;
    QuietScope quiet(quiet_);
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32TreeView::NodeRemoved(std::uintptr_t widgetItem, NodeHandle parentHandle) {
    if (!tree_) return;
    const auto alive = alive_;
    if (widgetItem && parentHandle == 0) {
        // A shown root went: the last shown one is now the one before it, if it was this one.
        --shownRoots_;
        if (!model_.Contains(lastShownRoot_))
            lastShownRoot_ = HandleOfItem(reinterpret_cast<HTREEITEM>(
                SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_PREVIOUS, static_cast<LPARAM>(widgetItem))));
    }
    // Queued handles of removed nodes must go before any handle can be given out again.
    Flush();
    if (widgetItem) {
        QuietScope quiet(quiet_);
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(ItemFromCookie(widgetItem)));
    }
    // The model closed a parent left without children: so does its item.
    if (Node* parent = model_.Find(parentHandle); parent && !parent->expanded && parent->widgetItem) {
        TVITEMW item{};
        item.mask = TVIF_HANDLE | TVIF_STATE;
        item.hItem = ItemFromCookie(parent->widgetItem);
        item.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        QuietScope quiet(quiet_);
        SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    // Hidden roots move up into the room left.
    ShowRootsInReach();
    if (*alive && tree_) ReportCaretIfMoved();
}

void Win32TreeView::AllNodesRemoved() {
    if (!tree_) return;
    pending_.clear();
    lastShownRoot_ = 0;
    shownRoots_ = 0;
    rootReach_ = kRootBatch;
    {
        QuietScope quiet(quiet_);
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    }
    ReportCaretIfMoved();
}

void Win32TreeView::Select(NodeHandle handle) {
    if (!tree_) return;
    const auto alive = alive_;
    Flush();
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
        const HTREEITEM item = ItemOf(opened);
        if (!item) return;
        InsertChildren(*closed);
        ExpandQuietly(item, true);
        events_.WidgetExpansionChanged(opened, true);
        if (!*alive || !tree_) return;
        // A report that left the node closed would loop for ever: the host decided otherwise.
        if (const Node* again = model_.Find(opened); again && !again->expanded) return;
    }
    const HTREEITEM item = ItemOf(handle);
    if (!item) return;
    // The tree view reports the move through TVN_SELCHANGED, inside this call.
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void Win32TreeView::SetExpanded(NodeHandle handle, bool expanded) {
    if (!tree_) return;
    const HTREEITEM item = ItemOf(handle);
    Node* node = model_.Find(handle);
    if (!item || !node) return;
    if (expanded) InsertChildren(*node);
    ExpandQuietly(item, expanded);
    // Closing a branch that holds the selection moves the tree view's caret to the branch.
    if (!expanded) ReportCaretIfMoved();
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
    Flush();
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void Win32TreeView::Repaint() {
    // While redrawing is off a repaint would show nothing; the queue waits for the batch.
    if (!tree_ || !redraw_) return;
    Flush();
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
