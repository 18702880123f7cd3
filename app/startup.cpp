#include "app/startup.h"

#include "app/module_classes.h"
#include "manager/message_store.h"
#include "shell/help.h"
#include "shell/message_box.h"
#include "shell/message_hook.h"
#include "shell/module_hooks.h"
#include "shell/settings_registry.h"
#include "shell/shell_state.h"
#include "shell/startup_boxes.h"

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

const char startFailureCaption[] = "Talvane 95";
const char classesNotRegisteredText[] =
    "Talvane 95 cannot start: its window classes could not be registered.";
const char dialogsNotPreparedText[] =
    "Talvane 95 cannot start: its module windows could not be prepared.";

void RunExitSteps() {
    StopWatchingStartupBoxes();
    CloseHelp();
    RemoveMessageHook();
    SaveSettings();
    DestroyModuleIcons();
    DeleteStoreFiles();
}

// Without its classes or its module windows the program has nothing to show: it says so (the box
// closes the title, so that it is seen) and ends after the exit steps.
int CannotStart(const char* text) {
    ShowMessageBox(nullptr, text, startFailureCaption, MB_OK | MB_ICONSTOP);
    RunExitSteps();
    return 1;
}

void RunModuleLoop(int code) {
    while (code != moduleQuit) {
        shell.busy = true;
        ShowBusyCursor();
        code = RunModuleWindow(code);
    }
}

} // namespace

int RunTalvane(HINSTANCE instance, const char* commandLine) {
    WatchStartupBoxes();
    FindProgramFolder();
    StartupConfiguration();
    BuildScratchFileNames(TemporaryFolder());
    shell.instance = instance;
    moduleHooks.chooseInstrument = ChooseInstrument;
    LoadModuleIcons();
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);
    InstallMessageHook();
    if (!RegisterWindowClasses())
        return CannotStart(classesNotRegisteredText);

    StartChoice start = StartFromCommandLine(ReadCommandLine(commandLine ? commandLine : ""));
    if (start.outcome == StartOutcome::endAtOnce)
        return 0;
    if (start.outcome == StartOutcome::runModules) {
        if (!CopyModuleDialogs()) {
            ReleaseModuleDialogs();
            return CannotStart(dialogsNotPreparedText);
        }
        if (settings.titleSoundOn)
            PlayTitleSound();
        RunModuleLoop(start.firstModule);
        ReleaseModuleDialogs();
    }

    RunExitSteps();
    return 0;
}
