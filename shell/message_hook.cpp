#include "shell/message_hook.h"

#include "shell/shell_state.h"

#include <commctrl.h>

namespace {

// Tools are registered without subclassing, so the tooltip window learns where the mouse is
// only from what the hook relays: this way tips work over every control, in dialogs too.
void RelayToTooltips(const MSG* retrieved) {
    if (shell.tooltipWindow)
        SendMessageA(shell.tooltipWindow, TTM_RELAYEVENT, 0,
                     reinterpret_cast<LPARAM>(const_cast<MSG*>(retrieved)));
}

// The module window sees the keys of all its controls (CTRL+P, CTRL+U and the CTRL captions). A
// key sent to the module window itself already reaches it.
void ForwardKeyToModuleWindow(const MSG* retrieved) {
    if (shell.currentModuleWindow && retrieved->hwnd != shell.currentModuleWindow)
        SendMessageA(shell.currentModuleWindow, retrieved->message, retrieved->wParam,
                     retrieved->lParam);
}

LRESULT CALLBACK MessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
    // A message only looked at (PM_NOREMOVE) is seen again when it is taken; it counts once.
    if (code == HC_ACTION && (wParam & PM_REMOVE) != 0) {
        const MSG* retrieved = reinterpret_cast<const MSG*>(lParam);
        switch (retrieved->message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            RelayToTooltips(retrieved);
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            ForwardKeyToModuleWindow(retrieved);
            break;
        }
    }
    return CallNextHookEx(shell.messageHook, code, wParam, lParam);
}

} // namespace

void InstallMessageHook() {
    shell.messageHook =
        SetWindowsHookExA(WH_GETMESSAGE, MessageHookProc, nullptr, GetCurrentThreadId());
}

void RemoveMessageHook() {
    if (shell.messageHook)
        UnhookWindowsHookEx(shell.messageHook);
    shell.messageHook = nullptr;
    shell.messageHookPaused = false;
}

void PauseMessageHook() {
    if (shell.messageHook == nullptr)
        return;
    RemoveMessageHook();
    shell.messageHookPaused = true;
}

void ResumeMessageHook() {
    if (shell.messageHookPaused)
        InstallMessageHook();
    shell.messageHookPaused = false;
}
