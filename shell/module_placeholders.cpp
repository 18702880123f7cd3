#include "shell/module_windows.h"
#include "shell/shared_dialogs.h"
#include "shell/shell_state.h"

// Stand-ins for the Editor window, the envelope graph window, the time-track control and the
// Preferences, Uninstall and About dialogs, which are not built yet. A stand-in module window
// takes part in everything the shell shares (current module, position, busy cursor, closing the
// title picture) and ends with 0 when it is closed; it opens no port and no file.

namespace {

constexpr UINT_PTR titleTimer = 2;

INT_PTR StandInModuleWindow(HWND window, UINT message, WPARAM wParam, int module) {
    switch (message) {
    case WM_INITDIALOG:
        shell.currentModule = module;
        shell.currentModuleWindow = window;
        shell.firstPaint = false;
        PlaceModuleWindow(window);
        SetTimer(window, titleTimer, 500, nullptr);
        shell.busy = false;
        ShowBusyCursor();
        return TRUE;
    case WM_TIMER:
        if (wParam == titleTimer)
            CloseTitleWindow();
        return TRUE;
    case WM_MOUSEMOVE:
        ShowBusyCursor();
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, moduleQuit);
        return TRUE;
    case WM_DESTROY:
        KillTimer(window, titleTimer);
        RememberModuleWindowPosition(window);
        if (shell.currentModule == module)
            shell.currentModule = 0;
        shell.currentModuleWindow = nullptr;
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    return StandInModuleWindow(window, message, wParam, moduleEditor);
}

LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TimeTrackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

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
