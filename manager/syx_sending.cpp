#include "manager/syx_sending.h"

#include "manager/syx_files.h"
#include "midi/midi_hooks.h"
#include "midi/midi_state.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

SyxSendState syxSending;

namespace {

void EndSend() {
    ReleaseMessage();
    ReleaseSendHeader();
    syxSending.file = SyxFile{};
    sending.active = false;
    sending.state = sendFinished;
    shell.busy = false;
    ShowBusyCursor();
}

// Messages of no bytes have nothing to put on the wire; they are passed over.
void SkipEmptyMessages() {
    while (syxSending.file.position < syxSending.file.count &&
           syxSending.file.lengths[static_cast<std::size_t>(syxSending.file.position)] == 0)
        ++syxSending.file.position;
}

// Reads message `position` into a block of its own and hands it to the output. False when the
// message did not go out, so no completion will come for it.
bool SendCurrentMessage(const char* prepareCaption, const char* sendCaption) {
    const std::int32_t length =
        syxSending.file.lengths[static_cast<std::size_t>(syxSending.file.position)];
    unsigned char* bytes = AllocateMessageBlock(length);
    if (bytes == nullptr) {
        ShowMessageBox(shell.currentModuleWindow, "Memory allocation error.", "Error",
                       MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    if (!ReadSyxBytes(syxSending.file, bytes, length)) {
        ReportUnreadableFile(syxSending.path.c_str(), SyxOpenResult::damaged,
                             "Nothing more was sent.");
        return false;
    }
    return HandMessageToOutput(bytes, length, prepareCaption, sendCaption);
}

} // namespace

void SendFile(const char* path) {
    // Whichever module's output carries the send, closing it ends the send.
    midiHooks.outputClosing = StopSend;
    if (sending.active)
        return;
    sending.state = sendWaiting;
    sending.pendingCompletions = 0;
    syxSending.path = path;
    shell.busy = true;
    ShowBusyCursor();
    const bool headerReady = AllocateSendHeader();
    const SyxOpenResult opened = OpenSyxFile(path, syxSending.file);
    if (opened != SyxOpenResult::opened || !headerReady) {
        EndSend();
        ReportUnreadableFile(path, opened, "Nothing was sent.");
        return;
    }
    if (syxSending.file.format == SyxFormat::standard &&
        syxSending.file.size > maxStandardSendSize) {
        EndSend();
        ReportFileTooLargeToSend(path, maxStandardSendSize);
        return;
    }
    sending.active = true;
    SkipEmptyMessages();
    if (syxSending.file.position >= syxSending.file.count ||
        !SendCurrentMessage("QX/OutPrepareHeader Error", "QX/OutLongMsg Error")) {
        EndSend();
        return;
    }
    SkipEmptyMessages();
}

void SendNextMessage() {
    if (!sending.active)
        return;
    ReleaseMessage();
    if (syxSending.file.position >= syxSending.file.count || !midi.outputOpen) {
        EndSend();
        return;
    }
    Sleep(sendPauseMilliseconds);
    if (!SendCurrentMessage("SNB/OutPrepareHeader Error", "SNB/OutLongMsg Error")) {
        EndSend();
        return;
    }
    SkipEmptyMessages();
}

void StopSend() {
    if (sending.active)
        EndSend();
}
