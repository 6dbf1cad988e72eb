// The module's focused form.
#include "win32/ModuleForms.h"

#include <utility>

namespace ramvel::win32 {
namespace {

thread_local ModuleForm* focusedForm = nullptr;

}  // namespace

void FocusModuleForm(ModuleForm& form) {
    if (focusedForm == &form) return;
    ModuleForm* previous = std::exchange(focusedForm, &form);
    if (previous) previous->ModuleFormDeactivated();
    form.ModuleFormActivated();
}

bool IsFocusedModuleForm(const ModuleForm& form) { return focusedForm == &form; }

void ForgetModuleForm(const ModuleForm& form) {
    if (focusedForm == &form) focusedForm = nullptr;
}

}  // namespace ramvel::win32
