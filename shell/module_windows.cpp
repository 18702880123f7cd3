#include "shell/module_windows.h"

#include "shell/module_hooks.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup_boxes.h"

ModuleHooks moduleHooks;

namespace {

bool IsLoaderWindow(HWND window) {
    char className[sizeof loaderWindowClass + 1] = {};
    return IsWindow(window) && GetClassNameA(window, className, sizeof className) > 0 &&
           lstrcmpA(className, loaderWindowClass) == 0;
}

} // namespace

LRESULT CALLBACK ModuleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case titleWindowMessage: {
        // Any program can post this message; only the title loader's window is ever closed.
        HWND announced = reinterpret_cast<HWND>(wParam);
        if (IsLoaderWindow(announced))
            shell.titleWindow = announced;
        break;
    }
    case WM_PAINT:
        shell.firstPaint = true;
        StopWatchingStartupBoxes();
        if (shell.titleWindow) {
            SendMessageA(shell.titleWindow, WM_CLOSE, 0, 0);
            shell.titleWindow = nullptr;
            if (IsWindowEnabled(window))
                SetForegroundWindow(window);
        }
        break;
    }
    return DefDlgProcA(window, message, wParam, lParam);
}

void PlaceModuleWindow(HWND window) {
    SetWindowPos(window, nullptr, settings.WindowX, settings.WindowY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void RememberModuleWindowPosition(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return;
    settings.WindowX = placement.rcNormalPosition.left;
    settings.WindowY = placement.rcNormalPosition.top;
}

namespace {

struct OwnedBoxSearch {
    HWND owner;
    bool found = false;
};

BOOL CALLBACK FindOwnedBox(HWND candidate, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedBoxSearch*>(lParam);
    char className[8] = {};
    search->found = GetWindow(candidate, GW_OWNER) == search->owner && IsWindowVisible(candidate) &&
                    GetClassNameA(candidate, className, sizeof className) > 0 &&
                    lstrcmpA(className, "#32770") == 0;
    return !search->found;
}

} // namespace

bool OwnedBoxOpen(HWND window) {
    OwnedBoxSearch search{window};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CloseTitleWindow() {
    if (!shell.titleWindow || !shell.firstPaint)
        return;
    SendMessageA(shell.titleWindow, WM_CLOSE, 0, 0);
    shell.titleWindow = nullptr;
}

void CloseLoaderWindow() {
    // Once closed, the title needs no more watching for boxes.
    StopWatchingStartupBoxes();
    HWND loader = FindWindowA(loaderWindowClass, nullptr);
    if (loader)
        SendMessageA(loader, WM_CLOSE, 0, 0);
}
