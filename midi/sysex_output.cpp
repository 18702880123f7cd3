#include "midi/sysex_output.h"

#include "midi/midi_errors.h"
#include "midi/midi_state.h"
#include "shell/debug_trace.h"

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

} // namespace

bool AllocateSendHeader() {
    sending.headerBlock = GlobalAlloc(blockMemory | GMEM_ZEROINIT, sizeof(MIDIHDR));
    sending.header = sending.headerBlock != nullptr
                         ? static_cast<MIDIHDR*>(GlobalLock(sending.headerBlock))
                         : nullptr;
    return sending.header != nullptr;
}

void ReleaseSendHeader() {
    ReleaseBlock(sending.headerBlock);
    sending.header = nullptr;
}

unsigned char* AllocateMessageBlock(std::int32_t length) {
    sending.messageBlock = GlobalAlloc(blockMemory, static_cast<SIZE_T>(length));
    return sending.messageBlock != nullptr
               ? static_cast<unsigned char*>(GlobalLock(sending.messageBlock))
               : nullptr;
}

bool HandMessageToOutput(unsigned char* bytes, std::int32_t length, const char* prepareCaption,
                         const char* sendCaption) {
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

void ReleaseMessage() {
    if (sending.header != nullptr && (sending.header->dwFlags & MHDR_PREPARED) != 0)
        midiOutUnprepareHeader(midi.output, sending.header, sizeof(MIDIHDR));
    ReleaseBlock(sending.messageBlock);
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
