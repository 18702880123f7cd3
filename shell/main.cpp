#include <windows.h>

// Until the module loop is built, the program shows one Manager window and ends with it.

static LRESULT CALLBACK ModuleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcA(window, message, wParam, lParam);
}

static INT_PTR CALLBACK ManagerDialogProc(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ModuleWindowProc;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "AProgramIcon");
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = "QX_SysEx";
    if (!RegisterClassA(&windowClass))
        return 1;
    DialogBoxParamA(instance, "MainWindow", nullptr, ManagerDialogProc, 0);
    return 0;
}
