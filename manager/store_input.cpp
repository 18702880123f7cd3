#include "manager/store_input.h"

#include "manager/input_assembly.h"
#include "manager/store_list_box.h"
#include "midi/midi_hooks.h"
#include "midi/midi_state.h"
#include "shell/message_hook.h"

#include <vector>

namespace {

void EndStoredMessageInProgress() {
    EndMessageInProgress(inputBufferSize, midi.continuationCount, midi.makerByte);
}

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
    // A message still in progress when the input closes ends there.
    midiHooks.inputEnding = EndStoredMessageInProgress;
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
