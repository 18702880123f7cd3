#include "shell/startup.h"

#include "manager/message_store.h"
#include "shell/help.h"
#include "shell/message_hook.h"
#include "shell/module_windows.h"
#include "shell/settings_registry.h"
#include "shell/shell_state.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cstring>
#include <string>

namespace {

void FindProgramFolder() {
    DWORD length = GetModuleFileNameA(nullptr, shell.programPath, sizeof shell.programPath);
    if (length >= sizeof shell.programPath)
        length = sizeof shell.programPath - 1;
    shell.programPath[length] = 0;
    std::strcpy(shell.programFolder, shell.programPath);
    char* lastBackslash = std::strrchr(shell.programFolder, '\\');
    if (lastBackslash)
        *lastBackslash = 0;
}

std::string TemporaryFolder() {
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return std::string();
    return std::string(folder, length);
}

// The welcome sound plays from the program's own resources while the first module opens.
void PlayTitleSound() {
    HRSRC found = FindResourceExA(shell.instance, "ORUWAVE", "Talvane95Wave",
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!found)
        FatalAppExitA(0, "findresourceex fail");
    HGLOBAL loaded = LoadResource(shell.instance, found);
    if (!loaded)
        FatalAppExitA(0, "loadresource fail");
    PlaySoundA(static_cast<LPCSTR>(LockResource(loaded)), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void RunModuleLoop(int code) {
    while (code != moduleQuit) {
        shell.busy = true;
        ShowBusyCursor();
        code = RunModuleWindow(code);
    }
}

} // namespace

bool ControlKeyHeld() {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

int RunTalvane(HINSTANCE instance, const char* commandLine) {
    FindProgramFolder();
    StartupConfiguration();
    BuildScratchFileNames(TemporaryFolder());
    shell.instance = instance;
    LoadModuleIcons();
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);
    InstallMessageHook();
    RegisterWindowClasses();

    StartChoice start = StartFromCommandLine(ReadCommandLine(commandLine ? commandLine : ""));
    if (start.outcome == StartOutcome::endAtOnce)
        return 0;
    if (start.outcome == StartOutcome::runModules) {
        CopyModuleDialogs();
        if (settings.titleSoundOn)
            PlayTitleSound();
        RunModuleLoop(start.firstModule);
        ReleaseModuleDialogs();
    }

    CloseHelp();
    RemoveMessageHook();
    SaveSettings();
    DestroyModuleIcons();
    DeleteStoreFiles();
    return 0;
}
