// The about dialog of the real module, for a control hosted in Wine's ATL container: while the
// host's AboutBox call waits, a watcher thread finds the dialog, reads its windows (layout,
// texts, fonts, drawn colours, tooltip), clicks its links and closes it. The links reach the
// shell through AboutLinkRecorder.exe, registered as the http and mailto handler meanwhile.
//   AboutBoxTest.exe RECORDER
#include "AboutDialogReader.h"
#include "AboutLinkHandlers.h"
#include "HostedControl.h"

#include <olectl.h>

#include <cstring>
#include <functional>
#include <thread>

using namespace comtest;
using namespace abouttest;

namespace {

const std::wstring kWebAddress = L"www.example.com";
const std::wstring kEmailAddress = L"info@example.com";
const std::wstring kCopyright = L"Copyright \u00A9 2024-2025 Kelto & the Ramvel team";
// A host loads only a module of its own bitness, and the module names its bitness.
const std::wstring kBitsLine = sizeof(void*) == 4 ? L"32bit version" : L"64bit version";
constexpr DWORD kDialogWait = 10000, kLinkWait = 15000;

enum class Way { OkButton, Enter, Escape, CloseBox };

const char* Describe(Way way) {
    switch (way) {
    case Way::OkButton: return "the OK button";
    case Way::Enter: return "Enter";
    case Way::Escape: return "Esc";
    case Way::CloseBox: return "the close box";
    }
    return "?";
}

// What the watcher saw of one dialog while it was up.
struct Seen {
    HWND dialog = nullptr;
    bool closed = false;  // it went away after the closing input
    std::wstring className;
    RECT bounds{};  // on the screen
    SIZE client{};
    LONG_PTR style = 0, exStyle = 0;
    HWND owner = nullptr;
    std::vector<Child> children;  // topmost first
    bool hostEnabled = true;
    HWND active = nullptr, focus = nullptr;
    COLORREF background = 0;
    std::vector<std::wstring> boxes;  // dialog boxes shown beside it
    LinkColours web, mail;            // before anything was clicked
};

// Everything the watcher does with one dialog: read it, act on it, close it.
struct Watch {
    Way way = Way::OkButton;
    std::function<void(const Seen&)> act;  // runs on the watcher's thread, after the reading
};

Seen WatchDialog(DWORD hostThread, HWND host, const Watch& watch) {
    Seen seen;
    seen.dialog = FindAboutDialog(kDialogWait);
    if (!seen.dialog) return seen;
    const HWND dialog = seen.dialog;
    seen.className = ClassOf(dialog);
    GetWindowRect(dialog, &seen.bounds);
    RECT client{};
    GetClientRect(dialog, &client);
    seen.client = {client.right, client.bottom};
    seen.style = GetWindowLongPtrW(dialog, GWL_STYLE);
    seen.exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.children = ChildrenOf(dialog);
    seen.hostEnabled = IsWindowEnabled(host) != FALSE;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(hostThread, &gui);
    seen.active = gui.hwndActive;
    seen.focus = gui.hwndFocus;
    seen.background = Render(dialog).At(5, client.bottom - 5);
    if (const Child* web = FindChild(seen.children, kWebAddress)) seen.web = LinkColoursOf(web->window);
    if (const Child* mail = FindChild(seen.children, kEmailAddress)) seen.mail = LinkColoursOf(mail->window);
    if (watch.act) watch.act(seen);
    seen.boxes = DialogBoxesShown();

    switch (watch.way) {
    case Way::OkButton:
        if (const Child* ok = FindChild(seen.children, L"OK")) PostMessageW(ok->window, BM_CLICK, 0, 0);
        break;
    case Way::Enter: PostKey(hostThread, VK_RETURN); break;
    case Way::Escape: PostKey(hostThread, VK_ESCAPE); break;
    case Way::CloseBox: PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    seen.closed = WaitFor([&] { return !IsWindow(dialog); }, kDialogWait);
    if (!seen.closed) {
        // The host's call would wait for ever: end the test instead.
        std::printf("FAIL: the about dialog did not close on %s\n", Describe(watch.way));
        ExitProcess(4);
    }
    return seen;
}

// Makes `call` (an AboutBox) while a watcher thread looks after the dialog; returns its result.
HRESULT Watched(const std::function<HRESULT()>& call, HWND host, const Watch& watch, Seen& seen) {
    const DWORD hostThread = GetCurrentThreadId();
    std::thread watcher([&] { seen = WatchDialog(hostThread, host, watch); });
    const HRESULT hr = call();
    watcher.join();
    return hr;
}

// The control's activation events, recorded by its host.
class ActivationSink final : public comtest::EventSinkBase {
public:
    std::vector<std::string> events;

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id == 1) events.push_back("OnActivate");
        if (id == 6) events.push_back("OnDeactivate");
        return S_OK;
    }
};

int Scaled(int value) {
    const HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(value, pixelsPerInch, 96);
}

// `face` when it is installed, else an installed face of its kind, else none with the
// sans-serif family (the system's own face).
void ExpectFont(const LOGFONTW& font, const wchar_t* face, LONG characterHeight, bool underline, BYTE charset) {
    SCOPED_TRACE(L"font face \"" + std::wstring(font.lfFaceName) + L"\" for " + face);
    EXPECT_EQ(font.lfHeight, -Scaled(characterHeight));
    EXPECT_EQ(font.lfUnderline != 0, underline);
    EXPECT_EQ(font.lfCharSet, charset);
    if (FaceInstalled(face)) {
        EXPECT_EQ(std::wstring(font.lfFaceName), face);
    } else if (font.lfFaceName[0]) {
        EXPECT_TRUE(FaceInstalled(font.lfFaceName));
    } else {
        EXPECT_EQ(font.lfPitchAndFamily & 0xF0, FF_SWISS);
    }
}

// The copyright line as the label draws it, and as the same text drawn by hand with the
// ampersand as itself and as a shortcut marker.
struct CopyrightDrawing {
    Pixels drawn, plain, marked;
};
CopyrightDrawing DrawCopyright(HWND label) {
    const auto byHand = [&](UINT format) {
        return Capture(label, [&](HDC dc) {
            RECT client;
            GetClientRect(label, &client);
            const HBRUSH brush = CreateSolidBrush(kDialogColour);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            DrawTextW(dc, kCopyright.c_str(), -1, &client, DT_LEFT | DT_TOP | DT_EXPANDTABS | format);
        });
    };
    return {Render(label), byHand(DT_NOPREFIX), byHand(0)};
}

// The picture drawn: the logo's white ground lets the dialog's colour through.
struct PictureDrawing {
    COLORREF bottomLeft = 0;
    int white = 0, logo = 0;
};
PictureDrawing DrawPicture(HWND picture) {
    const Pixels pixels = Render(picture);
    return {pixels.At(0, pixels.height - 1), pixels.Count(RGB(255, 255, 255)),
            pixels.width * pixels.height - pixels.Count(kDialogColour)};
}

void TheDialog(IRamvel* control, HWND host) {
    CopyrightDrawing copyright;
    PictureDrawing picture;
    int maroon = 0, windowText = 0;  // pixels of the bitness line and "Ramvel 5.1" in their colours
    std::wstring tooltip;
    Watch watch{Way::OkButton, [&](const Seen& seen) {
                    if (const Child* label = FindChild(seen.children, kCopyright)) copyright = DrawCopyright(label->window);
                    if (const Child* label = FindChild(seen.children, kBitsLine))
                        maroon = Render(label->window).Count(RGB(128, 0, 0));
                    if (const Child* label = FindChild(seen.children, L"Ramvel 5.1"))
                        windowText = Render(label->window).Count(GetSysColor(COLOR_WINDOWTEXT));
                    for (const auto& child : seen.children)
                        if (child.className == L"TImage") picture = DrawPicture(child.window);
                    tooltip = TooltipOf(seen.dialog);
                }};
    Seen seen;
    EXPECT_HR(Watched([&] { return control->AboutBox(); }, host, watch, seen), S_OK);
    ASSERT_TRUE(seen.dialog != nullptr);

    RAMVEL_CASE("the dialog: caption, class, frame, size, colour, place") {
        EXPECT_EQ(seen.className, L"TRamvelAbout");
        EXPECT_EQ(seen.client.cx, Scaled(454));
        EXPECT_EQ(seen.client.cy, Scaled(248));
        EXPECT_EQ(seen.background, kDialogColour);
        EXPECT_EQ(seen.style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);  // title bar, close box
        EXPECT_EQ(seen.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
        EXPECT_TRUE(seen.exStyle & WS_EX_DLGMODALFRAME);
        EXPECT_TRUE(seen.owner == nullptr);
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
        EXPECT_TRUE(std::abs(seen.bounds.left + seen.bounds.right - screenWidth) <= 1);
        EXPECT_TRUE(std::abs(seen.bounds.top + seen.bounds.bottom - screenHeight) <= 1);
    }

    RAMVEL_CASE("modal: the host takes no input, OK has the focus") {
        EXPECT_FALSE(seen.hostEnabled);
        EXPECT_TRUE(seen.active == seen.dialog);
        const Child* ok = FindChild(seen.children, L"OK");
        ASSERT_TRUE(ok != nullptr);
        EXPECT_TRUE(seen.focus == ok->window);
        EXPECT_TRUE(IsWindowEnabled(host));  // input is back once the call returned
        EXPECT_FALSE(IsWindow(seen.dialog));
    }

    RAMVEL_CASE("components in creation order (later ones above), texts, places, visibility") {
        struct {
            const wchar_t* className;
            std::wstring text;
            int left, top;
            int width, height;  // 0: sized to its text
        } expected[] = {
            {L"Button", L"OK", 378, 211, 64, 26},
            {L"TLabel", kBitsLine, 272, 92, 0, 0},  // stored hidden, shown by the dialog's creation
            {L"TLabel", L"Ramvel 5.1", 235, 48, 0, 0},
            {L"TImage", L"", 1, 8, 265, 146},
            {L"TProUrlLabel", kEmailAddress, 335, 189, 0, 0},
            {L"TProUrlLabel", kWebAddress, 223, 189, 0, 0},
            {L"TLabel", kCopyright, 144, 165, 0, 0},
        };
        ASSERT_EQ(seen.children.size(), std::size(expected));
        for (size_t i = 0; i < seen.children.size(); ++i) {
            const Child& child = seen.children[i];
            const auto& e = expected[i];
            SCOPED_TRACE(e.className + (L" " + e.text));
            EXPECT_EQ(child.className, e.className);
            EXPECT_EQ(child.text, e.text);
            EXPECT_TRUE(child.visible);
            EXPECT_EQ(child.bounds.left, Scaled(e.left));
            EXPECT_EQ(child.bounds.top, Scaled(e.top));
            if (e.width) {
                EXPECT_EQ(child.bounds.right - child.bounds.left, Scaled(e.width));
                EXPECT_EQ(child.bounds.bottom - child.bounds.top, Scaled(e.height));
            }
            EXPECT_TRUE(child.bounds.right > child.bounds.left && child.bounds.bottom > child.bounds.top);
            EXPECT_TRUE(child.bounds.right <= seen.client.cx);  // within the dialog
        }
        // The two links side by side.
        EXPECT_TRUE(seen.children[5].bounds.right < seen.children[4].bounds.left);
        EXPECT_EQ(seen.children[0].id, IDOK);
    }

    RAMVEL_CASE("fonts: Comic Sans MS and MS Sans Serif, or an installed face of their kind") {
        const auto& c = seen.children;
        ASSERT_EQ(c.size(), 7u);
        ExpectFont(c[6].font, L"Comic Sans MS", 13, false, ANSI_CHARSET);  // the copyright line
        ExpectFont(c[5].font, L"MS Sans Serif", 13, true, DEFAULT_CHARSET);
        ExpectFont(c[4].font, L"MS Sans Serif", 13, true, DEFAULT_CHARSET);
        ExpectFont(c[2].font, L"Comic Sans MS", 27, false, DEFAULT_CHARSET);
        ExpectFont(c[1].font, L"Comic Sans MS", 27, false, DEFAULT_CHARSET);
        ExpectFont(c[0].font, L"MS Sans Serif", 11, false, DEFAULT_CHARSET);  // the dialog's own font, on OK
    }

    RAMVEL_CASE("drawing: link colours, the ampersand as itself, the logo on the dialog's colour") {
        EXPECT_EQ(seen.web, (LinkColours{true, false, false}));
        EXPECT_EQ(seen.mail, (LinkColours{true, false, false}));
        EXPECT_TRUE(copyright.drawn == copyright.plain);
        EXPECT_FALSE(copyright.drawn == copyright.marked);  // the comparison can tell them apart
        EXPECT_EQ(picture.bottomLeft, kDialogColour);
        EXPECT_EQ(picture.white, 0);
        EXPECT_TRUE(picture.logo > 2000);
        EXPECT_TRUE(maroon > 50);
        EXPECT_TRUE(windowText > 50);
    }

    RAMVEL_CASE("the picture's tooltip shows the web address") { EXPECT_EQ(tooltip, kWebAddress); }
}

void ClosingEachWay(IRamvel* control, HWND host) {
    ComPtr<IDispatch> dispatch = ramvel::server::QueryAs<IDispatch>(control);
    const auto early = [&] { return control->AboutBox(); };
    const auto late = [&] {
        DISPPARAMS none{};
        return dispatch->Invoke(DISPID_ABOUTBOX, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                                nullptr, nullptr);
    };
    struct {
        const char* name;
        std::function<HRESULT()> call;
        Way way;
    } cases[] = {
        {"early bound, the OK button", early, Way::OkButton},
        {"early bound, Enter", early, Way::Enter},
        {"early bound, Esc", early, Way::Escape},
        {"early bound, the close box", early, Way::CloseBox},
        {"by DISPID, Enter", late, Way::Enter},
        {"by DISPID, the close box", late, Way::CloseBox},
    };
    HWND previous = nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Seen seen;
        EXPECT_HR(Watched(c.call, host, Watch{c.way, {}}, seen), S_OK);
        EXPECT_TRUE(seen.dialog != nullptr);
        EXPECT_TRUE(seen.closed);
        EXPECT_TRUE(seen.dialog != previous);  // a fresh dialog for every call
        EXPECT_TRUE(IsWindowEnabled(host));
        previous = seen.dialog;
    }
}

void Links(IRamvel* control, HWND host, LinkHandlers& handlers) {
    std::vector<std::string> openedAfterWeb, openedAfterMail;
    LinkColours web, mail;
    bool stillOpen = false;
    Watch watch{Way::Escape, [&](const Seen& seen) {
                    const Child* webLabel = FindChild(seen.children, kWebAddress);
                    const Child* mailLabel = FindChild(seen.children, kEmailAddress);
                    if (!webLabel || !mailLabel) return;
                    PostClick(webLabel->window);
                    WaitFor([&] { return handlers.Opened().size() >= 1; }, kLinkWait);
                    openedAfterWeb = handlers.Opened();
                    PostClick(mailLabel->window);
                    WaitFor([&] { return handlers.Opened().size() >= 2; }, kLinkWait);
                    openedAfterMail = handlers.Opened();
                    // The colour follows the click at once; the shell runs the handler meanwhile.
                    WaitFor([&] { return LinkColoursOf(mailLabel->window).navy; }, kDialogWait);
                    web = LinkColoursOf(webLabel->window);
                    mail = LinkColoursOf(mailLabel->window);
                    stillOpen = IsWindowVisible(seen.dialog) != FALSE;
                }};
    Seen seen;
    EXPECT_HR(Watched([&] { return control->AboutBox(); }, host, watch, seen), S_OK);
    RAMVEL_CASE("a click on the web-site label opens its caption") {
        // The shell hands the browser the www. address as an http link.
        EXPECT_SEQ_EQ(openedAfterWeb, std::vector<std::string>{"http://www.example.com"});
    }
    RAMVEL_CASE("a click on the e-mail label opens its mailto: link") {
        EXPECT_SEQ_EQ(openedAfterMail,
                      (std::vector<std::string>{"http://www.example.com", "mailto:info@example.com"}));
    }
    RAMVEL_CASE("followed links turn navy while the dialog stays open") {
        EXPECT_EQ(web, (LinkColours{false, true, false}));
        EXPECT_EQ(mail, (LinkColours{false, true, false}));
        EXPECT_TRUE(stillOpen);
        EXPECT_SEQ_EQ(seen.boxes, std::vector<std::wstring>{});
    }
    RAMVEL_CASE("the next dialog shows both links unvisited") {
        Seen next;
        EXPECT_HR(Watched([&] { return control->AboutBox(); }, host, Watch{Way::OkButton, {}}, next), S_OK);
        EXPECT_EQ(next.web, (LinkColours{true, false, false}));
        EXPECT_EQ(next.mail, (LinkColours{true, false, false}));
    }
}

void LinkThatCannotOpen(IRamvel* control, HWND host, LinkHandlers& handlers) {
    LinkHandlers::Open(L"mailto", L"\"Z:\\no\\such\\mailer.exe\" \"%1\"");
    const size_t before = handlers.Opened().size();
    LinkColours mail;
    std::vector<std::wstring> boxes;
    Watch watch{Way::OkButton, [&](const Seen& seen) {
                    const Child* mailLabel = FindChild(seen.children, kEmailAddress);
                    if (!mailLabel) return;
                    PostClick(mailLabel->window);
                    WaitFor([&] { return LinkColoursOf(mailLabel->window).navy; }, kDialogWait);
                    Sleep(1000);  // time for a box to show, if one were shown
                    mail = LinkColoursOf(mailLabel->window);
                    boxes = DialogBoxesShown();
                }};
    Seen seen;
    EXPECT_HR(Watched([&] { return control->AboutBox(); }, host, watch, seen), S_OK);
    EXPECT_EQ(mail, (LinkColours{false, true, false}));
    EXPECT_SEQ_EQ(boxes, std::vector<std::wstring>{});
    EXPECT_EQ(handlers.Opened().size(), before);
    LinkHandlers::Open(L"mailto", handlers.Recorder());
}

void Activation(IRamvel* control, HostedControl& hosted, HWND host) {
    ActivationSink sink;
    auto container = ramvel::server::QueryAs<IConnectionPointContainer>(control);
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    ASSERT_HR(container->FindConnectionPoint(DIID_IRamvelEvents, point.Put()), S_OK);
    ASSERT_HR(point->Advise(&sink, &cookie), S_OK);
    SetForegroundWindow(host);
    SetFocus(hosted.tree);
    Pump();
    sink.events.clear();  // the control's first activation
    Seen seen;
    EXPECT_HR(Watched([&] { return control->AboutBox(); }, host, Watch{Way::Escape, {}}, seen), S_OK);
    Pump();
    EXPECT_SEQ_EQ(sink.events, (std::vector<std::string>{"OnDeactivate", "OnActivate"}));
    EXPECT_TRUE(GetFocus() == hosted.tree);  // the focus is back where it was
    point->Unadvise(cookie);
}

}  // namespace

int main(int argc, char** argv) {
    Apartment apartment;
    if (argc != 2) winecheck::Abort("usage: AboutBoxTest.exe RECORDER");
    wchar_t recorder[MAX_PATH], log[MAX_PATH];
    GetFullPathNameW(std::wstring(argv[1], argv[1] + std::strlen(argv[1])).c_str(), MAX_PATH, recorder, nullptr);
    GetFullPathNameW(L"about-links.log", MAX_PATH, log, nullptr);
    LinkHandlers handlers(recorder, log);

    Container container;
    HostedControl hosted(container);
    IRamvel* control = hosted.control.Get();
    TheDialog(control, container.frame);
    RAMVEL_CASE("AboutBox returns S_OK after the dialog closed, whichever way") { ClosingEachWay(control, container.frame); }
    Links(control, container.frame, handlers);
    RAMVEL_CASE("a link the shell cannot open turns navy all the same, and nothing is shown") {
        LinkThatCannotOpen(control, container.frame, handlers);
    }
    RAMVEL_CASE("activation moves from the control to the dialog and back") {
        Activation(control, hosted, container.frame);
    }
    return winecheck::Report();
}
