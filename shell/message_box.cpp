#include "shell/message_box.h"

#include "shell/message_hook.h"
#include "shell/module_windows.h"
#include "shell/shell_state.h"

namespace {

HWND BoxOwner(HWND owner) {
    if (owner && IsWindow(owner))
        return owner;
    return shell.currentModuleWindow;
}

} // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    const HWND chosen = BoxOwner(owner);
    CloseLoaderWindow();
    const bool hookWasPaused = shell.messageHookPaused;
    ResumeMessageHook();
    const int answer = MessageBoxA(chosen, text, caption, style);
    // The code that set the hook aside goes on taking only MIDI notices, and resumes it itself.
    if (hookWasPaused)
        PauseMessageHook();
    return answer;
}
