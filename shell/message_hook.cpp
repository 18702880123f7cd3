#include "shell/message_hook.h"

#include "shell/shell_state.h"

namespace {

// Relaying mouse messages to the tooltip window is not built yet; keys are forwarded.
LRESULT CALLBACK MessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const MSG* retrieved = reinterpret_cast<const MSG*>(lParam);
        switch (retrieved->message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (shell.currentModuleWindow)
                SendMessageA(shell.currentModuleWindow, retrieved->message, retrieved->wParam,
                             retrieved->lParam);
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
}
