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

// From the start until the first module window paints, every dialog and message box the program
// opens closes the title window first: the title stays on top of everything and would hide it.
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

void WatchStartupBoxes() {
    startupBoxHook =
        SetWindowsHookExA(WH_CALLWNDPROC, StartupBoxHookProc, nullptr, GetCurrentThreadId());
}

void RunModuleLoop(int code) {
    while (code != moduleQuit) {
        shell.busy = true;
        ShowBusyCursor();
        code = RunModuleWindow(code);
    }
}

} // namespace

void StopWatchingStartupBoxes() {
    if (startupBoxHook)
        UnhookWindowsHookEx(startupBoxHook);
    startupBoxHook = nullptr;
}

bool ControlKeyHeld() {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

int RunTalvane(HINSTANCE instance, const char* commandLine) {
    WatchStartupBoxes();
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

    StopWatchingStartupBoxes();
    CloseHelp();
    RemoveMessageHook();
    SaveSettings();
    DestroyModuleIcons();
    DeleteStoreFiles();
    return 0;
}
