#include "shell/about.h"

#include "resources/shell_ids.h"
#include "shell/shared_dialogs.h"
#include "shell/shell_state.h"

namespace {

// Titles by the current module; with none the resource's own title stays.
const char* const aboutTitles[] = {
    nullptr,
    "About QX Brevikorlando 95",
    "About QX Program Librarian 95",
    "About QX Program Editor 95",
};

} // namespace

void ShowAbout(HWND owner) {
    DialogBoxParamA(shell.instance, "ABOUT", owner, AboutDialogProc, 0);
}

// Only OK closes the box: Escape and the close box do nothing.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        const int module = shell.currentModule;
        if (module >= moduleManager && module <= moduleEditor)
            SetWindowTextA(dialog, aboutTitles[module]);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ABOUT_OK:
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
