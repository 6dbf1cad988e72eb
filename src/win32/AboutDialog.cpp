// The about dialog's window, its components and its modal display.
#include "win32/AboutDialog.h"

#include <commctrl.h>

#include <string>

#include "control/RamvelError.h"
#include "win32/FormFonts.h"
#include "win32/ThreadWindowsDisabled.h"

namespace ramvel::win32 {
namespace {

constexpr wchar_t kLogoResource[] = L"KELTO_LOGO";
// A dialog frame that cannot be resized, with the close box only.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;

[[noreturn]] void ThrowLastError(const char16_t* what) {
    const DWORD error = GetLastError();
    throw RamvelError(what, error ? static_cast<std::int32_t>(HRESULT_FROM_WIN32(error)) : kEUnexpected);
}

std::int32_t ScreenPixelsPerInch() {
    const HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return pixelsPerInch > 0 ? pixelsPerInch : 96;
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

POINT At(const AboutComponent& component) { return {component.left, component.top}; }

// Components created later lie above those created before them.
void Raise(HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The dialog's window classes, registered for one showing and removed afterwards so the module
// leaves none behind when it is unloaded. A class still in use (a dialog opened from inside
// another) stays. A class that cannot be registered shows as a window that cannot be made.
class AboutWindowClasses {
public:
    explicit AboutWindowClasses(HINSTANCE module) : module_(module) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};  // tooltips
        InitCommonControlsEx(&controls);
        for (WNDCLASSEXW windowClass :
             {TRamvelAbout::WindowClass(module), LabelWindow::WindowClass(module, kLabelClass),
              LabelWindow::WindowClass(module, kUrlLabelClass), PictureWindow::WindowClass(module)})
            RegisterClassExW(&windowClass);
    }
    ~AboutWindowClasses() {
        for (const wchar_t* name : {kAboutClass, kLabelClass, kUrlLabelClass, kPictureClass})
            UnregisterClassW(name, module_);
    }
    AboutWindowClasses(const AboutWindowClasses&) = delete;
    AboutWindowClasses& operator=(const AboutWindowClasses&) = delete;

private:
    HINSTANCE module_;
};

}  // namespace

void ShowAboutDialog(HINSTANCE module) {
    AboutWindowClasses classes(module);
    TRamvelAbout dialog(module);
    dialog.ShowModal();  // the closing result is not examined
}

WNDCLASSEXW TRamvelAbout::WindowClass(HINSTANCE module) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kAboutClass;
    return windowClass;
}

TRamvelAbout::TRamvelAbout(HINSTANCE module)
    : layout_(ScaledAboutLayout(ScreenPixelsPerInch())), colour_(CreateSolidBrush(layout_.colour)) {
    RECT frame{0, 0, layout_.clientWidth, layout_.clientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    window_ = CreateWindowExW(kExStyle, kAboutClass, Wide(layout_.caption).c_str(), kStyle,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                              width, height, nullptr, nullptr, module, this);
    if (!window_) ThrowLastError(u"Cannot create the about dialog");
    try {
        const COLORREF colour = layout_.colour;
        const auto label = [&](const AboutComponent& c) {
            auto made = std::make_unique<LabelWindow>(window_, At(c), c.caption, c.font, colour);
            made->Show(c.visible);
            Raise(made->Window());
            return made;
        };
        const auto link = [&](const AboutComponent& c) {
            auto made = std::make_unique<UrlLabelWindow>(window_, At(c), c.caption, c.url, c.font, colour, shell_);
            made->Show(c.visible);
            Raise(made->Window());
            return made;
        };
        CopyrightLbl = label(layout_.Find(u"CopyrightLbl"));
        ProUrlLabel1 = link(layout_.Find(u"ProUrlLabel1"));
        ProUrlLabel2 = link(layout_.Find(u"ProUrlLabel2"));
        const AboutComponent& picture = layout_.Find(u"Image_Kelto");
        Image_Kelto = std::make_unique<PictureWindow>(window_, module, kLogoResource, At(picture), colour, picture.hint);
        Raise(Image_Kelto->Window());
        Label1 = label(layout_.Find(u"Label1"));
        d64 = label(layout_.Find(u"d64"));
        CreateOkButton(layout_.Find(u"OkBtn"));
    } catch (...) {
        Destroy();
        throw;
    }
    FormCreate();
}

TRamvelAbout::~TRamvelAbout() { Destroy(); }

void TRamvelAbout::Destroy() {
    // The components first, the tooltip with the picture; the button goes with the dialog.
    d64.reset();
    Label1.reset();
    Image_Kelto.reset();
    ProUrlLabel2.reset();
    ProUrlLabel1.reset();
    CopyrightLbl.reset();
    if (window_) DestroyWindow(window_);
    OkBtn = nullptr;
}

void TRamvelAbout::CreateOkButton(const AboutComponent& c) {
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    OkBtn = CreateWindowExW(0, L"BUTTON", Wide(c.caption).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_DEFPUSHBUTTON, c.left, c.top,
                            c.width, c.height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), module,
                            nullptr);
    if (!OkBtn) ThrowLastError(u"Cannot create the about dialog's button");
    dialogFont_ = CreateFormFont(c.font);
    SendMessageW(OkBtn, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_.get()), FALSE);
    Raise(OkBtn);
}

void TRamvelAbout::FormCreate() { d64->Show(true); }

int TRamvelAbout::ShowModal() {
    const HWND active = GetActiveWindow();
    const HWND focus = GetFocus();
    modalResult_ = 0;
    ThreadWindowsDisabled others(window_);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    bool quit = false;
    WPARAM quitCode = 0;
    while (modalResult_ == 0 && window_) {
        MSG message;
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT ends the dialog and goes on to the loop that waits for it.
            quit = got == 0;
            quitCode = message.wParam;
            modalResult_ = IDCANCEL;
            break;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // Input goes back to the thread's windows before the dialog hides, so that the activation
    // and the focus return to where they were.
    others.Restore();
    if (window_) ShowWindow(window_, SW_HIDE);
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (focus && IsWindow(focus)) SetFocus(focus);
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return modalResult_;
}

LRESULT TRamvelAbout::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window_) window_ = window;  // messages of CreateWindowExW itself
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) break;
        FocusModuleForm(*this);
        if (OkBtn) SetFocus(OkBtn);  // the first and only stop in the tab order
        return 0;
    case WM_COMMAND:
        // OK and Enter give IDOK, Esc gives IDCANCEL.
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) break;
        modalResult_ = LOWORD(wParam);
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        modalResult_ = IDCANCEL;
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, colour_.get());
        return 1;
    }
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(colour_.get());  // the dialog colour around the button
    case WM_NCDESTROY:
        ForgetModuleForm(*this);
        window_ = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ramvel::win32
