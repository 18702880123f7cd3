#include "shell/help.h"

#include "shell/shell_state.h"

#include <cstdio>

void CloseHelp() {
    if (!shell.lastHelpWindow)
        return;
    char helpFile[sizeof shell.programFolder + 16];
    std::snprintf(helpFile, sizeof helpFile, "%s\\Talvane95.hlp", shell.programFolder);
    WinHelpA(shell.lastHelpWindow, helpFile, HELP_QUIT, 0);
}
