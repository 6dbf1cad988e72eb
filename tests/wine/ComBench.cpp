// Measures the module under Wine and prints `name: value unit` lines (a benchmark, not a test):
//  - a cheap member (ChildrenNumber) called early-bound by slot and late-bound by DISPID;
//  - AddNodes of 100,000 node lines through IRamvel against inserting the same 100,000 items,
//    same hierarchy, straight into a comctl32 tree view with TVM_INSERTITEMW in this process;
//  - on a control hosted in a window and holding 1,000,000 nodes of mixed depth: AddAfterNode
//    after nodes in the first half (with its reply), and Clear;
//  - on the same tree with a folder of 100,000 children in front: opening the folder (and
//    painting the view), then Clear.
// Build: cmake --build build/win64 --target ramvel_com_bench; run it under Wine with the
// module registered, optionally with a prefix for the figures' names (see the report printed by tools or tests/wine/ComTests.cmake).
#include "HostedControl.h"

#include <algorithm>
#include <cstdio>
#include <random>

using namespace comtest;

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ComPtr<IRamvel> NewControl() {
    ComPtr<IRamvel> control;
    HRESULT hr = CoCreateInstance(CLSID_Ramvel, nullptr, CLSCTX_INPROC_SERVER, IID_IRamvel,
                                  reinterpret_cast<void**>(control.Put()));
    if (FAILED(hr)) winecheck::Abort("CoCreateInstance failed: " + winecheck::DescribeHr(hr));
    return control;
}

// Mixed depth, every level at most one below the line before: 0 1 2 3 2 1 2 3 3 1, repeated.
constexpr int kPattern[] = {0, 1, 2, 3, 2, 1, 2, 3, 3, 1};

std::vector<int> Levels(int count) {
    std::vector<int> levels(count);
    for (int i = 0; i < count; ++i) levels[i] = kPattern[i % std::size(kPattern)];
    return levels;
}

std::wstring ItemText(int i) { return L"Node " + std::to_wstring(i); }

std::wstring NodeLines(const std::vector<int>& levels);

double AddNodesSeconds(const std::vector<int>& levels) {
    Bstr text = MakeBstr(NodeLines(levels));
    ComPtr<IRamvel> control = NewControl();
    double start = Now();
    HRESULT hr = control->AddNodes(text.Get());
    double seconds = Now() - start;
    LONG count = 0;
    control->ChildrenNumber(0, &count);
    if (FAILED(hr) || count != static_cast<LONG>(levels.size())) winecheck::Abort("AddNodes did not add every line");
    return seconds;
}

double RawInsertSeconds(const std::vector<int>& levels) {
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 0,
                                0, 492, 404, CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 492, 404, nullptr, nullptr,
                                                             nullptr, nullptr),
                                nullptr, nullptr, nullptr);
    if (!tree) winecheck::Abort("no tree view");
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    std::vector<HTREEITEM> lastAtLevel(8, TVI_ROOT);
    double start = Now();
    for (size_t i = 0; i < levels.size(); ++i) {
        std::wstring text = ItemText(static_cast<int>(i));
        TVINSERTSTRUCTW insert{};
        insert.hParent = levels[i] ? lastAtLevel[levels[i] - 1] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.iImage = 0;
        insert.item.iSelectedImage = -1;
        insert.item.lParam = static_cast<LPARAM>(i + 1);
        lastAtLevel[levels[i]] =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    double seconds = Now() - start;
    if (SendMessageW(tree, TVM_GETCOUNT, 0, 0) != static_cast<LRESULT>(levels.size()))
        winecheck::Abort("the tree view did not take every item");
    DestroyWindow(GetParent(tree));
    return seconds;
}

// Seconds per call of ChildrenNumber, early-bound and by DISPID.
std::pair<double, double> CallSeconds(int calls) {
    ComPtr<IRamvel> control = NewControl();
    Bstr parm = MakeBstr(L"0\tRoot\n1\tA\n1\tB\n2\tC");
    control->AddNodes(parm.Get());
    BSTR info = nullptr;
    control->GetNode(0, &info);
    const LONG root = HandleOf(Take(info));
    auto dispatch = ramvel::server::QueryAs<IDispatch>(control.Get());
    DISPID id = 0;
    LPOLESTR name[] = {const_cast<LPOLESTR>(L"ChildrenNumber")};
    dispatch->GetIDsOfNames(IID_NULL, name, 1, LOCALE_USER_DEFAULT, &id);

    double best[2] = {1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        LONG sum = 0, value = 0;
        double start = Now();
        for (int i = 0; i < calls; ++i) {
            control->ChildrenNumber(root, &value);
            sum += value;
        }
        best[0] = std::min(best[0], (Now() - start) / calls);
        VARIANT arg, result;
        VariantInit(&arg);
        V_VT(&arg) = VT_I4;
        V_I4(&arg) = root;
        DISPPARAMS params{&arg, nullptr, 1, 0};
        start = Now();
        for (int i = 0; i < calls; ++i) {
            VariantInit(&result);
            dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
            sum += V_I4(&result);
        }
        best[1] = std::min(best[1], (Now() - start) / calls);
        if (sum != 2 * 2 * calls) winecheck::Abort("ChildrenNumber gave a wrong count");
    }
    return {best[0], best[1]};
}

std::wstring NodeLines(const std::vector<int>& levels) {
    std::wstring parm;
    for (size_t i = 0; i < levels.size(); ++i)
        parm += (i ? L"\n" : L"") + std::to_wstring(levels[i]) + L"\t" + ItemText(static_cast<int>(i)) + L"\t0,1";
    return parm;
}

struct LargeTreeFigures {
    double addAfterNodePerSecond;
    double clearSeconds;
};

LargeTreeFigures LargeTree(int nodes, int inserts) {
    Container container;
    HostedControl control(container);
    Bstr parm = MakeBstr(NodeLines(Levels(nodes)));
    if (FAILED(control->AddNodes(parm.Get()))) winecheck::Abort("AddNodes failed");
    Pump();
    std::mt19937 random(11);
    Bstr line = MakeBstr(L"2\tInserted\t0,1");
    double start = Now();
    for (int i = 0; i < inserts; ++i) {
        BSTR reply = nullptr;
        if (FAILED(control->AddAfterNode(static_cast<LONG>(random() % (nodes / 2)), line.Get(), &reply)))
            winecheck::Abort("AddAfterNode failed");
        SysFreeString(reply);
    }
    const double addAfter = inserts / (Now() - start);
    start = Now();
    if (FAILED(control->Clear())) winecheck::Abort("Clear failed");
    const double clear = Now() - start;
    LONG left = -1;
    control->ChildrenNumber(0, &left);
    if (left != 0) winecheck::Abort("Clear left nodes");
    return {addAfter, clear};
}

// Opening a folder of 100,000 children in front of a mixed tree of `nodes`, then clearing.
struct WideFolderFigures {
    double expandSeconds;
    double clearSeconds;
};

WideFolderFigures WideFolder(int nodes, int children) {
    Container container;
    HostedControl control(container);
    std::wstring lines = L"0\tWide folder\t0,1";
    for (int i = 0; i < children; ++i) lines += L"\n1\tChild " + std::to_wstring(i) + L"\t2";
    Bstr parm = MakeBstr(lines + L"\n" + NodeLines(Levels(nodes)));
    if (FAILED(control->AddNodes(parm.Get()))) winecheck::Abort("AddNodes failed");
    Pump();
    BSTR info = nullptr;
    if (FAILED(control->GetNode(0, &info))) winecheck::Abort("GetNode failed");
    const std::wstring text(info, SysStringLen(info));
    SysFreeString(info);
    const LONG folder = std::stol(text.substr(text.find(L'\x01') + 1));  // index SOH handle SOH ...
    double start = Now();
    if (FAILED(control->put_Expanded(folder, VARIANT_TRUE))) winecheck::Abort("Expanded failed");
    Pump();
    const double expand = Now() - start;
    start = Now();
    if (FAILED(control->Clear())) winecheck::Abort("Clear failed");
    Pump();
    return {expand, Now() - start};
}

}  // namespace

int main(int argc, char** argv) {
    // Names take the prefix given, so that two builds' figures can stand side by side.
    const char* prefix = argc > 1 ? argv[1] : "";
    Apartment apartment;
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);

    auto [early, late] = CallSeconds(200000);
    std::printf("%searly_bound_call: %.1f ns\n", prefix, early * 1e9);
    std::printf("%slate_bound_call: %.1f ns\n", prefix, late * 1e9);
    std::printf("%slatebound_vs_early_ratio: %.2f x\n", prefix, late / early);

    const std::vector<int> levels = Levels(100000);
    double addNodes = 1e9;
    for (int round = 0; round < 3; ++round) addNodes = std::min(addNodes, AddNodesSeconds(levels));
    double raw = RawInsertSeconds(levels);
    std::printf("%saddnodes_100k: %.3f s\n", prefix, addNodes);
    std::printf("%sraw_insert_100k: %.3f s\n", prefix, raw);
    std::printf("%saddnodes_vs_raw_insert_ratio: %.3f x\n", prefix, addNodes / raw);

    const LargeTreeFigures large = LargeTree(1000000, 5000);
    std::printf("%saddafternode_middle_per_s: %.0f calls/s\n", prefix, large.addAfterNodePerSecond);
    std::printf("%sclear_large_tree_seconds: %.3f s\n", prefix, large.clearSeconds);

    const WideFolderFigures wide = WideFolder(1000000, 100000);
    std::printf("%sexpand_100k_children_seconds: %.3f s\n", prefix, wide.expandSeconds);
    std::printf("%sclear_after_expand_seconds: %.3f s\n", prefix, wide.clearSeconds);
    return 0;
}
