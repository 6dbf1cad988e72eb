#pragma once
// The control's form: a window of its own class holding the tree view TView, wired to a
// TMyRamvel through the Win32 tree adapter. It starts hidden under the module's holding window
// (or as a child of a given parent) until the container gives it a parent and bounds.
//
// Typical owner (the COM control object):
//     Win32MessageBox box;                                   // must outlive the control
//     TMyRamvel control{box, ModuleFileName(instance)};
//     ControlForm form{control, box, instance};              // AttachWidget + FormCreate
#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <string>

#include "control/MyRamvel.h"
#include "win32/FileReaderWin32.h"
#include "win32/Handles.h"
#include "win32/MessageBoxWin32.h"
#include "win32/ModuleForms.h"
#include "win32/StoredImagesWin32.h"
#include "win32/WindowImpl.h"

namespace ramvel::win32 {

class Win32TreeView;

// The file name part of the module's path (e.g. "Ramvel.ocx").
std::u16string ModuleFileName(HINSTANCE module);

class ControlForm : public IFormWindow, private ModuleForm, private WindowImpl<ControlForm> {
public:
    static constexpr int kWidth = 492;
    static constexpr int kHeight = 404;

    // Creates the form and TView, gives `control` the stored image lists, attaches the adapter
    // and the file reader to it and runs its FormCreate.
    // `parent` 0: under the module's holding window. The form starts hidden either way.
    // Throws RamvelError with the platform's code when a window cannot be made.
    ControlForm(TMyRamvel& control, Win32MessageBox& messageBox, HINSTANCE module, HWND parent = nullptr);
    ~ControlForm() override;
    ControlForm(const ControlForm&) = delete;
    ControlForm& operator=(const ControlForm&) = delete;

    // The COM object this form belongs to: every message the form or its tree view handles holds
    // a reference to it, so that a host that drops its last one inside an event does not take
    // the windows away under the handler; the object goes once the outermost message is done.
    void SetOwner(IUnknown* owner);

    HWND Window() const { return form_; }
    HWND TreeWindow() const;
    Win32TreeView& Tree() { return *tree_; }

    // Reparents the form (0: back under the holding window, hidden).
    void SetParentWindow(HWND parent);
    // Position in the parent's client coordinates; TView follows.
    void SetBounds(const RECT& bounds);
    void Show(bool visible);
    // IFormWindow (FormWindowWin32.cpp).
    std::int32_t ScreenPixelsPerInch() const override;
    bool IsVisible() const override;
    bool IsActive() const override;
    void ApplyTreeSwitches(bool lines, bool buttons, bool track) override;
    void ApplyTreeFont(const FontSettings& font) override;
    void ApplyColour(std::uint32_t colour) override;
    void ApplyCaption(std::u16string_view caption) override;
    void ApplyVisible(bool visible) override;
    void ApplyEnabled(bool enabled) override;
    void ApplyBorderStyle(std::uint8_t style) override;
    void ApplyBiDiMode(std::uint8_t mode) override;
    void ApplyCursor(std::int16_t cursor) override;
    void ApplyDoubleBuffered(bool on) override;
    void ApplyAutoScroll(bool on) override;
    void ApplyAutoSize(bool on) override;

    // Destroys TView and the form; safe to call twice. Afterwards the control may still be
    // called (the widget does nothing), as long as this object lives.
    void Destroy();

private:
    // Fills the new form: tree view, settings, pictures, then the control's creation handler.
    void Build(const StoredImageLists& stored);
    // The focus entered the form or its tree view: activation moves here.
    void FocusEntered();
    // ModuleForm: activation moving between the module's forms.
    void ModuleFormActivated() override { control_.FormActivated(); }
    void ModuleFormDeactivated() override { control_.FormDeactivated(); }
    // Sets the form's cursor while the pointer is over it; false for the default one.
    bool ShowCursor() const;
    friend class WindowImpl<ControlForm>;
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    IUnknown* Owner() const noexcept { return owner_; }

    TMyRamvel& control_;
    Win32MessageBox& messageBox_;
    HINSTANCE module_;
    HWND form_ = nullptr;
    UniqueFont treeFont_;
    UniqueBrush background_;
    std::int16_t cursor_ = 0;
    Win32FileReader files_;
    std::unique_ptr<Win32TreeView> tree_;
    bool holdsModule_ = false;  // counted in the holding window's users
    IUnknown* owner_ = nullptr;
    bool pressed_ = false;      // the left button went down on the form's surface
};

}  // namespace ramvel::win32
