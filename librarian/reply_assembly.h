#pragma once
#include <cstdint>
#include <vector>

// Recognising the instrument's reply among the SysEx buffers the MIDI input returns. A message
// longer than one buffer fills it completely and continues in the next; the message ends in the
// first buffer that comes back less than full. A reply is recognised by its total length alone.
struct ReplyAssembly {
    std::int32_t fullBuffers = 0;    // completely filled buffers of the message being received
    std::vector<std::uint8_t> bytes; // that message so far, while it can still be a reply
};

extern ReplyAssembly replyAssembly;

// Takes the bytes of one returned buffer (recorded > 0). True when they end a message of exactly
// expectedSize bytes; the whole message is then in assembly.bytes, however many buffers it took.
// Messages of any other length are dropped, and nothing beyond expectedSize is ever kept.
bool AssembleReply(ReplyAssembly& assembly, const std::uint8_t* data, std::uint32_t recorded,
                   std::uint32_t bufferLength, std::int32_t expectedSize);

// Where the program's stored bytes lie in a reply: replyDataOffset bytes in, programSize long.
// Null when the reply is too short to hold them.
const std::uint8_t* ProgramDataInReply(const std::uint8_t* reply, std::int32_t replyLength);
