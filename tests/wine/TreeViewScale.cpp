// Measures, in this process: raw TVM_INSERTITEMW of N items into a comctl32 tree view (flat
// and under parents), and AddNodes of the same N lines through TMyRamvel on the real form.
// Prints "name: value unit" lines; a measuring program, not a test.
//   TreeViewScale.exe [N]   (default 100000)
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "control/MyRamvel.h"
#include "win32/ControlForm.h"
#include "win32/TreeViewWin32.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

class SilentBox : public ramvel::IMessageBox {
public:
    void Show(const std::u16string&, const std::u16string&, ramvel::MessageIcon) override {}
};

HTREEITEM Insert(HWND tree, HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<LPWSTR>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

// Raw insertion: `perParent` 0 makes every item a root, else roots with perParent-1 children.
double RawInsert(HWND parent, int count, int perParent) {
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS, 0, 0,
                                400, 400, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    const auto start = Clock::now();
    HTREEITEM root = nullptr;
    for (int i = 0; i < count; ++i) {
        if (perParent == 0 || i % perParent == 0) {
            root = Insert(tree, TVI_ROOT, L"node");
        } else {
            Insert(tree, root, L"node");
        }
    }
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(tree);
    const double seconds = Seconds(start);
    DestroyWindow(tree);
    return seconds;
}

std::u16string NodeLines(int count, int perParent) {
    std::u16string lines;
    lines.reserve(static_cast<std::size_t>(count) * 24);
    for (int i = 0; i < count; ++i) {
        if (i) lines += u'\n';
        lines += perParent == 0 || i % perParent == 0 ? u"0\tnode\t0,1\t2\t3\tdata" : u"1\tnode\t4\t5\t-1\tdata";
    }
    return lines;
}

double ControlAddNodes(HWND parent, const std::u16string& lines, int* items) {
    ramvel::win32::Win32MessageBox box;
    ramvel::TMyRamvel control(box, u"Ramvel.ocx");
    ramvel::win32::ControlForm form(control, box, GetModuleHandleW(nullptr), parent);
    form.Show(true);
    const auto start = Clock::now();
    control.AddNodes(lines);
    UpdateWindow(form.TreeWindow());
    const double seconds = Seconds(start);
    *items = form.Tree().ItemCount();
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    InitCommonControls();
    HWND top = CreateWindowExW(0, L"STATIC", L"scale", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 450, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    struct {
        const char* name;
        int perParent;
    } shapes[] = {{"flat", 0}, {"under_parents_of_100", 100}};
    for (const auto& shape : shapes) {
        const double raw = RawInsert(top, count, shape.perParent);
        int items = 0;
        const double control = ControlAddNodes(top, NodeLines(count, shape.perParent), &items);
        std::printf("raw_insert_%s_%d: %.3f s\n", shape.name, count, raw);
        std::printf("raw_insert_%s_rate: %.0f items/s\n", shape.name, count / raw);
        std::printf("addnodes_%s_%d: %.3f s\n", shape.name, count, control);
        std::printf("addnodes_%s_rate: %.0f lines/s\n", shape.name, count / control);
        std::printf("addnodes_%s_items_in_view: %d items\n", shape.name, items);
        std::printf("addnodes_%s_over_raw: %.2f ratio\n", shape.name, control / raw);
        std::fflush(stdout);
    }
    DestroyWindow(top);
    return 0;
}
