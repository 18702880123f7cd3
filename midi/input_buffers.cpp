#include "manager/store_list_box.h"
#include "midi/input_assembly.h"
#include "midi/midi_errors.h"
#include "midi/midi_state.h"
#include "shell/message_hook.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// Movable shared memory, as the system's MIDI buffers have always been given.
constexpr UINT bufferMemory = GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT;

bool IsInputBuffer(const MIDIHDR* header) {
    return header != nullptr &&
           std::any_of(std::begin(midi.inputBuffers), std::end(midi.inputBuffers),
                       [header](const InputBuffer& buffer) { return buffer.header == header; });
}

void Release(HGLOBAL& block) {
    if (block == nullptr)
        return;
    GlobalUnlock(block);
    GlobalFree(block);
    block = nullptr;
}

} // namespace

void AllocateInputBuffers() {
    for (InputBuffer& buffer : midi.inputBuffers) {
        if (buffer.header != nullptr)
            continue;
        buffer.headerBlock = GlobalAlloc(bufferMemory, sizeof(MIDIHDR));
        buffer.dataBlock = GlobalAlloc(bufferMemory, inputBufferSize);
        buffer.header = buffer.headerBlock != nullptr
                            ? static_cast<MIDIHDR*>(GlobalLock(buffer.headerBlock))
                            : nullptr;
        buffer.data = buffer.dataBlock != nullptr ? static_cast<char*>(GlobalLock(buffer.dataBlock))
                                                  : nullptr;
        if (buffer.header == nullptr || buffer.data == nullptr) {
            // A buffer without memory is simply not used.
            Release(buffer.headerBlock);
            Release(buffer.dataBlock);
            buffer.header = nullptr;
            buffer.data = nullptr;
            continue;
        }
        buffer.header->lpData = buffer.data;
        buffer.header->dwBufferLength = inputBufferSize;
    }
}

void FreeInputBuffers() {
    for (InputBuffer& buffer : midi.inputBuffers) {
        Release(buffer.headerBlock);
        Release(buffer.dataBlock);
        buffer.header = nullptr;
        buffer.data = nullptr;
    }
}

bool TakeReturnedBuffer(MIDIHDR* header) {
    // Buffers come back empty when the input is reset while closing; they are not queued again.
    // A notice for a buffer that is already queued again is stale (the port was closed and
    // opened in between) and its bytes are no longer there.
    if (!IsInputBuffer(header) || header->dwBytesRecorded == 0 ||
        header->dwBytesRecorded > header->dwBufferLength || (header->dwFlags & MHDR_INQUEUE) != 0)
        return false;
    if ((header->dwFlags & MHDR_PREPARED) != 0) {
        const MMRESULT result = midiInUnprepareHeader(midi.input, header, sizeof(MIDIHDR));
        if (result != MMSYSERR_NOERROR)
            ReportMidiInError("RB/InUnprepareHeader Error", result);
    }
    return true;
}

void RequeueInputBuffer(MIDIHDR* header) {
    header->dwBytesRecorded = 0;
    // A closed port queues all its buffers again when it opens.
    if (!midi.inputOpen || midi.inputClosing)
        return;
    MMRESULT result = midiInPrepareHeader(midi.input, header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        ReportMidiInError("RB/InPrepareHeader Error", result);
    result = midiInAddBuffer(midi.input, header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        ReportMidiInError("RB/InAddBuffer Error", result);
}

namespace {

void StoreReturnedBuffer(MIDIHDR* header) {
    if (!TakeReturnedBuffer(header))
        return;
    // The bytes are copied out and the buffer goes back into the queue before anything else:
    // while short messages arrive back to back, the queue's slack is what keeps them from being
    // lost, so the store's work must not hold a buffer out of it.
    const auto* recorded = reinterpret_cast<const unsigned char*>(header->lpData);
    const std::vector<unsigned char> bytes(recorded, recorded + header->dwBytesRecorded);
    const DWORD bufferLength = header->dwBufferLength;
    RequeueInputBuffer(header);
    LetLabelsWait(true);
    AssembleInputBuffer(bytes.data(), static_cast<std::uint32_t>(bytes.size()), bufferLength,
                        midi.continuationCount, midi.makerByte);
    LetLabelsWait(false);
}

} // namespace

void ReceiveBuffer(HWND window, MIDIHDR* header) {
    StoreReturnedBuffer(header);
    // Short messages arriving back to back leave several notices waiting; taking them here
    // rather than one per turn of the message loop saves the message hook's work on each.
    TakeQueuedInput(window);
}

void TakeQueuedInput(HWND window) {
    if ((HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) == 0)
        return;
    // Only MIDI notices are taken while the hook stands aside, so it misses no key or mouse
    // message. No more than the thirty buffers can be waiting, so the loop ends even while input
    // keeps arriving: what came after is left for the next turn of the message loop.
    PauseMessageHook();
    MSG message;
    for (int taken = 0; taken < inputBufferCount &&
                        PeekMessageA(&message, window, MM_MIM_LONGDATA, MM_MIM_LONGDATA, PM_REMOVE);
         ++taken)
        StoreReturnedBuffer(reinterpret_cast<MIDIHDR*>(message.lParam));
    ResumeMessageHook();
}
