#include "shell/module_keys.h"

#include "shell/shared_dialogs.h"
#include "shell/shell_state.h"

namespace {

constexpr INT_PTR uninstallRan = 0;

} // namespace

bool ControlKeyHeld() {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

void HandleModuleKeyDown(HWND window, WPARAM key) {
    // While a dialog or message box of the module window is open (the window is disabled then),
    // its keys belong to it: an uninstall must not end the module window under an open dialog.
    if (!ControlKeyHeld() || !IsWindowEnabled(window))
        return;
    switch (key) {
    case 'P':
        DialogBoxParamA(shell.instance, "PREFERENCES", window, PreferencesDialogProc, 0);
        break;
    case 'U':
        if (DialogBoxParamA(shell.instance, "UNINSTALL", window, UninstallDialogProc, 0) ==
            uninstallRan)
            EndDialog(window, moduleQuit);
        break;
    }
}
