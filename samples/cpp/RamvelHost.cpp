// Ramvel from C++: a host program to start from. It opens a frame window, shows the control in
// it through ATL's "AtlAxWin" window class, fills the tree, listens to the control's events
// through its connection point (printing each one and showing the selected node in the title
// bar) and runs the message loop until the window is closed. It drives the control through
// IRamvel, declared in Ramvel_h.h (in the release archive's include/ folder, or generated from
// Ramvel.idl by MIDL or widl).
//
//   RamvelHost.exe          the window, until the user closes it
//   RamvelHost.exe /check   the same window, driven through a series of checks and then closed:
//                           it ends with "done" and exit code 0, or with exit code 1 after
//                           "FAILED:" lines
// Build: see samples/README.md.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Ramvel_h.h"  // IRamvel, DIID_IRamvelEvents (GUIDs defined in Ramvel_i.c)

namespace {

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
    HWND titleWindow = nullptr;  // shows the selected node's text in its title

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
        case 7:
            event = "OnChange " + NodeText(params);
            ShowSelection(params);
            break;
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
    // The event's one argument, a node info text; "?" when there is none.
    static std::wstring Argument(DISPPARAMS* params) {
        if (params->cArgs != 1 || V_VT(&params->rgvarg[0]) != VT_BSTR) return L"?";
        BSTR info = V_BSTR(&params->rgvarg[0]);
        return info ? std::wstring(info, SysStringLen(info)) : std::wstring();
    }
    // The node text out of the event's node info text argument.
    static std::string NodeText(DISPPARAMS* params) {
        std::wstring text = Argument(params);
        NodeInfo node = ParseNodeInfo(text);
        return Narrow(node.fields.empty() ? text : node.Text());
    }
    void ShowSelection(DISPPARAMS* params) {
        if (!titleWindow) return;
        std::wstring title = L"Ramvel host - " + ParseNodeInfo(Argument(params)).Text();
        SetWindowTextW(titleWindow, title.c_str());
    }
};

// Lets the window system deliver what is queued (painting, posted input); never waits.
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Runs the thread's messages until the main window posts WM_QUIT: the tree, the user's input
// and the control's events all come through here.
int MessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// The program's main window. The control fills its client area; closing the window lets go of
// the control and ends the message loop.
class MainWindow {
public:
    TreeEvents events;

    // Creates the window and, inside it, the control with its event connection; false (after
    // saying why) when atl.dll or the control is missing.
    bool Create() {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = Procedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        type.lpszClassName = L"RamvelHostWindow";
        if (!RegisterClassExW(&type) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
        return CreateWindowExW(0, type.lpszClassName, L"Ramvel host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                               400, 300, nullptr, nullptr, type.hInstance, this) != nullptr;
    }

    HWND Handle() const { return window_; }
    IUnknown* Control() const { return control_; }
    IRamvel* Tree() const { return tree_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
        }
        auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return DefWindowProcW(window, message, wParam, lParam);
        switch (message) {
        case WM_CREATE:
            self->window_ = window;
            return self->CreateControl() ? 0 : -1;
        case WM_SIZE:
            // AtlAxWin passes its own size on to the control.
            if (self->host_) MoveWindow(self->host_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_DESTROY:
            self->ReleaseControl();
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    bool CreateControl() {
        // ATL's AtlAxWin window class creates the control named by the window's text (a ProgID or
        // a CLSID) and activates it in place. Without an ATL project, take it from atl.dll.
        HMODULE atl = LoadLibraryW(L"atl.dll");
        auto atlAxWinInit = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(atl ? GetProcAddress(atl, "AtlAxWinInit") : nullptr));
        auto atlAxGetControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
            reinterpret_cast<void*>(atl ? GetProcAddress(atl, "AtlAxGetControl") : nullptr));
        if (!atlAxWinInit || !atlAxGetControl || !atlAxWinInit()) {
            std::printf("FAILED: atl.dll cannot host controls\n");
            return false;
        }
        RECT client{};
        GetClientRect(window_, &client);
        host_ = CreateWindowExW(0, L"AtlAxWin", L"RamvelProj1.Ramvel", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                client.bottom, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!host_ || atlAxGetControl(host_, &control_) != S_OK ||
            control_->QueryInterface(IID_IRamvel, reinterpret_cast<void**>(&tree_)) != S_OK) {
            std::printf("FAILED: the control could not be created (is the Ramvel.ocx of this program's bitness "
                        "registered?)\n");
            return false;
        }
        std::printf("control created in an AtlAxWin window\n");

        // The control's connection point for IRamvelEvents takes one sink.
        events.titleWindow = window_;
        IConnectionPointContainer* points = nullptr;
        control_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points));
        bool connected = points && points->FindConnectionPoint(DIID_IRamvelEvents, &point_) == S_OK &&
                         point_->Advise(&events, &cookie_) == S_OK;
        if (points) points->Release();
        if (!connected) {
            std::printf("FAILED: cannot connect to the control's events\n");
            return false;
        }
        std::printf("events connected\n");
        return true;
    }

    // Drops this program's references. The sink stays connected, so the control says OnDestroy
    // when the AtlAxWin window, destroyed right after this one, lets go of it. (A host that no
    // longer wants events calls point_->Unadvise(cookie_) here first.)
    void ReleaseControl() {
        std::printf("closing: releasing the control\n");
        if (point_) point_->Release();
        if (tree_) tree_->Release();
        if (control_) control_->Release();
        point_ = nullptr;
        tree_ = nullptr;
        control_ = nullptr;
        host_ = nullptr;
    }

    HWND window_ = nullptr;
    HWND host_ = nullptr;  // the AtlAxWin window that holds the control
    IUnknown* control_ = nullptr;
    IRamvel* tree_ = nullptr;
    IConnectionPoint* point_ = nullptr;
    DWORD cookie_ = 0;
};

// Node lines: level TAB text TAB images TAB selected image TAB state image TAB host data.
HRESULT AddSampleNodes(IRamvel* tree) {
    BSTR lines = SysAllocString(
        L"0\tCustomers\t0,1\n"
        L"1\tSmith\t4\t\t\tC042\n"
        L"1\tJones\t4\t\t\tC043\n"
        L"0\tSuppliers\t0,1\n"
        L"1\tAcme\t21\t\t\tS001");
    HRESULT hr = tree->AddNodes(lines);
    SysFreeString(lines);
    return hr;
}

// ---- The self-check (/check) ------------------------------------------------------------------

int failures = 0;

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
}

void CheckEvents(TreeEvents& events, const std::vector<std::string>& expected, const std::string& step) {
    std::vector<std::string> got = events.Take();
    std::string list;
    for (const std::string& e : got) list += " [" + e + "]";
    Check(got == expected, step + ": unexpected events:" + (list.empty() ? " none" : list));
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

std::wstring WindowTitle(HWND window) {
    wchar_t title[128] = L"";
    GetWindowTextW(window, title, 128);
    return title;
}

// Drives the main window's control through the members and events a host uses, then closes the
// window the way a user does and runs the message loop to its end.
int RunChecks(MainWindow& window) {
    IRamvel* tree = window.Tree();
    TreeEvents& events = window.events;
    Pump();
    CheckEvents(events, {"OnCreate"}, "connecting");  // the first sink hears OnCreate

    // 1. Build a tree from node lines.
    Check(AddSampleNodes(tree) == S_OK, "AddNodes");
    std::printf("AddNodes: %ld nodes\n", NodeCount(tree));
    Check(NodeCount(tree) == 5, "five nodes");

    // 2. Read nodes by index and by handle.
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

    // 3. Select a node under a closed parent: the parent opens first, then the selection moves.
    //    Both are reported to the sink before GoToNode returns; the title bar follows.
    std::printf("GoToNode(4):\n");
    HRESULT hr = tree->GoToNode(4, &text);
    std::printf("  returned %s\n", Narrow(ParseNodeInfo(Take(text)).Text()).c_str());
    Check(hr == S_OK, "GoToNode(4)");
    CheckEvents(events, {"OnExpanded Suppliers", "OnChange Acme"}, "GoToNode(4)");
    Check(WindowTitle(window.Handle()) == L"Ramvel host - Acme", "the title names the selected node");

    // 4. Close that parent: it holds the selection, so the selection moves up to it.
    long suppliers = GetNode(tree, 3).handle;
    std::printf("Expanded(Suppliers) = false:\n");
    tree->put_Expanded(suppliers, VARIANT_FALSE);
    CheckEvents(events, {"OnCollapsed Suppliers", "OnChange Suppliers"}, "closing Suppliers");

    // 5. A key typed in the tree: control characters (Enter here) reach the host as OnKeyPress.
    //    The check posts the key to the tree view, as the keyboard would.
    IOleInPlaceObject* inPlace = nullptr;
    HWND form = nullptr;
    window.Control()->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
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

    // 6. Change a node in place: it keeps its handle.
    BSTR line = SysAllocString(L"1\tSmith Ltd\t4\t\t\tC042");
    tree->ChangeNode(1, line);
    SysFreeString(line);
    tree->GethNode(smith.handle, &text);
    NodeInfo changed = ParseNodeInfo(Take(text));
    std::printf("changed: %s\n", Narrow(changed.Text()).c_str());
    Check(changed.Text() == L"Smith Ltd", "ChangeNode");

    // 7. A failure: an HRESULT (E_UNEXPECTED) and an error object whose description says why.
    hr = tree->GetNode(99, &text);
    std::wstring why = LastErrorDescription();
    std::printf("GetNode(99) failed: 0x%08lX %s\n", static_cast<unsigned long>(hr), Narrow(why).c_str());
    Check(hr == E_UNEXPECTED && why == L"Index incorrect", "GetNode(99) fails with Index incorrect");

    // 8. Delete by handle: the node goes with its subtree.
    tree->DeleteHNode(smith.handle);
    std::printf("after DeleteHNode(Smith): %ld nodes\n", NodeCount(tree));
    Check(NodeCount(tree) == 4, "four nodes left");
    CheckEvents(events, {}, "changing and deleting unselected nodes");

    // 9. Close the window as a user would: the message loop ends, and the control, released with
    //    the sink still connected, says OnDestroy as it goes.
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    Check(MessageLoop() == 0, "the message loop ends with the window");
    Check(window.Tree() == nullptr, "the window let go of the control");
    CheckEvents(events, {"OnDestroy"}, "closing the window");
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const bool check = argc > 1 && std::strcmp(argv[1], "/check") == 0;
    if (FAILED(OleInitialize(nullptr))) return 1;  // the control is apartment-threaded
    int result = 1;
    {
        MainWindow window;
        if (window.Create()) {
            if (check) {
                result = RunChecks(window);
            } else {
                // Start here: fill the tree, then let the user work with it until the window closes.
                if (FAILED(AddSampleNodes(window.Tree()))) std::printf("FAILED: AddNodes\n");
                std::printf("close the window to end\n");
                result = MessageLoop();
            }
        }
    }
    OleUninitialize();
    if (check && result == 0) std::printf("done\n");
    return result;
}
