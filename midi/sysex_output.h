#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

// The wire of a send: long messages handed to the output port one at a time, and the output's
// completions counted. What is sent, and when the next message goes, is the sender's
// (manager/syx_sending.h). The busy flag is set while a send runs.

// Values of SendState::state.
inline constexpr std::int32_t sendWaiting = 0;     // a message is on its way
inline constexpr std::int32_t sendCompletion = -1; // a completion arrived, not yet handled
inline constexpr std::int32_t sendFinished = 1;

struct SendState {
    // Written by OutputCompletion, possibly on the output's own thread (command-line send), and
    // read by the loop that waits for it; hence atomic.
    std::atomic<std::int32_t> state{sendFinished};
    std::atomic<std::int32_t> pendingCompletions{0};
    // An event that OutputCompletion sets after each completion, so that the command-line loop
    // can wait for it instead of polling; none on the Manager's path.
    std::atomic<HANDLE> completionSignal{nullptr};
    bool active = false; // a send has started and not ended
    HGLOBAL headerBlock = nullptr;
    MIDIHDR* header = nullptr;
    HGLOBAL messageBlock = nullptr;
};

extern SendState sending;

// Gives the send its header, zeroed; false when there is no memory for it.
bool AllocateSendHeader();
// The send has ended: its header is released.
void ReleaseSendHeader();
// A block of `length` bytes for the next message, to be filled before it is handed to the output;
// null when there is no memory for it.
unsigned char* AllocateMessageBlock(std::int32_t length);
// Hands the `length` bytes of the message block to the output. False when the message did not go
// out, so no completion will come for it. The captions name the failed step in the error box.
bool HandMessageToOutput(unsigned char* bytes, std::int32_t length, const char* prepareCaption,
                         const char* sendCaption);
// The message just sent is done: its header is unprepared and its block released.
void ReleaseMessage();

// The output's completion function when it is opened without a window: on each "done" notice
// traces "!", adds 1 to the pending completions and sets the state to -1.
void CALLBACK OutputCompletion(HMIDIOUT output, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                               DWORD_PTR param2);
// For the loop that waits on the command-line path, after SendNextMessage has handled a
// completion: counts it off and sets the state back to 0 when no other is pending. A completion
// that arrives meanwhile is never lost.
void AcknowledgeCompletion();
