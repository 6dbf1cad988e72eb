// The control's form and its tree view.
#include "win32/ControlForm.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "control/RamvelError.h"
#include "win32/ModuleWindows.h"
#include "win32/StoredImagesWin32.h"
#include "win32/TreeViewWin32.h"

namespace ramvel::win32 {

namespace {

constexpr int kTreeId = 1;
constexpr int kIndent = 19;

[[noreturn]] void ThrowLastError() {
    const DWORD error = GetLastError();
    throw RamvelError(u"Cannot create the control's window",
                      error ? static_cast<std::int32_t>(HRESULT_FROM_WIN32(error)) : kEUnexpected);
}

}  // namespace

std::u16string ModuleFileName(HINSTANCE module) {
    wchar_t path[MAX_PATH * 2];
    const DWORD size = GetModuleFileNameW(module, path, MAX_PATH * 2);
    std::u16string name(reinterpret_cast<const char16_t*>(path), size);
    const auto slash = name.find_last_of(u"\\/");
    return slash == std::u16string::npos ? name : name.substr(slash + 1);
}

ControlForm::ControlForm(TMyRamvel& control, Win32MessageBox& messageBox, HINSTANCE module, HWND parent)
    : control_(control), messageBox_(messageBox), module_(module) {
    const StoredImageLists& stored = StoredImages(module);  // before any window: it may throw
    const HWND holder = AcquireModuleWindows(module, Proc);
    holdsModule_ = true;
    form_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, L"MyRamvel", WS_CHILD | WS_CLIPCHILDREN, 0, 0, kWidth,
                            kHeight, parent ? parent : holder, nullptr, module, this);
    if (!form_) {
        Destroy();
        ThrowLastError();
    }
    // From here on the form exists: whatever fails takes it down again, with the module's count.
    try {
        Build(stored);
    } catch (...) {
        Destroy();
        throw;
    }
}

void ControlForm::Build(const StoredImageLists& stored) {
    RECT client;
    GetClientRect(form_, &client);
    const HWND tree = CreateWindowExW(
        0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 0,
        0, client.right, client.bottom, form_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeId)), module_, nullptr);
    if (!tree) ThrowLastError();
    SendMessageW(tree, TVM_SETINDENT, kIndent, 0);
    tree_ = std::make_unique<Win32TreeView>(tree, control_.Tree(), control_);
    messageBox_.SetOwnerWindow(form_);
    control_.AttachFormWindow(*this);  // the settings' font, colours, caption and border

    control_.ImageList1 = stored.standard;
    control_.AlternateImageList = stored.alternate;
    control_.AttachWidget(*tree_);
    control_.AttachFileReader(files_);
    control_.FormCreate();
}

ControlForm::~ControlForm() { Destroy(); }

HWND ControlForm::TreeWindow() const { return tree_ ? tree_->Window() : nullptr; }

void ControlForm::SetParentWindow(HWND parent) {
    if (!form_) return;
    if (parent) {
        SetParent(form_, parent);
    } else {
        ShowWindow(form_, SW_HIDE);
        SetParent(form_, AcquireModuleWindows(module_, Proc));
        ReleaseModuleWindows(module_);  // only wanted the window: the form holds its own count
    }
}

void ControlForm::SetBounds(const RECT& bounds) {
    if (form_)
        MoveWindow(form_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

void ControlForm::Show(bool visible) {
    if (form_) ShowWindow(form_, visible ? SW_SHOWNA : SW_HIDE);
}

void ControlForm::FocusEntered() { FocusModuleForm(*this); }

bool ControlForm::IsActive() const { return form_ && IsFocusedModuleForm(*this); }

void ControlForm::Destroy() {
    ForgetModuleForm(*this);
    if (tree_) tree_->Detach();
    if (form_) DestroyWindow(form_);
    form_ = nullptr;
    messageBox_.SetOwnerWindow(nullptr);
    if (holdsModule_) {
        holdsModule_ = false;
        ReleaseModuleWindows(module_);
    }
}

void ControlForm::SetOwner(IUnknown* owner) {
    owner_ = owner;
    if (tree_) tree_->SetOwner(owner);
}

LRESULT ControlForm::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The messages of CreateWindowExW itself come before the form is built.
    if (form_ != window) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        if (const HWND tree = TreeWindow()) MoveWindow(tree, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        FocusEntered();
        if (const HWND tree = TreeWindow()) SetFocus(tree);  // TView is the active control
        return 0;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.code == static_cast<UINT>(NM_SETFOCUS)) FocusEntered();
        LRESULT result = 0;
        if (tree_ && tree_->OnNotify(header, result)) return result;
        break;
    }
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP: {
        if (!std::exchange(pressed_, false)) return 0;
        ReleaseCapture();
        // A click is a press and a release on the form's own surface.
        RECT client;
        GetClientRect(window, &client);
        if (PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) control_.FormClicked();
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        control_.FormDoubleClicked();
        return 0;
    case WM_CHAR: {
        char16_t key = static_cast<char16_t>(wParam);
        control_.FormKeyPressed(key);
        if (key == 0) return 0;
        wParam = key;
        break;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && ShowCursor()) return TRUE;
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        control_.FormPainted();
        return 0;
    }
    case WM_DESTROY:
        if (tree_) tree_->Detach();
        break;
    case WM_NCDESTROY:
        form_ = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ramvel::win32
