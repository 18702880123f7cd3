#include "midi/midi_errors.h"
#include "midi/midi_state.h"

#include <algorithm>
#include <iterator>

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
