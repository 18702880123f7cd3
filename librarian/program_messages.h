#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <list>
#include <vector>

// Requests and programs on their way to the instrument, and its replies on their way back. The
// messages are built from the current definition (string_language.h) and sent on the process's
// output port; replies are recognised by their total length (reply_assembly.h).

// The window message that hands a recognised reply to the module window: wParam is its length,
// lParam points at its first byte. The bytes stay valid until the window's handler returns.
inline constexpr UINT replyMessage = WM_USER + 100;

// A message the output may still be reading: the bytes and header stay untouched until the output
// reports it done.
struct OutgoingMessage {
    MIDIHDR header{};
    HMIDIOUT port = nullptr;
    std::vector<std::uint8_t> bytes;
};

struct OutgoingMessages {
    std::list<OutgoingMessage> inFlight;
};

extern OutgoingMessages outgoing;

// Evaluates the request string for a program number and, when sendIt is true, sends it. Updates
// the reply values and the last checksum as the string says; every string error is shown.
// Returns the length of the request.
std::int32_t RequestProgram(std::int32_t program, bool sendIt);
// Evaluates the send string for a program number with its programSize data bytes and sends it.
void SendProgram(std::int32_t program, const std::uint8_t* data);
// Sends a message the caller built itself, the same way.
void SendRawMessage(const std::uint8_t* bytes, std::int32_t length);
// Frees the messages the output has finished with. Sending does this by itself; module windows
// also call it for MM_MOM_DONE and after closing the output.
void ReleaseSentMessages();

// For every SysEx buffer the input hands back (MM_MIM_LONGDATA): recognises a complete reply of
// expectedSize bytes, however many buffers it took, hands it to the window with replyMessage and
// waits for the window to handle it, then gives the buffer back to the input.
void AcceptReplyBuffer(HWND window, MIDIHDR* header, std::int32_t expectedSize);
