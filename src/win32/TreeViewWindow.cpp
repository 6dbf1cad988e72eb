// Win32TreeView: the window of rows that have items, kept around the view, and the scroll bar
// that counts every row.
#include <algorithm>
#include <cstring>
#include <new>

#include "win32/TreeViewWin32.h"

namespace ramvel::win32 {

int Win32TreeView::PageRows() const {
    if (!tree_) return 1;
    return std::max(1, static_cast<int>(SendMessageW(tree_, TVM_GETVISIBLECOUNT, 0, 0)));
}

void Win32TreeView::Rebuild(std::uint32_t top) {
    const VisibleRows rows(model_);
    const std::uint32_t count = rows.Count();
    const auto page = static_cast<std::uint32_t>(PageRows());
    const auto margin = static_cast<std::uint32_t>(MarginRows());
    top = std::min(top, count > page ? count - page : 0);
    const std::uint32_t span = page + 2 * margin;
    std::uint32_t first = top > margin ? top - margin : 0;
    if (count > span) first = std::min(first, count - span);
    const std::uint32_t last = std::min(count, first + span);  // one past

    // The items of a window and its edges, in one allocation.
    items_.Reserve(span + 64);
    const bool redraw = redraw_;
    if (redraw) SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    // Drawing comes back on however the rebuilding ends.
    struct RedrawOnExit {
        Win32TreeView& view;
        bool redraw;
        ~RedrawOnExit() {
            if (!redraw || !view.tree_) return;
            SendMessageW(view.tree_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(view.tree_, nullptr, TRUE);
        }
    } redrawOnExit{*this, redraw};
    {
        QuietScope quiet(quiet_);
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    }
    items_.Clear();
    windowFirst_ = windowLast_ = 0;
    stale_ = true;  // until the window is whole
    const Node* topNode = nullptr;
    if (const Node* node = rows.NodeAt(first)) {
        // The open ancestors of the first row, from the root down.
        std::vector<const Node*> head;
        for (const Node* up = model_.Find(model_.Parent(*node)); up; up = model_.Find(model_.Parent(*up))) head.push_back(up);
        HTREEITEM parent = nullptr;
        for (auto up = head.rbegin(); up != head.rend(); ++up) parent = InsertItem(**up, parent, TVI_LAST);
        windowFirst_ = node->handle;
        for (std::uint32_t row = first; node && row < last; ++row, node = rows.Next(*node)) {
            InsertItem(*node, Loaded(model_.Parent(*node)), TVI_LAST);
            windowLast_ = node->handle;
            if (row == top) topNode = node;
        }
        // The next sibling of each node on the last row's way up, so the lines go on.
        for (const Node* at = model_.Find(windowLast_); at; at = model_.Find(model_.Parent(*at)))
            if (const Node* next = model_.Find(model_.NextSibling(*at)); next && !Loaded(next->handle))
                InsertItem(*next, Loaded(model_.Parent(*next)), TVI_LAST);
    }
    stale_ = false;
    windowFirstRow_ = first;
    windowRowsVersion_ = model_.RowsVersion();
    windowRowKnown_ = windowFirst_ != 0;
    // The selection keeps its item, out of the window if need be.
    if (const Node* selected = model_.Find(model_.Selected()); selected && rows.IsShown(*selected))
        if (HTREEITEM item = Load(selected->handle)) {
            QuietScope quiet(quiet_);
            SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        }
    if (topNode)
        if (HTREEITEM item = Loaded(topNode->handle)) {
            QuietScope quiet(quiet_);
            SendMessageW(tree_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(item));
        }
}

void Win32TreeView::ExtendWindow() {
    const VisibleRows rows(model_);
    const Node* first = model_.Find(windowFirst_);
    const Node* last = model_.Find(windowLast_);
    if (!first || !last || !Loaded(windowFirst_) || !Loaded(windowLast_) || !rows.IsShown(*first) || !rows.IsShown(*last)) {
        // A tree that starts from nothing starts its window at the first row.
        const Node* top = model_.Find(model_.FirstRoot());
        if (!top || !Loaded(top->handle)) {
            if (top) stale_ = true;
            return;
        }
        first = last = top;
    }
    for (const Node* next = rows.Next(*last); next && Loaded(next->handle); next = rows.Next(*last)) last = next;
    for (const Node* previous = rows.Previous(*first); previous && Loaded(previous->handle); previous = rows.Previous(*first))
        first = previous;
    if (first->handle != windowFirst_) windowRowKnown_ = false;
    windowFirst_ = first->handle;
    windowLast_ = last->handle;
}

namespace {
// The top of an item's row in client coordinates; false when the item has no row on screen.
bool RowTop(HWND tree, HTREEITEM item, int& top) {
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);  // the message takes the item in the rectangle
    if (!item || !SendMessageW(tree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&rect))) return false;
    top = rect.top;
    return true;
}
}  // namespace

bool Win32TreeView::WindowHolds(HTREEITEM item, int before, int after) const {
    const VisibleRows rows(model_);
    const Node* first = model_.Find(windowFirst_);
    const Node* last = model_.Find(windowLast_);
    int firstTop = 0, lastTop = 0, itemTop = 0;
    if (stale_ || !first || !last || !RowTop(tree_, Loaded(windowFirst_), firstTop) ||
        !RowTop(tree_, Loaded(windowLast_), lastTop) || !RowTop(tree_, item, itemTop))
        return false;
    const int height = std::max(1, static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0)));
    if (itemTop < firstTop || itemTop > lastTop) return false;
    return ((itemTop - firstTop) / height >= before || !rows.Previous(*first)) &&
           ((lastTop - itemTop) / height >= after || !rows.Next(*last));
}

std::uint32_t Win32TreeView::RowOf(const Node& node) const {
    int firstTop = 0, lastTop = 0, top = 0;
    if (windowRowKnown_ && windowRowsVersion_ == model_.RowsVersion() && !stale_ &&
        RowTop(tree_, Loaded(windowFirst_), firstTop) && RowTop(tree_, Loaded(windowLast_), lastTop) &&
        RowTop(tree_, Loaded(node.handle), top) && top >= firstTop && top <= lastTop) {
        const int height = std::max(1, static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0)));
        return windowFirstRow_ + static_cast<std::uint32_t>((top - firstTop) / height);
    }
    return VisibleRows(model_).RowOf(node);
}

std::uint32_t Win32TreeView::ViewTop() const {
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    const Node* node = model_.Find(HandleOfItem(item));
    return node && VisibleRows(model_).IsShown(*node) ? RowOf(*node) : 0;
}

void Win32TreeView::Settle() {
    if (!tree_ || depth_ > 0 || quiet_ > 0) return;
    try {
        SettleNow();
    } catch (const std::bad_alloc&) {
        // Out of memory the view waits, as it is, for the next chance.
        pending_.clear();
        stale_ = true;
    }
}

void Win32TreeView::SettleNow() {
    FlushAdded();
    if (model_.Rows() == 0) {
        if (!items_.Empty()) AllNodesRemoved();
        return;
    }
    ExtendWindow();
    // Counted once after a change, the window's first row numbers the rest of the window.
    if (const Node* first = model_.Find(windowFirst_);
        first && (!windowRowKnown_ || windowRowsVersion_ != model_.RowsVersion())) {
        windowFirstRow_ = VisibleRows(model_).RowOf(*first);
        windowRowsVersion_ = model_.RowsVersion();
        windowRowKnown_ = true;
    }
    const auto top = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    const int page = PageRows();
    if (!WindowHolds(top, page, 2 * page)) Rebuild(ViewTop());
    SyncScrollBar();
}

void Win32TreeView::SyncScrollBar() {
    const std::uint32_t count = model_.Rows();
    const auto page = static_cast<std::uint32_t>(PageRows());
    // While every row fits, the tree view's own bar (or none) is right.
    if (count <= page || (Loaded(model_.FirstRoot()) && windowFirst_ == model_.FirstRoot() && !VisibleRows(model_).Next(*model_.Find(windowLast_))))
        return;
    SCROLLINFO wanted{sizeof wanted, SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(count - 1), page, static_cast<int>(ViewTop()), 0};
    SCROLLINFO shown{sizeof shown, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(tree_, SB_VERT, &shown);
    if (shown.nMin != wanted.nMin || shown.nMax != wanted.nMax || shown.nPage != wanted.nPage || shown.nPos != wanted.nPos)
        SetScrollInfo(tree_, SB_VERT, &wanted, TRUE);
}

void Win32TreeView::PrepareFor(std::uint32_t row) {
    const VisibleRows rows(model_);
    const Node* node = rows.NodeAt(row);
    if (!node) return;
    const int page = PageRows();
    if (WindowHolds(Loaded(node->handle), page + 1, page + 1)) return;
    // The view stays put if the row is in it; else it stops just short of the row, so that
    // the tree view's own scrolling to the new caret ends where it would on a small tree.
    const std::int64_t view = ViewTop();
    const std::int64_t top = std::clamp<std::int64_t>(view, static_cast<std::int64_t>(row) - page, row + 1);
    Rebuild(static_cast<std::uint32_t>(std::max<std::int64_t>(0, top)));
}

void Win32TreeView::ScrollTo(std::int64_t top) {
    const VisibleRows rows(model_);
    const std::int64_t page = PageRows();
    top = std::clamp<std::int64_t>(top, 0, std::max<std::int64_t>(0, static_cast<std::int64_t>(rows.Count()) - page));
    const Node* node = rows.NodeAt(static_cast<std::uint32_t>(top));
    if (!node) return;
    HTREEITEM item = Loaded(node->handle);
    if (!WindowHolds(item, static_cast<int>(page), static_cast<int>(2 * page))) {
        Rebuild(static_cast<std::uint32_t>(top));
    } else {
        QuietScope quiet(quiet_);
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(item));
    }
    SyncScrollBar();
}

void Win32TreeView::OnVScroll(WORD code) {
    const std::int64_t top = ViewTop();
    const std::int64_t page = PageRows();
    switch (code) {
    case SB_LINEUP: return ScrollTo(top - 1);
    case SB_LINEDOWN: return ScrollTo(top + 1);
    case SB_PAGEUP: return ScrollTo(top - page);
    case SB_PAGEDOWN: return ScrollTo(top + page);
    case SB_TOP: return ScrollTo(0);
    case SB_BOTTOM: return ScrollTo(model_.Rows());
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 16 bits of the message would not reach past row 65,535: the bar has all 32.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(tree_, SB_VERT, &info);
        return ScrollTo(info.nTrackPos);
    }
    }
}

void Win32TreeView::SelectTyped(NodeHandle handle) {
    const Node* node = model_.Find(handle);
    if (!node) return;
    PrepareFor(RowOf(*node));
    // Reported through TVN_SELCHANGED like any selection the user makes.
    if (HTREEITEM item = Load(handle)) SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

}  // namespace ramvel::win32
