#include "app/startup.h"
#include "manager/syx_sending.h"
#include "midi/midi_state.h"
#include "shell/debug_trace.h"

namespace {

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
