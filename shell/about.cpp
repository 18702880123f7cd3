#include "shell/about.h"

#include "shell/shared_dialogs.h"
#include "shell/shell_state.h"

namespace {

constexpr int aboutOkId = 300;

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
        case aboutOkId:
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
