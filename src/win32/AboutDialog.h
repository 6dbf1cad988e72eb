#pragma once
// TRamvelAbout: the modal about dialog, built from its stored layout (about/AboutLayout.h) for
// the screen's density: the maker's logo, the product's name and version, the build's bitness
// ("64bit version" or "32bit version"), the copyright line, links to the maker's web site and
// contact address, and OK.
//
//     ShowAboutDialog(module);   // returns once the user closed the dialog, however closed
#include <windows.h>

#include <memory>

#include "about/AboutLayout.h"
#include "win32/Handles.h"
#include "win32/LabelWindow.h"
#include "win32/ModuleForms.h"
#include "win32/PictureWindow.h"
#include "win32/ShellLinkOpener.h"
#include "win32/UrlLabelWindow.h"
#include "win32/WindowImpl.h"

namespace ramvel::win32 {

inline constexpr wchar_t kAboutClass[] = L"TRamvelAbout";

// Builds a TRamvelAbout with no owner, shows it modally and destroys it when the modal display
// ends, also when showing fails. Throws RamvelError when it cannot be created or shown.
void ShowAboutDialog(HINSTANCE module);

class TRamvelAbout : private ModuleForm, private WindowImpl<TRamvelAbout> {
public:
    // Creates the dialog, hidden and centred on the screen, from its stored layout; runs
    // FormCreate. The window classes must be registered (see ShowAboutDialog).
    explicit TRamvelAbout(HINSTANCE module);
    ~TRamvelAbout();
    TRamvelAbout(const TRamvelAbout&) = delete;
    TRamvelAbout& operator=(const TRamvelAbout&) = delete;

    static WNDCLASSEXW WindowClass(HINSTANCE module);

    // The creation event: the bitness line ("64bit version") is shown.
    void FormCreate();
    // Shows the dialog until OK, Enter, Esc or the close box closes it, the thread's other
    // windows disabled meanwhile; returns the closing result (1 OK, 2 cancel).
    int ShowModal();

    HWND Window() const { return window_; }

private:
    // ModuleForm: the dialog raises no events of its own.
    void ModuleFormActivated() override {}
    void ModuleFormDeactivated() override {}

    friend class WindowImpl<TRamvelAbout>;
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateOkButton(const AboutComponent& component);
    // Destroys the components and the dialog's window; safe to call twice.
    void Destroy();

    const AboutLayout layout_;
    UniqueBrush colour_;
    UniqueFont dialogFont_;
    ShellLinkOpener shell_;
    HWND window_ = nullptr;
    int modalResult_ = 0;

    // Components, in declaration order.
    HWND OkBtn = nullptr;
    std::unique_ptr<LabelWindow> CopyrightLbl;
    std::unique_ptr<UrlLabelWindow> ProUrlLabel1;
    std::unique_ptr<UrlLabelWindow> ProUrlLabel2;
    std::unique_ptr<PictureWindow> Image_Kelto;
    std::unique_ptr<LabelWindow> Label1;
    std::unique_ptr<LabelWindow> d64;
};

}  // namespace ramvel::win32
