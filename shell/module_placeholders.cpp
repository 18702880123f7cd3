#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

// Stand-ins for the Librarian and Editor windows, the instrument definition dialog, the envelope
// graph window and the time-track control, which are not built yet. A stand-in module window
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

INT_PTR CALLBACK LibrarianWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    return StandInModuleWindow(window, message, wParam, moduleLibrarian);
}

INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    return StandInModuleWindow(window, message, wParam, moduleEditor);
}

// Confirms itself at once when asked to pass automatically with a definition chosen before;
// otherwise it is as if the user had cancelled.
INT_PTR CALLBACK InstrumentDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        EndDialog(dialog, shell.automaticPass && settings.LibrarianInstrument >= 0 ? 0 : 99);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 99);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TimeTrackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
