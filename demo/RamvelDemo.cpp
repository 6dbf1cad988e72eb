// RamvelDemo: a small Win32 host that places the Ramvel control on its window through the
// system's ActiveX host window (ATL), fills it from a node-lines file and shows the events
// and the selected node's info text beside it, with switches for the control's properties.
//
//   RamvelDemo.exe [node-lines file] [--exit-after <milliseconds>] [--switch-demo] [--about]
//
// --switch-demo works the switches once at the start: lines off, Tahoma 10 on light yellow.
// --about opens the control's about box once the window is up.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "DemoSwitches.h"
#include "Ramvel_h.h"
#include "server/ComPtr.h"

using ramvel::server::Bstr;
using ramvel::server::ComPtr;

namespace {

constexpr int kPanelWidth = 380;
constexpr int kMargin = 8;
constexpr UINT_PTR kExitTimer = 1;

HWND mainWindow, hostWindow, infoLabel, infoBox, switchesLabel, eventsLabel, eventList;
ComPtr<IRamvel> ramvelControl;
std::unique_ptr<SwitchPanel> switches;

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

// Node lines from a UTF-8 file: CR LF becomes LF and the last line's LF goes.
std::wstring ReadNodeLines(const std::wstring& path) {
    std::string bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
        fclose(file);
    }
    std::wstring lines;
    for (wchar_t c : Widen(bytes))
        if (c != L'\r') lines += c;
    while (!lines.empty() && lines.back() == L'\n') lines.pop_back();
    return lines;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == separator) parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

// Node info text as labelled lines: index, handle, then the six detail fields.
std::wstring DescribeNodeInfo(const std::wstring& info) {
    if (info.empty()) return L"(no node selected)";
    const std::vector<std::wstring> parts = Split(info, L'\x01');
    std::vector<std::wstring> details = parts.size() > 2 ? Split(parts[2], L'\t') : std::vector<std::wstring>{};
    details.resize(6);
    const wchar_t* labels[] = {L"Level", L"Text", L"Images field", L"Selected image", L"State image", L"Host data"};
    std::wstring out = L"Index:\t\t" + parts[0] + L"\r\nHandle:\t\t" + (parts.size() > 1 ? parts[1] : L"");
    for (int i = 0; i < 6; ++i) out += std::wstring(L"\r\n") + labels[i] + L":\t" + (i < 2 ? L"\t" : L"") + details[static_cast<std::size_t>(i)];
    return out;
}

// Separators made visible for the event log.
std::wstring Printable(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\x01') out += L" | ";
        else if (c == L'\t') out += L" \u00bb ";
        else out += c;
    }
    return out;
}

void ShowSelection() {
    Bstr info;
    if (ramvelControl && SUCCEEDED(ramvelControl->GetSelectedNode(info.Put())))
        SetWindowTextW(infoBox, DescribeNodeInfo(info.Get() ? info.Get() : L"").c_str());
}

void LogEvent(const std::wstring& line) {
    const LRESULT at = SendMessageW(eventList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(eventList, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
}

// The host's implementation of IRamvelEvents: logs every event.
class EventSink final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_IRamvelEvents) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        std::wstring line = EventName(id);
        if (params && params->cArgs == 1) {
            const VARIANT& arg = params->rgvarg[0];
            if (arg.vt == VT_BSTR) line += L"  " + Printable(arg.bstrVal ? arg.bstrVal : L"");
            else if (arg.vt == (VT_I2 | VT_BYREF)) line += L"  key " + std::to_wstring(*arg.piVal);
        }
        LogEvent(line);
        if (id == 7) ShowSelection();  // OnChange
        return S_OK;
    }

private:
    static std::wstring EventName(DISPID id) {
        switch (id) {
            case 1: return L"OnActivate";
            case 3: return L"OnCreate";
            case 4: return L"OnDblClick";
            case 5: return L"OnDestroy";
            case 6: return L"OnDeactivate";
            case 7: return L"OnChange";
            case 8: return L"OnCollapsed";
            case 9: return L"OnRightClick";
            case 10: return L"OnKeyPress";
            case 11: return L"OnClick";
            case 15: return L"OnPaint";
            case 16: return L"OnExpanded";
            default: return L"Event " + std::to_wstring(id);
        }
    }
    LONG references_ = 1;
};

DWORD ConnectEvents(IUnknown* control, IDispatch* sink) {
    ComPtr<IConnectionPointContainer> container = ramvel::server::QueryAs<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    if (container && SUCCEEDED(container->FindConnectionPoint(DIID_IRamvelEvents, point.Put())))
        point->Advise(sink, &cookie);
    return cookie;
}

// Opens the first few branches down to a customer and selects it, so the tree shows life.
void OpenSampleBranches() {
    Bstr root;
    if (FAILED(ramvelControl->GetNode(0, root.Put())) || !root.Get()) return;
    LONG node = _wtol(Split(root.Get(), L'\x01').at(1).c_str());
    for (int depth = 0; depth < 3 && node != 0; ++depth) {
        ramvelControl->put_Expanded(node, VARIANT_TRUE);
        LONG child = 0;
        ramvelControl->FirstChild(node, &child);
        node = child;
    }
    if (node == 0) return;
    LONG next = 0;
    ramvelControl->NextSibling(node, &next);  // the second customer
    Bstr info;
    ramvelControl->GotohNode(next ? next : node, info.Put());
}

void Layout(int width, int height) {
    const int treeWidth = width - kPanelWidth - 3 * kMargin;
    const int panelLeft = treeWidth + 2 * kMargin;
    MoveWindow(hostWindow, kMargin, kMargin, treeWidth, height - 2 * kMargin, TRUE);
    MoveWindow(infoLabel, panelLeft, kMargin, kPanelWidth, 18, TRUE);
    MoveWindow(infoBox, panelLeft, kMargin + 20, kPanelWidth, 150, TRUE);
    MoveWindow(switchesLabel, panelLeft, kMargin + 180, kPanelWidth, 18, TRUE);
    if (switches) switches->Layout(panelLeft, kMargin + 200);
    const int eventsTop = kMargin + 210 + SwitchPanel::kHeight;
    MoveWindow(eventsLabel, panelLeft, eventsTop, kPanelWidth, 18, TRUE);
    MoveWindow(eventList, panelLeft, eventsTop + 20, kPanelWidth, height - kMargin - eventsTop - 20, TRUE);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            Layout(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_COMMAND:
            if (switches && switches->Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
            break;
        case WM_TIMER:
            if (wParam == kExitTimer) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Child(const wchar_t* windowClass, const wchar_t* text, DWORD style, DWORD exStyle = 0) {
    HWND child = CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, mainWindow,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return child;
}

// A function exported by a loaded module, or null.
template <typename Function>
Function Export(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring sample = L"sample-tree.txt";
    UINT exitAfter = 0;
    bool switchDemo = false, about = false;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--exit-after" && i + 1 < argc) exitAfter = static_cast<UINT>(_wtoi(argv[++i]));
        else if (std::wstring(argv[i]) == L"--switch-demo") switchDemo = true;
        else if (std::wstring(argv[i]) == L"--about") about = true;
        else sample = argv[i];
    }

    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The system's ActiveX host window.
    HMODULE atl = LoadLibraryW(L"atl.dll");
    auto atlAxWinInit = Export<BOOL(WINAPI*)()>(atl, "AtlAxWinInit");
    auto atlAxGetControl = Export<HRESULT(WINAPI*)(HWND, IUnknown**)>(atl, "AtlAxGetControl");
    if (!atlAxWinInit || !atlAxGetControl || !atlAxWinInit()) {
        MessageBoxW(nullptr, L"The ActiveX host window (atl.dll) is not available.", L"Ramvel demo", MB_ICONERROR);
        return 1;
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"RamvelDemoWindow";
    RegisterClassW(&windowClass);
    mainWindow = CreateWindowExW(0, L"RamvelDemoWindow", L"Ramvel demo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 20, 20, 980, 720, nullptr, nullptr, instance, nullptr);

    hostWindow = Child(L"AtlAxWin", L"RamvelProj1.Ramvel", WS_BORDER);
    infoLabel = Child(L"STATIC", L"Selected node", 0);
    infoBox = Child(L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_BORDER);
    switchesLabel = Child(L"STATIC", L"Control properties", 0);
    eventsLabel = Child(L"STATIC", L"Events", 0);
    eventList = Child(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL);

    ComPtr<IUnknown> control;
    if (FAILED(atlAxGetControl(hostWindow, control.Put())) || !control) {
        MessageBoxW(mainWindow, L"Ramvel.ocx is not registered: run regsvr32 Ramvel.ocx first.", L"Ramvel demo", MB_ICONERROR);
        return 1;
    }
    ramvelControl = ramvel::server::QueryAs<IRamvel>(control.Get(), IID_IRamvel);
    ComPtr<IDispatch> sink(new EventSink);
    const DWORD cookie = ConnectEvents(control.Get(), sink.Get());
    if (!ramvelControl || cookie == 0) LogEvent(L"(events are not connected)");

    const std::wstring lines = ReadNodeLines(sample);
    Bstr nodeParm(SysAllocStringLen(lines.data(), static_cast<UINT>(lines.size())));
    if (lines.empty() || FAILED(ramvelControl->AddNodes(nodeParm.Get()))) LogEvent(L"(could not read " + sample + L")");
    OpenSampleBranches();
    ShowSelection();
    switches = std::make_unique<SwitchPanel>(mainWindow, ramvelControl.Get(), LogEvent);
    if (switchDemo) switches->Tour();

    ShowWindow(mainWindow, show);
    UpdateWindow(mainWindow);
    if (exitAfter) SetTimer(mainWindow, kExitTimer, exitAfter, nullptr);
    if (about) ramvelControl->AboutBox();  // modal: returns once the box is closed

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    switches.reset();
    ramvelControl.Reset();
    OleUninitialize();
    return 0;
}
