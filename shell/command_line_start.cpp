#include "shell/debug_trace.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace {

// Without a switch the Manager opens; with CTRL held and a definition chosen before, the way
// goes through the instrument definition dialog into the Librarian.
StartChoice PlainStart() {
    StartChoice choice;
    choice.firstModule = moduleManager;
    if (ControlKeyHeld() && settings.LibrarianInstrument != -1) {
        shell.automaticPass = true;
        INT_PTR result =
            DialogBoxParamA(shell.instance, "EnterLibrarian", nullptr, InstrumentDialogProc, 0);
        choice.firstModule = result == 99 || result == -1 ? moduleManager : moduleLibrarian;
    }
    return choice;
}

} // namespace

void SendFileFromCommandLine(const char* path) {
    (void)path;
}

StartChoice StartFromCommandLine(const CommandLineRequest& request) {
    switch (request.command) {
    case CommandSwitch::send:
        SendFileFromCommandLine(request.argument.c_str());
        return {StartOutcome::exitSteps, moduleQuit};
    case CommandSwitch::librarian:
    case CommandSwitch::bankfile:
    case CommandSwitch::none:
        break;
    }
    return PlainStart();
}
