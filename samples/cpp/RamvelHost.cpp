// Ramvel from C++: an early-bound host. It shows the control in a window through ATL's
// "AtlAxWin" window class, listens to the control's events through IConnectionPointContainer,
// drives it through IRamvel (declared in Ramvel_h.h, which MIDL or widl generate from
// Ramvel.idl) and prints what it receives. Every step checks what came back: the program
// ends with "done" and exit code 0, or with exit code 1 after "FAILED:" lines.
// Build: see samples/README.md.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Ramvel_h.h"  // IRamvel, DIID_IRamvelEvents (GUIDs defined in Ramvel_i.c)

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
}

std::string Narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

// Takes an out BSTR: its text, and the string freed. A null BSTR is the empty text.
std::wstring Take(BSTR& text) {
    std::wstring value = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    text = nullptr;
    return value;
}

// A node info text: node index SOH handle SOH level TAB text TAB images TAB selected image
// TAB state image TAB host data.
struct NodeInfo {
    long index = -1, handle = 0;
    std::vector<std::wstring> fields;  // the six detail fields, fields[1] is the text
    std::wstring Text() const { return fields.size() > 1 ? fields[1] : L""; }
    std::wstring HostData() const { return fields.size() > 5 ? fields[5] : L""; }
};

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

NodeInfo ParseNodeInfo(const std::wstring& text) {
    NodeInfo info;
    std::vector<std::wstring> parts = Split(text, L'\x01');
    if (parts.size() != 3) return info;
    info.index = std::wcstol(parts[0].c_str(), nullptr, 10);  // empty in AddAfterNode's reply
    info.handle = std::wcstol(parts[1].c_str(), nullptr, 10);
    info.fields = Split(parts[2], L'\t');
    return info;
}

// The host's side of IRamvelEvents. The control calls Invoke with the event's DISPID; events
// that name a node pass its node info text as the one BSTR argument. Each event is printed
// and kept, as "<event> <node text>", for the checks.
class TreeEvents : public IDispatch {
public:
    std::vector<std::string> received;

    // The events received since the last call.
    std::vector<std::string> Take() { return std::exchange(received, {}); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_IRamvelEvents) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The object lives as long as main(): no counting needed.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        std::string event;
        switch (id) {
        case 1: event = "OnActivate"; break;
        case 3: event = "OnCreate"; break;
        case 4: event = "OnDblClick"; break;
        case 5: event = "OnDestroy"; break;
        case 6: event = "OnDeactivate"; break;
        case 7: event = "OnChange " + NodeText(params); break;
        case 8: event = "OnCollapsed " + NodeText(params); break;
        case 9: event = "OnRightClick " + NodeText(params); break;  // or "MOUSE,x,y" below the nodes
        case 10: {
            // The key code comes by reference: a handler may change it (key preview).
            SHORT* key = params->cArgs == 1 ? V_I2REF(&params->rgvarg[0]) : nullptr;
            event = "OnKeyPress " + std::to_string(key ? *key : -1);
            break;
        }
        case 11: event = "OnClick"; break;
        case 15: return S_OK;  // OnPaint: comes whenever the window paints, not shown here
        case 16: event = "OnExpanded " + NodeText(params); break;
        default: event = "DISPID " + std::to_string(id);
        }
        std::printf("  event: %s\n", event.c_str());
        received.push_back(event);
        return S_OK;
    }

private:
    // The node text out of the event's node info text argument.
    static std::string NodeText(DISPPARAMS* params) {
        if (params->cArgs != 1 || V_VT(&params->rgvarg[0]) != VT_BSTR) return "?";
        BSTR info = V_BSTR(&params->rgvarg[0]);
        std::wstring text = info ? std::wstring(info, SysStringLen(info)) : std::wstring();
        NodeInfo node = ParseNodeInfo(text);
        return Narrow(node.fields.empty() ? text : node.Text());
    }
};

void CheckEvents(TreeEvents& events, const std::vector<std::string>& expected, const std::string& step) {
    std::vector<std::string> got = events.Take();
    std::string list;
    for (const std::string& e : got) list += " [" + e + "]";
    Check(got == expected, step + ": unexpected events:" + (list.empty() ? " none" : list));
}

// Lets the window system deliver what is queued (painting, posted input).
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The failure's text from the error object the control leaves on a failed call.
std::wstring LastErrorDescription() {
    IErrorInfo* error = nullptr;
    std::wstring text;
    if (GetErrorInfo(0, &error) == S_OK && error) {
        BSTR description = nullptr;
        error->GetDescription(&description);
        text = Take(description);
        error->Release();
    }
    return text;
}

// The node info text of the node at an index.
NodeInfo GetNode(IRamvel* tree, long index) {
    BSTR text = nullptr;
    HRESULT hr = tree->GetNode(index, &text);
    Check(hr == S_OK, "GetNode(" + std::to_string(index) + ")");
    return ParseNodeInfo(Take(text));
}

long NodeCount(IRamvel* tree) {
    long count = -1;
    tree->ChildrenNumber(0, &count);  // 0 or below: every node of the tree
    return count;
}

int Run() {
    // 1. Show the control in a window. ATL's AtlAxWin class creates the control named by the
    //    window's text (a ProgID or a CLSID), activates it in place and sizes it with the window.
    HMODULE atl = LoadLibraryW(L"atl.dll");
    auto atlAxWinInit = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void*>(atl ? GetProcAddress(atl, "AtlAxWinInit") : nullptr));
    auto atlAxGetControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
        reinterpret_cast<void*>(atl ? GetProcAddress(atl, "AtlAxGetControl") : nullptr));
    if (!atlAxWinInit || !atlAxGetControl || !atlAxWinInit()) {
        std::printf("FAILED: atl.dll cannot host controls\n");
        return 1;
    }
    HWND frame = CreateWindowExW(0, L"STATIC", L"Ramvel host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND host = CreateWindowExW(0, L"AtlAxWin", L"RamvelProj1.Ramvel", WS_CHILD | WS_VISIBLE, 0, 0, 380, 260, frame,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    IUnknown* control = nullptr;
    IRamvel* tree = nullptr;
    if (!host || atlAxGetControl(host, &control) != S_OK ||
        control->QueryInterface(IID_IRamvel, reinterpret_cast<void**>(&tree)) != S_OK) {
        std::printf("FAILED: the control could not be created (is Ramvel.ocx registered?)\n");
        return 1;
    }
    std::printf("control created in an AtlAxWin window\n");
    Pump();

    // 2. Connect to the events: the control's connection point for IRamvelEvents takes one sink.
    TreeEvents events;
    IConnectionPointContainer* points = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points));
    if (!points || points->FindConnectionPoint(DIID_IRamvelEvents, &point) != S_OK ||
        point->Advise(&events, &cookie) != S_OK) {
        std::printf("FAILED: cannot connect to the control's events\n");
        return 1;
    }
    points->Release();
    std::printf("events connected\n");
    CheckEvents(events, {"OnCreate"}, "connecting");  // the first sink hears OnCreate

    // 3. Build a tree from node lines: level TAB text TAB images TAB selected TAB state TAB data.
    BSTR lines = SysAllocString(
        L"0\tCustomers\t0,1\n"
        L"1\tSmith\t4\t\t\tC042\n"
        L"1\tJones\t4\t\t\tC043\n"
        L"0\tSuppliers\t0,1\n"
        L"1\tAcme\t21\t\t\tS001");
    HRESULT hr = tree->AddNodes(lines);
    SysFreeString(lines);
    Check(hr == S_OK, "AddNodes");
    std::printf("AddNodes: %ld nodes\n", NodeCount(tree));
    Check(NodeCount(tree) == 5, "five nodes");

    // 4. Read nodes by index and by handle.
    NodeInfo smith = GetNode(tree, 1);
    std::printf("node 1: %s, handle %ld, host data %s\n", Narrow(smith.Text()).c_str(), smith.handle,
                Narrow(smith.HostData()).c_str());
    Check(smith.Text() == L"Smith" && smith.HostData() == L"C042" && smith.handle > 0, "node 1 is Smith");
    BSTR text = nullptr;
    tree->getParent(smith.handle, &text);
    NodeInfo parent = ParseNodeInfo(Take(text));
    std::printf("parent of Smith: %s at index %ld\n", Narrow(parent.Text()).c_str(), parent.index);
    Check(parent.Text() == L"Customers" && parent.index == 0, "Smith's parent is Customers");
    long next = 0;
    tree->NextSibling(smith.handle, &next);
    tree->GethNode(next, &text);
    std::printf("next sibling of Smith: %s\n", Narrow(ParseNodeInfo(Take(text)).Text()).c_str());
    Check(next == GetNode(tree, 2).handle, "Smith's next sibling is node 2");

    // 5. Select a node under a closed parent: the parent opens first, then the selection moves.
    //    Both are reported to the sink before GoToNode returns.
    std::printf("GoToNode(4):\n");
    hr = tree->GoToNode(4, &text);
    std::printf("  returned %s\n", Narrow(ParseNodeInfo(Take(text)).Text()).c_str());
    Check(hr == S_OK, "GoToNode(4)");
    CheckEvents(events, {"OnExpanded Suppliers", "OnChange Acme"}, "GoToNode(4)");

    // 6. Close that parent: it holds the selection, so the selection moves up to it.
    long suppliers = GetNode(tree, 3).handle;
    std::printf("Expanded(Suppliers) = false:\n");
    tree->put_Expanded(suppliers, VARIANT_FALSE);
    CheckEvents(events, {"OnCollapsed Suppliers", "OnChange Suppliers"}, "closing Suppliers");

    // 7. A key typed in the tree: control characters (Enter here) reach the host as OnKeyPress.
    //    The sample posts the key to the tree view, as the keyboard would.
    IOleInPlaceObject* inPlace = nullptr;
    HWND form = nullptr;
    control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    if (inPlace) {
        inPlace->GetWindow(&form);
        inPlace->Release();
    }
    HWND treeView = form ? FindWindowExW(form, nullptr, WC_TREEVIEWW, nullptr) : nullptr;
    Check(treeView != nullptr, "the control's tree view window");
    std::printf("Enter typed in the tree:\n");
    PostMessageW(treeView, WM_CHAR, VK_RETURN, 1);
    Pump();
    CheckEvents(events, {"OnKeyPress 13"}, "Enter");

    // 8. Change a node in place: it keeps its handle.
    lines = SysAllocString(L"1\tSmith Ltd\t4\t\t\tC042");
    tree->ChangeNode(1, lines);
    SysFreeString(lines);
    tree->GethNode(smith.handle, &text);
    NodeInfo changed = ParseNodeInfo(Take(text));
    std::printf("changed: %s\n", Narrow(changed.Text()).c_str());
    Check(changed.Text() == L"Smith Ltd", "ChangeNode");

    // 9. A failure: an HRESULT (E_UNEXPECTED) and an error object whose description says why.
    hr = tree->GetNode(99, &text);
    std::wstring why = LastErrorDescription();
    std::printf("GetNode(99) failed: 0x%08lX %s\n", static_cast<unsigned long>(hr), Narrow(why).c_str());
    Check(hr == E_UNEXPECTED && why == L"Index incorrect", "GetNode(99) fails with Index incorrect");

    // 10. Delete by handle: the node goes with its subtree.
    tree->DeleteHNode(smith.handle);
    std::printf("after DeleteHNode(Smith): %ld nodes\n", NodeCount(tree));
    Check(NodeCount(tree) == 4, "four nodes left");
    CheckEvents(events, {}, "changing and deleting unselected nodes");

    // 11. Release the control while the sink is connected: it says OnDestroy as it goes.
    //     (A host that no longer wants events calls point->Unadvise(cookie) first.)
    std::printf("releasing the control:\n");
    point->Release();
    tree->Release();
    control->Release();
    DestroyWindow(frame);  // destroys the AtlAxWin window, which lets go of the control
    Pump();
    CheckEvents(events, {"OnDestroy"}, "release");
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (FAILED(OleInitialize(nullptr))) return 1;  // the control is apartment-threaded
    int result = Run();
    OleUninitialize();
    if (result == 0) std::printf("done\n");
    return result;
}
