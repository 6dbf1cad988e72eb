#pragma once
// What the tree view tests share: a TMyRamvel on the real ControlForm inside a real top-level
// window, a sink that records events as readable lines, a watcher that finds and closes
// message boxes, a watchdog, and checks that the tree view mirrors the model.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "WineCheck.h"
#include "control/Fields.h"
#include "control/MyRamvel.h"
#include "win32/ControlForm.h"
#include "win32/TreeViewWin32.h"

namespace treetest {

using namespace ramvel;

inline std::string Narrow(std::u16string_view text) {
    return winecheck::Utf8(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

inline const char* EventName(EventId id) {
    switch (id) {
    case EventId::OnChange: return "OnChange";
    case EventId::OnExpanded: return "OnExpanded";
    case EventId::OnCollapsed: return "OnCollapsed";
    case EventId::OnRightClick: return "OnRightClick";
    case EventId::OnDblClick: return "OnDblClick";
    case EventId::OnKeyPress: return "OnKeyPress";
    case EventId::OnActivate: return "OnActivate";
    case EventId::OnDeactivate: return "OnDeactivate";
    case EventId::OnClick: return "OnClick";
    case EventId::OnCreate: return "OnCreate";
    case EventId::OnDestroy: return "OnDestroy";
    case EventId::OnPaint: return "OnPaint";
    default: return "Other";
    }
}

// "OnChange 3 A1a": event, node index and node text, read back from the node info text; texts
// that are not node info (the mouse text) are kept whole.
inline std::string DescribeText(std::u16string_view text) {
    if (CountFields(text, kSOH) < 3) return Narrow(text);
    const std::u16string_view details = ExtractField(text, 3, kSOH);
    return Narrow(ExtractField(text, 1, kSOH)) + " " + Narrow(ExtractField(details, 2, kTAB));
}

// Records every event as one line; `onEvent` lets a test act as a host that calls back.
class RecordingSink : public IEventSink {
public:
    std::vector<std::string> lines;
    std::function<void(EventId, const std::u16string&)> onEvent;

    void RaiseText(EventId id, const std::u16string& text) override {
        lines.push_back(std::string(EventName(id)) + " " + DescribeText(text));
        if (onEvent) onEvent(id, text);
    }
    void Raise(EventId id, bool) override {
        lines.push_back(EventName(id));
        if (onEvent) onEvent(id, {});
    }
    void RaiseKey(EventId id, std::int16_t& key) override {
        lines.push_back(std::string(EventName(id)) + " " + std::to_string(key));
        if (onEvent) onEvent(id, {});
        key = 'z';  // a host that changes the key changes nothing
    }
    std::vector<std::string> Take() { return std::exchange(lines, {}); }
};

// Compares an event sequence with its expected table; prints both side by side on mismatch.
inline void ExpectSequence(const std::vector<std::string>& actual, std::span<const char* const> expected,
                           const char* file, int line) {
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i) same = actual[i] == expected[i];
    if (same) {
        winecheck::Check(true, file, line, {});
        return;
    }
    std::string table = "event sequence differs\n    expected                         | actual\n";
    for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        std::string left = i < expected.size() ? expected[i] : "";
        const std::string right = i < actual.size() ? actual[i] : "";
        const bool differs = left != right;
        left.resize(std::max<std::size_t>(left.size(), 32), ' ');
        table += (differs ? "  * " : "    ") + left + " | " + right + "\n";
    }
    winecheck::Check(false, file, line, table);
}
#define EXPECT_SEQUENCE(actual, ...)                                                \
    do {                                                                            \
        static const char* const expected_[] = {__VA_ARGS__};                       \
        ::treetest::ExpectSequence((actual), std::span(expected_), __FILE__, __LINE__); \
    } while (0)
#define EXPECT_NO_EVENTS(actual) \
    ::treetest::ExpectSequence((actual), std::span<const char* const>(), __FILE__, __LINE__)

// Ends the process with a failure when the test does not finish in time, so nothing hangs.
class Watchdog {
public:
    explicit Watchdog(DWORD milliseconds) : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this, milliseconds] {
            if (WaitForSingleObject(done_, milliseconds) == WAIT_TIMEOUT) {
                std::printf("FAIL: watchdog: the test did not finish (a box left open, or a hang)\n");
                std::fflush(stdout);
                ExitProcess(4);
            }
        });
    }
    ~Watchdog() {
        SetEvent(done_);
        thread_.join();
        CloseHandle(done_);
    }

private:
    HANDLE done_;
    std::thread thread_;
};

// A message box as the watcher found it.
struct BoxSeen {
    std::string caption;
    std::string text;
    std::string icon;  // "error", "warning", "none" or "other"
    bool operator==(const BoxSeen&) const = default;
};

// Finds every message box of this process, records it and presses OK.
class BoxWatcher {
public:
    BoxWatcher() {
        thread_ = std::thread([this] {
            while (!stop_) {
                EnumWindows(&BoxWatcher::Visit, reinterpret_cast<LPARAM>(this));
                Sleep(10);
            }
        });
    }
    ~BoxWatcher() {
        stop_ = true;
        thread_.join();
    }
    std::vector<BoxSeen> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(seen_, {});
    }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t className[64];
        if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
            !GetClassNameW(window, className, 64) || std::wstring_view(className) != L"#32770")
            return TRUE;
        reinterpret_cast<BoxWatcher*>(self)->Close(window);
        return TRUE;
    }
    static BOOL CALLBACK ReadChild(HWND child, LPARAM box) {
        auto& seen = *reinterpret_cast<BoxSeen*>(box);
        wchar_t className[32];
        GetClassNameW(child, className, 32);
        if (_wcsicmp(className, L"Static") != 0) return TRUE;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            seen.icon = icon == LoadIconW(nullptr, IDI_ERROR)     ? "error"
                        : icon == LoadIconW(nullptr, IDI_WARNING) ? "warning"
                        : icon && IsWindowVisible(child)          ? "other"
                                                                  : seen.icon;
        } else {
            wchar_t text[1024];
            if (GetWindowTextW(child, text, 1024) > 0) seen.text = winecheck::Utf8(text);
        }
        return TRUE;
    }
    void Close(HWND box) {
        if (std::find(closed_.begin(), closed_.end(), box) != closed_.end()) return;
        BoxSeen seen{"", "", "none"};
        wchar_t caption[256];
        GetWindowTextW(box, caption, 256);
        seen.caption = winecheck::Utf8(caption);
        EnumChildWindows(box, &BoxWatcher::ReadChild, reinterpret_cast<LPARAM>(&seen));
        closed_.push_back(box);
        {
            std::lock_guard lock(mutex_);
            seen_.push_back(seen);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }

    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<BoxSeen> seen_;
    std::vector<HWND> closed_;
};

// Delivers everything queued for this thread (posted input included).
inline void Pump() {
    MSG message;
    for (int round = 0; round < 4; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(0);
    }
}

// A top-level window holding one control, as a container would.
class Host {
public:
    explicit Host(bool withSink = true) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TreeViewTestHost";
        RegisterClassW(&windowClass);  // fails harmlessly for the second host
        top = CreateWindowExW(0, L"TreeViewTestHost", L"Tree view test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                              0, 520, 460, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        form = std::make_unique<win32::ControlForm>(control, box, GetModuleHandleW(nullptr), top);
        control.Initialize();  // as the module does once the form is built
        form->SetBounds(RECT{0, 0, win32::ControlForm::kWidth, win32::ControlForm::kHeight});
        form->Show(true);
        ShowWindow(top, SW_SHOW);
        SetForegroundWindow(top);
        SetFocus(form->TreeWindow());
        Pump();
        if (withSink) {
            control.SetEventSink(sink);
            sink->lines.clear();  // OnCreate, and the activation and painting of the new form
        }
    }
    ~Host() {
        control.SetEventSink(nullptr);
        form.reset();
        DestroyWindow(top);
        Pump();
    }

    HWND Tree() const { return form->TreeWindow(); }
    win32::Win32TreeView& View() { return form->Tree(); }

    HWND top = nullptr;
    win32::Win32MessageBox box;
    TMyRamvel control{box, u"Ramvel.ocx"};
    std::unique_ptr<win32::ControlForm> form;
    std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>();
};

// Node lines from "level|text|images|selected|state|data" rows ('|' stands for TAB).
inline std::u16string Lines(std::initializer_list<const char*> rows) {
    std::u16string out;
    for (const char* row : rows) {
        if (!out.empty()) out += u'\n';
        for (const char* c = row; *c; ++c) out += *c == '|' ? u'\t' : static_cast<char16_t>(*c);
    }
    return out;
}

inline std::u16string U16(const char* text) { return std::u16string(text, text + std::strlen(text)); }

// The tree view item's own data.
struct ItemData {
    std::u16string text;
    int image = 0, selectedImage = 0, stateImage = 0;
    bool expanded = false;
    NodeHandle handle = 0;
    bool hasChildren = false;  // the item shows a button
};

inline ItemData ReadItem(HWND tree, HTREEITEM item) {
    wchar_t text[512] = {};
    TVITEMW query{};
    query.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = 512;
    query.stateMask = TVIS_STATEIMAGEMASK | TVIS_EXPANDED;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return {std::u16string(reinterpret_cast<const char16_t*>(text)), query.iImage, query.iSelectedImage,
            static_cast<int>((query.state & TVIS_STATEIMAGEMASK) >> 12), (query.state & TVIS_EXPANDED) != 0,
            static_cast<NodeHandle>(query.lParam), query.cChildren != 0};
}

inline HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// The tree view must show the model through its window: every item names a live node with its
// text, images and open state, under its parent's item and in the model's order; every row
// from the window's first to its last has an item, and the view lies among them; the scroll
// bar counts every row; the caret is the model's selection; and the items stay few.
inline void ExpectMirror(Host& host, const char* file, int line) {
    HWND tree = host.Tree();
    TreeModel& model = host.control.Tree();
    const int items = host.View().ItemCount();  // brings the view up to date
    std::string problems;
    int seen = 0;
    std::function<void(HTREEITEM, NodeHandle)> walk = [&](HTREEITEM first, NodeHandle parent) {
        NodeHandle previous = 0;
        for (HTREEITEM item = first; item; item = NextItem(tree, item, TVGN_NEXT)) {
            ++seen;
            const ItemData data = ReadItem(tree, item);
            const Node* n = model.Find(data.handle);
            if (!n) {
                problems += "an item names no node\n";
                continue;
            }
            bool inOrder = previous == 0;
            for (NodeHandle before = model.PrevSibling(*n); before && !inOrder; before = model.PrevSibling(*model.Find(before)))
                inOrder = before == previous;
            previous = data.handle;
            const int state = n->StateImage() >= 1 && n->StateImage() <= 15 ? n->StateImage() : 0;
            const auto imageOf = [](int index) { return index < 0 ? I_IMAGENONE : index; };
            if (model.Parent(*n) != parent || !inOrder || data.text != n->Text() || data.image != imageOf(n->image) ||
                data.selectedImage != imageOf(n->selectedImage) || data.stateImage != state ||
                host.View().ItemOf(data.handle) != item || data.hasChildren != (n->childCount > 0) ||
                (n->childCount > 0 && data.expanded != n->expanded))
                problems += "item differs from node " + Narrow(n->Text()) + "\n";
            walk(NextItem(tree, item, TVGN_CHILD), data.handle);
        }
    };
    walk(NextItem(tree, nullptr, TVGN_ROOT), 0);
    if (seen != items) problems += "items outside the tree\n";
    if (items > 8000) problems += "too many items: " + std::to_string(items) + "\n";

    const VisibleRows rows(model);
    if (rows.Count() > 0) {
        const Node* first = model.Find(host.View().WindowFirst());
        const Node* last = model.Find(host.View().WindowLast());
        const Node* top = model.Find(ReadItem(tree, NextItem(tree, nullptr, TVGN_FIRSTVISIBLE)).handle);
        if (!first || !last || !top) {
            problems += "no window or no view\n";
        } else {
            for (const Node* n = first; n; n = rows.Next(*n)) {
                if (!host.View().ItemOf(n->handle)) problems += "a row of the window has no item: " + Narrow(n->Text()) + "\n";
                if (n == last) break;
            }
            const auto page = static_cast<std::uint32_t>(SendMessageW(tree, TVM_GETVISIBLECOUNT, 0, 0));
            const std::uint32_t topRow = rows.RowOf(*top);
            if (topRow < rows.RowOf(*first) || std::min(topRow + page, rows.Count()) > rows.RowOf(*last) + 1)
                problems += "the view reaches out of the window\n";
            SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
            if (rows.Count() > page && (!GetScrollInfo(tree, SB_VERT, &bar) || bar.nMin != 0 ||
                                        bar.nMax != static_cast<int>(rows.Count()) - 1 || bar.nPos != static_cast<int>(topRow)))
                problems += "the scroll bar does not count every row\n";
        }
    }
    const HTREEITEM caret = NextItem(tree, nullptr, TVGN_CARET);
    const NodeHandle caretNode = caret ? ReadItem(tree, caret).handle : 0;
    if (caretNode != model.Selected()) problems += "the caret is not the model's selection\n";
    winecheck::Check(problems.empty(), file, line, "tree view does not mirror the model:\n" + problems);
}
#define EXPECT_MIRROR(host) ::treetest::ExpectMirror((host), __FILE__, __LINE__)

// Client point in the middle of the row of a node (which must have an item).
inline POINT RowPoint(Host& host, NodeHandle node) {
    RECT rect{};
    const HTREEITEM item = host.View().ItemOf(node);
    std::memcpy(&rect, &item, sizeof item);  // the message takes the item in the rectangle
    SendMessageW(host.Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

inline NodeHandle HandleAt(Host& host, int index) { return host.control.Tree().At(index).handle; }

inline void PostClick(HWND window, UINT down, UINT up, POINT point, WPARAM keys) {
    PostMessageW(window, down, keys, MAKELPARAM(point.x, point.y));
    PostMessageW(window, up, 0, MAKELPARAM(point.x, point.y));
    Pump();
}

}  // namespace treetest
