#include "shell/shell_state.h"

ShellState shell;

void ShowBusyCursor() {
    SetCursor(LoadCursorA(nullptr, shell.busy ? IDC_WAIT : IDC_ARROW));
}
