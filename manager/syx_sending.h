#pragma once
#include "manager/syx_format.h"
#include "midi/sysex_output.h"

#include <windows.h>

#include <cstdint>
#include <string>

// Sending a .syx file to the instrument through the output port. A file of the program's own
// formats goes out message by message, each one 20 ms after the output reported the one before
// done; a standard-format file goes out as one long message. The busy flag is set while a send
// runs.

// The largest standard-format file sent (as one long message); larger ones are refused.
inline constexpr std::int64_t maxStandardSendSize = 16 * 1024 * 1024;
inline constexpr DWORD sendPauseMilliseconds = 20;

// The file being sent; the wire's part of the send is `sending`.
struct SyxSendState {
    std::string path;
    SyxFile file; // count, length table and position of the next message
};

extern SyxSendState syxSending;

// Starts sending the file at `path` and returns once its first message is handed to the output
// (the output must be open). Ignored while a send is running. A file that cannot be opened, is
// damaged or is too large is refused with a message box, and the send ends at once (state 1).
void SendFile(const char* path);
// Called for every completion of the output: sends the next message, or ends the send.
void SendNextMessage();
// Ends a send in progress at once (the output port is closing).
void StopSend();
