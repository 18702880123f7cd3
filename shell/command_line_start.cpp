#include "midi/midi_state.h"
#include "midi/sysex_output.h"
#include "shell/debug_trace.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace {

constexpr INT_PTR dialogCancelled = 99;
StartChoice Start(int module) {
    return {StartOutcome::runModules, module};
}

// The instrument definition dialog without owner, confirming itself when it can; the Manager
// opens when the user cancels it (or it cannot be shown), the Librarian otherwise.
int StartThroughDefinitionDialog() {
    shell.automaticPass = true;
    INT_PTR result =
        DialogBoxParamA(shell.instance, "EnterLibrarian", nullptr, InstrumentDialogProc, 0);
    return result == dialogCancelled || result == -1 ? moduleManager : moduleLibrarian;
}

// Without a switch the Manager opens; with CTRL held and a definition chosen before, the way
// goes through the instrument definition dialog into the Librarian.
StartChoice PlainStart() {
    if (ControlKeyHeld() && settings.LibrarianInstrument != -1)
        return Start(StartThroughDefinitionDialog());
    return Start(moduleManager);
}

// Waits, without holding the processor, until a completion has arrived or the send has ended.
// Messages sent to this thread are still handled meanwhile; nothing is taken out of the queue.
void WaitForSendProgress(HANDLE completion) {
    while (sending.state == sendWaiting) {
        if (completion)
            MsgWaitForMultipleObjects(1, &completion, FALSE, INFINITE, QS_ALLINPUT);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

} // namespace

void SendFileFromCommandLine(const char* path) {
    HANDLE completion = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    sending.completionSignal = completion;
    OpenOutput(nullptr);
    if (midi.outputOpen) {
        DebugTrace("Sending");
        SendFile(path);
        DebugTrace("Waiting");
        for (;;) {
            WaitForSendProgress(completion);
            if (sending.state == sendFinished)
                break;
            DebugTrace("Next");
            SendNextMessage();
            DebugTrace("Done1");
            AcknowledgeCompletion();
        }
        DebugTrace("Finished");
        CloseOutput();
    }
    sending.completionSignal = nullptr;
    if (completion)
        CloseHandle(completion);
}

StartChoice StartFromCommandLine(const CommandLineRequest& request) {
    switch (request.command) {
    case CommandSwitch::send:
        SendFileFromCommandLine(request.argument.c_str());
        return {StartOutcome::exitSteps, moduleQuit};
    case CommandSwitch::librarian:
    case CommandSwitch::bankfile:
        // Starting with a definition or a bank needs the definition and bank files, which are
        // not built yet: until then these are plain starts.
    case CommandSwitch::none:
        break;
    }
    return PlainStart();
}
