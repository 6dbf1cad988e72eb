// Win32TreeView: the tree view's notifications and input, turned into ITreeEvents calls.
// Every report may re-enter the control (the host may delete nodes, clear the tree or even
// release the control), so nothing is touched after a report without looking again.
#include <windowsx.h>


#include "win32/TreeViewWin32.h"

namespace ramvel::win32 {

namespace {

ShiftState ShiftFrom(WPARAM keys, bool doubleClick) {
    ShiftState shift;
    shift.shift = (keys & MK_SHIFT) != 0;
    shift.ctrl = (keys & MK_CONTROL) != 0;
    shift.alt = GetKeyState(VK_MENU) < 0;
    shift.left = (keys & MK_LBUTTON) != 0;
    shift.right = (keys & MK_RBUTTON) != 0;
    shift.middle = (keys & MK_MBUTTON) != 0;
    shift.doubleClick = doubleClick;
    return shift;
}

}  // namespace

// Detached while a later subclasser still calls us: the tree view's class answers.
LRESULT Win32TreeView::Unattached(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC)), window, message, wParam,
                           lParam);
}

LRESULT Win32TreeView::CallTreeView(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(originalProc_, tree_, message, wParam, lParam);
}

// Mouse buttons and keys: what a disabled control must not take, even when posted to it.
bool IsInput(UINT message) {
    return (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) || message == WM_KEYDOWN || message == WM_CHAR;
}

namespace {
// Messages after which the view may have moved or the caret gone elsewhere.
bool MovesView(UINT message) {
    return IsInput(message) || message == WM_MOUSEWHEEL || message == WM_VSCROLL || message == WM_SIZE ||
           message == WM_TIMER || message == WM_LBUTTONUP;
}
}  // namespace

LRESULT Win32TreeView::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsInput(message) && (!takesInput_ || !IsWindowEnabled(window))) return 0;
    // A paint at the outer level shows the model as it is now.
    if (message == WM_PAINT && depth_ == 0) Settle();
    const auto alive = alive_;
    ++depth_;
    const LRESULT result = HandleMessage(window, message, wParam, lParam);
    if (!*alive) return result;
    --depth_;
    if (depth_ == 0 && tree_ && MovesView(message)) Settle();
    // The tree view sets the scroll bar to its own items as it paints, also while the scroll
    // bar's own loop drags the thumb: the bar counts every row again at once.
    else if (message == WM_PAINT && tree_) SyncScrollBar();
    return result;
}

LRESULT Win32TreeView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: return MouseDown(MouseButton::Left, false, message, wParam, lParam);
    case WM_RBUTTONDOWN: return MouseDown(MouseButton::Right, false, message, wParam, lParam);
    case WM_MBUTTONDOWN: return MouseDown(MouseButton::Middle, false, message, wParam, lParam);
    case WM_LBUTTONDBLCLK: return MouseDown(MouseButton::Left, true, message, wParam, lParam);
    case WM_RBUTTONDBLCLK: return MouseDown(MouseButton::Right, true, message, wParam, lParam);
    case WM_MBUTTONDBLCLK: return MouseDown(MouseButton::Middle, true, message, wParam, lParam);
    case WM_KEYDOWN: return KeyDown(message, wParam, lParam);
    case WM_VSCROLL:
        // The bar counts every row; the tree view knows only those with items.
        if (model_.Rows() > static_cast<std::uint32_t>(PageRows())) {
            OnVScroll(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_CHAR: {
        const auto alive = alive_;
        char16_t key = static_cast<char16_t>(wParam);
        events_.WidgetKeyPress(key);
        if (!*alive || !IsWindow(window)) return 0;
        if (key == 0) return 0;  // the control keeps the character from the tree view
        if (key < u' ') return PassInput(message, key, lParam);
        // Typing looks through every row, those without items too.
        if (const NodeHandle found = typeAhead_.Find(model_, model_.Selected(), key, GetTickCount())) SelectTyped(found);
        return 0;
    }
    case WM_SETCURSOR:
        if (cursorOverride_ && LOWORD(lParam) == HTCLIENT) {
            SetCursor(cursor_);
            return TRUE;
        }
        break;
    case WM_ERASEBKGND:
        if (doubleBuffered_) return 1;  // the buffered paint fills the background itself
        break;
    case WM_PAINT:
        paintPending_ = false;
        if (doubleBuffered_ && wParam == 0) {
            PaintBuffered();
            return 0;
        }
        break;
    case WM_SETFOCUS: {
        const LRESULT result = CallTreeView(message, wParam, lParam);
        events_.WidgetEnter();
        return result;
    }
    case WM_NCDESTROY: {
        const WNDPROC original = originalProc_;
        Detach();
        return CallWindowProcW(original, window, message, wParam, lParam);
    }
    }
    return CallTreeView(message, wParam, lParam);
}

LRESULT Win32TreeView::KeyDown(UINT message, WPARAM wParam, LPARAM lParam) {
    // The caret moves through rows with items: the window first reaches where it goes.
    const VisibleRows rows(model_);
    const Node* caret = model_.Find(model_.Selected());
    if (wParam == VK_HOME) PrepareFor(0);
    else if (wParam == VK_END && rows.Count() > 0) PrepareFor(rows.Count() - 1);
    else PrepareFor(caret && rows.IsShown(*caret) ? RowOf(*caret) : ViewTop());
    return PassInput(message, wParam, lParam);
}

// The tree view draws into an off-screen bitmap, which then goes to the screen in one copy.
void Win32TreeView::PaintBuffered() {
    PAINTSTRUCT paint;
    const HDC screen = BeginPaint(tree_, &paint);
    RECT client;
    GetClientRect(tree_, &client);
    UniqueDc memory(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
    if (memory && bitmap) {
        const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
        CallTreeView(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
        BitBlt(screen, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
        SelectObject(memory.get(), old);
    }
    EndPaint(tree_, &paint);
}

LRESULT Win32TreeView::MouseDown(MouseButton button, bool doubleClick, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = tree_;
    const auto alive = alive_;
    events_.WidgetMouseDown(button, ShiftFrom(wParam, doubleClick), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (!*alive || !IsWindow(window)) return 0;
    if (message != WM_LBUTTONDBLCLK) return PassInput(message, wParam, lParam);
    // NM_DBLCLK comes before the tree view opens or closes the node; the control hears of the
    // double click after the tree view is done with it.
    inDblClick_ = true;
    dblClicked_ = false;
    const LRESULT result = PassInput(message, wParam, lParam);
    if (!*alive) return result;
    inDblClick_ = false;
    if (std::exchange(dblClicked_, false)) events_.WidgetDblClick();
    return result;
}

LRESULT Win32TreeView::PassInput(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = tree_;
    const auto alive = alive_;
    const LRESULT result = CallWindowProcW(originalProc_, window, message, wParam, lParam);
    // A collapse by the user moves the caret only after TVN_ITEMEXPANDED: look again now.
    if (*alive && tree_ && std::exchange(collapsed_, false)) ReportCaretIfMoved();
    return result;
}

bool Win32TreeView::OnNotify(const NMHDR& header, LRESULT& result) {
    if (!tree_ || header.hwndFrom != tree_) return false;
    result = 0;
    switch (header.code) {
    case TVN_DELETEITEMW:
        items_.Erase(static_cast<NodeHandle>(reinterpret_cast<const NMTREEVIEWW&>(header).itemOld.lParam));
        return true;
    case TVN_ITEMEXPANDINGW:
        OnExpanding(reinterpret_cast<const NMTREEVIEWW&>(header));
        return true;
    case TVN_ITEMEXPANDEDW:
        if (quiet_ == 0) OnExpanded(reinterpret_cast<const NMTREEVIEWW&>(header));
        return true;
    case TVN_SELCHANGEDW:
        if (quiet_ == 0) {
            const auto& info = reinterpret_cast<const NMTREEVIEWW&>(header);
            events_.WidgetSelectionChanged(info.itemNew.hItem ? static_cast<NodeHandle>(info.itemNew.lParam) : 0);
        }
        return true;
    case NM_DBLCLK:
        if (inDblClick_) {
            dblClicked_ = true;
        } else {
            events_.WidgetDblClick();
        }
        return true;
    }
    return false;
}

void Win32TreeView::OnExpanding(const NMTREEVIEWW& info) {
    if (!(info.action & TVE_EXPAND)) return;
    // Our own expansions load what they need first. The user's load the rows a window takes;
    // the rest come with the window rebuilt once the tree view is done.
    if (quiet_ > 0) return;
    if (const Node* node = model_.Find(static_cast<NodeHandle>(info.itemNew.lParam)))
        if (!LoadChildren(*node, items_.Size() + static_cast<std::size_t>(PageRows() + MarginRows()))) stale_ = true;
}

void Win32TreeView::OnExpanded(const NMTREEVIEWW& info) {
    const NodeHandle handle = static_cast<NodeHandle>(info.itemNew.lParam);
    if (!model_.Contains(handle)) return;
    const UINT state = static_cast<UINT>(
        SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(info.itemNew.hItem), TVIS_EXPANDED));
    const bool expanded = (state & TVIS_EXPANDED) != 0;
    const auto alive = alive_;
    events_.WidgetExpansionChanged(handle, expanded);
    // Closing a branch that holds the selection moves the caret without a word, now or once
    // the tree view is done with the input that closed it.
    if (!expanded && *alive && tree_) {
        collapsed_ = true;
        ReportCaretIfMoved();
    }
}

}  // namespace ramvel::win32
