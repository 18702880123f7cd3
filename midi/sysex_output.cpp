#include "midi/sysex_output.h"

#include "manager/syx_files.h"
#include "midi/midi_errors.h"
#include "midi/midi_state.h"
#include "shell/debug_trace.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

SendState sending;

namespace {

constexpr UINT blockMemory = GMEM_MOVEABLE | GMEM_SHARE;

void ReleaseBlock(HGLOBAL& block) {
    if (block == nullptr)
        return;
    GlobalUnlock(block);
    GlobalFree(block);
    block = nullptr;
}

// The message just sent is done: its header is unprepared and its block released.
void ReleaseMessage() {
    if (sending.header != nullptr && (sending.header->dwFlags & MHDR_PREPARED) != 0)
        midiOutUnprepareHeader(midi.output, sending.header, sizeof(MIDIHDR));
    ReleaseBlock(sending.messageBlock);
}

void EndSend() {
    ReleaseMessage();
    ReleaseBlock(sending.headerBlock);
    sending.header = nullptr;
    sending.file = SyxFile{};
    sending.active = false;
    sending.state = sendFinished;
    shell.busy = false;
    ShowBusyCursor();
}

// Messages of no bytes have nothing to put on the wire; they are passed over.
void SkipEmptyMessages() {
    while (sending.file.position < sending.file.count &&
           sending.file.lengths[static_cast<std::size_t>(sending.file.position)] == 0)
        ++sending.file.position;
}

// Reads message `position` into a block of its own and hands it to the output. False when the
// message did not go out, so no completion will come for it.
bool SendCurrentMessage(const char* prepareCaption, const char* sendCaption) {
    const std::int32_t length =
        sending.file.lengths[static_cast<std::size_t>(sending.file.position)];
    sending.messageBlock = GlobalAlloc(blockMemory, static_cast<SIZE_T>(length));
    auto* bytes = sending.messageBlock != nullptr
                      ? static_cast<unsigned char*>(GlobalLock(sending.messageBlock))
                      : nullptr;
    if (bytes == nullptr) {
        ShowMessageBox(shell.currentModuleWindow, "Memory allocation error.", "Error",
                       MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    if (!ReadSyxBytes(sending.file, bytes, length)) {
        ReportUnreadableFile(sending.path.c_str(), SyxOpenResult::damaged,
                             "Nothing more was sent.");
        return false;
    }
    ZeroMemory(sending.header, sizeof(MIDIHDR));
    sending.header->lpData = reinterpret_cast<LPSTR>(bytes);
    sending.header->dwBufferLength = static_cast<DWORD>(length);
    MMRESULT result = midiOutPrepareHeader(midi.output, sending.header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        ReportMidiOutError(prepareCaption, result);
    result = midiOutLongMsg(midi.output, sending.header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR) {
        ReportMidiOutError(sendCaption, result);
        return false;
    }
    return true;
}

} // namespace

void SendFile(const char* path) {
    if (sending.active)
        return;
    sending.state = sendWaiting;
    sending.pendingCompletions = 0;
    sending.path = path;
    shell.busy = true;
    ShowBusyCursor();
    sending.headerBlock = GlobalAlloc(blockMemory | GMEM_ZEROINIT, sizeof(MIDIHDR));
    sending.header = sending.headerBlock != nullptr
                         ? static_cast<MIDIHDR*>(GlobalLock(sending.headerBlock))
                         : nullptr;
    const SyxOpenResult opened = OpenSyxFile(path, sending.file);
    if (opened != SyxOpenResult::opened || sending.header == nullptr) {
        EndSend();
        ReportUnreadableFile(path, opened, "Nothing was sent.");
        return;
    }
    if (sending.file.format == SyxFormat::standard && sending.file.size > maxStandardSendSize) {
        EndSend();
        ReportFileTooLargeToSend(path, maxStandardSendSize);
        return;
    }
    sending.active = true;
    SkipEmptyMessages();
    if (sending.file.position >= sending.file.count ||
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
    if (sending.file.position >= sending.file.count || !midi.outputOpen) {
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

void CALLBACK OutputCompletion(HMIDIOUT, UINT message, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    if (message != MOM_DONE)
        return;
    DebugTrace("!");
    // The count first: whoever sees the state at -1 also sees this completion counted.
    ++sending.pendingCompletions;
    sending.state = sendCompletion;
    if (HANDLE signal = sending.completionSignal)
        SetEvent(signal);
}

void AcknowledgeCompletion() {
    if (sending.state != sendCompletion)
        return;
    if (--sending.pendingCompletions > 0)
        return;
    sending.state = sendWaiting;
    // A completion counted between the decrement and the store above must not be overlooked.
    if (sending.pendingCompletions > 0)
        sending.state = sendCompletion;
}

void StopSend() {
    if (sending.active)
        EndSend();
}
