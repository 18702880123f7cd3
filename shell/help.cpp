#include "shell/help.h"

#include "shell/shell_state.h"

#include <cstdio>

namespace {

void HelpFilePath(char* path, std::size_t size) {
    std::snprintf(path, size, "%s\\Talvane95.hlp", shell.programFolder);
}

} // namespace

void ShowHelp(int context) {
    char helpFile[sizeof shell.programFolder + 16];
    HelpFilePath(helpFile, sizeof helpFile);
    shell.lastHelpWindow = shell.currentModuleWindow;
    WinHelpA(shell.currentModuleWindow, helpFile, HELP_CONTEXT, static_cast<ULONG_PTR>(context));
}

void CloseHelp() {
    if (!shell.lastHelpWindow)
        return;
    char helpFile[sizeof shell.programFolder + 16];
    HelpFilePath(helpFile, sizeof helpFile);
    WinHelpA(shell.lastHelpWindow, helpFile, HELP_QUIT, 0);
}
