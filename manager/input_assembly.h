#pragma once
#include <cstdint>

// Turning the SysEx input buffers that come back from the input port into whole messages of the
// message store. A message longer than one buffer arrives in several full buffers; it ends with
// the first buffer that comes back less than full, or full with F7 (end of exclusive) as its
// last byte, so that a message whose length is an exact multiple of the buffer size is not
// merged with the next one.

// Adds one returned buffer's recorded bytes to the store and commits the message when it ends
// here, labelled as received. `bufferLength` is the size of every input buffer.
// `continuationCount` counts the completely filled buffers of the message being received (0
// between messages); `makerByte` is that message's manufacturer byte, taken from its first buffer.
void AssembleInputBuffer(const unsigned char* bytes, std::uint32_t recorded,
                         std::uint32_t bufferLength, std::int32_t& continuationCount,
                         unsigned char& makerByte);

// Ends the message being received with the bytes that have arrived, when the input port closes
// in the middle of it: those bytes stay one message of their own instead of being joined to the
// first message received after the port opens again.
void EndMessageInProgress(std::uint32_t bufferLength, std::int32_t& continuationCount,
                          unsigned char makerByte);
