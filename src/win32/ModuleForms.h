#pragma once
// The module's focused form on this thread: the form of the module (a control's form, the about
// dialog) that last took the keyboard focus. Focus moving to a host window and back leaves it
// unchanged, so only moves between the module's own forms activate and deactivate.
namespace ramvel::win32 {

class ModuleForm {
public:
    virtual void ModuleFormActivated() = 0;
    virtual void ModuleFormDeactivated() = 0;

protected:
    ~ModuleForm() = default;
};

// `form` took the focus: unless it already is the focused form, the previous one is
// deactivated, then `form` activated.
void FocusModuleForm(ModuleForm& form);
bool IsFocusedModuleForm(const ModuleForm& form);
// `form` goes away: it stops being the focused form, without raising anything.
void ForgetModuleForm(const ModuleForm& form);

}  // namespace ramvel::win32
