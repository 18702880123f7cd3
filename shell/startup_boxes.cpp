#include "shell/startup_boxes.h"

#include "shell/module_windows.h"

#include <windows.h>

namespace {

HHOOK startupBoxHook = nullptr;

// As a box is about to show: a dialog that ends before it shows (the definition dialog's
// automatic pass) leaves the title up.
LRESULT CALLBACK StartupBoxHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char className[8] = {};
    if (code == HC_ACTION && sent->message == WM_SHOWWINDOW && sent->wParam &&
        GetClassNameA(sent->hwnd, className, sizeof className) > 0 &&
        lstrcmpA(className, "#32770") == 0)
        CloseLoaderWindow();
    return CallNextHookEx(startupBoxHook, code, wParam, lParam);
}

} // namespace

void WatchStartupBoxes() {
    startupBoxHook =
        SetWindowsHookExA(WH_CALLWNDPROC, StartupBoxHookProc, nullptr, GetCurrentThreadId());
}

void StopWatchingStartupBoxes() {
    if (startupBoxHook)
        UnhookWindowsHookEx(startupBoxHook);
    startupBoxHook = nullptr;
}
