#pragma once
#include "manager/syx_format.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <string>

// Sending a .syx file to the instrument through the output port. A file of the program's own
// formats goes out message by message, each one 20 ms after the output reported the one before
// done; a standard-format file goes out as one long message. The busy flag is set while a send
// runs.

// The largest standard-format file sent (as one long message); larger ones are refused.
inline constexpr std::int64_t maxStandardSendSize = 16 * 1024 * 1024;
inline constexpr DWORD sendPauseMilliseconds = 20;

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
    std::string path;
    SyxFile file; // the file being sent: count, length table and position of the next message
    HGLOBAL messageBlock = nullptr;
};

extern SendState sending;

// Starts sending the file at `path` and returns once its first message is handed to the output
// (the output must be open). Ignored while a send is running. A file that cannot be opened, is
// damaged or is too large is refused with a message box, and the send ends at once (state 1).
void SendFile(const char* path);
// Called for every completion of the output: sends the next message, or ends the send.
void SendNextMessage();
// The output's completion function when it is opened without a window: on each "done" notice
// traces "!", adds 1 to the pending completions and sets the state to -1.
void CALLBACK OutputCompletion(HMIDIOUT output, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                               DWORD_PTR param2);
// For the loop that waits on the command-line path, after SendNextMessage has handled a
// completion: counts it off and sets the state back to 0 when no other is pending. A completion
// that arrives meanwhile is never lost.
void AcknowledgeCompletion();
// Ends a send in progress at once (the output port is closing).
void StopSend();
