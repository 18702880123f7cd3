#include "shell/module_windows.h"
#include "shell/shared_dialogs.h"
#include "shell/shell_state.h"

// Stand-ins for the Preferences, Uninstall and About dialogs, which are not built yet.

namespace {

// A stand-in dialog: OK (1, or 300 in the About box) ends it with 0, Cancel with 99.
INT_PTR StandInDialog(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case 300:
            EndDialog(dialog, 0);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 99);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return StandInDialog(dialog, message, wParam);
}

INT_PTR CALLBACK UninstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return StandInDialog(dialog, message, wParam);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return StandInDialog(dialog, message, wParam);
}
