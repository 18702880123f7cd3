#include "shell/module_window_steps.h"

#include "shell/module_windows.h"
#include "shell/shell_state.h"

void OpenModuleWindow(HWND window, int module, ModuleWindowPlacing placing) {
    shell.currentModule = module;
    shell.currentModuleWindow = window;
    shell.firstPaint = false;
    if (placing == ModuleWindowPlacing::atOnce)
        PlaceModuleWindow(window);
}

bool EndTitleTimer(HWND window, UINT_PTR timer) {
    if (shell.titleWindow && !shell.firstPaint)
        return false;
    CloseTitleWindow();
    KillTimer(window, timer);
    return true;
}

void LeaveModule(int module) {
    if (shell.currentModule == module)
        shell.currentModule = 0;
}

void CloseModuleWindow(HWND window, bool wasPlaced) {
    if (wasPlaced)
        RememberModuleWindowPosition(window);
    shell.currentModuleWindow = nullptr;
}
