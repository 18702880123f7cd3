#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// The pure parts of the Librarian's conversation with the instrument: how a device list line
// reads, how a name is cut out of a received program, the replies held back while another is
// being handled, and when a request counts as unanswered.

// Device list lines: the displayed number (program number + numberOffset), zero-padded to as
// many digits as the highest displayed number has (none when that is 0 or less), a space and the
// name, or "<Unknown>" while no name is known.
inline constexpr const char* unknownProgramName = "<Unknown>";

int DeviceNumberDigits(std::int32_t rangeEnd, std::int32_t numberOffset);
std::string DisplayedNumber(int digits, std::int64_t displayedNumber);
std::string DeviceLine(int digits, std::int64_t displayedNumber, std::string_view name);

// A program name: at most 29 characters and a terminator, as banks and device lists keep them.
inline constexpr std::size_t programNameSize = 30;

// Reads the name out of a program's stored bytes. `offsets` is a text of decimal positions into
// data, each ended by any character that is not a digit (digits at the very end are not used);
// empty separators are skipped. A position at or beyond `available` names no byte the reply held
// and is left out. A byte below 0x20 becomes a space: real instruments pad names with zero bytes,
// which would otherwise cut the name short in every list.
void ExtractProgramName(std::string_view offsets, const std::uint8_t* data, std::size_t available,
                        char (&name)[programNameSize]);

// Replies that arrive while another is being handled (a question box or the Save As dialog keeps
// messages flowing). The input buffer goes back to the driver as soon as the window's handler
// returns, so each is copied, and they are handled afterwards in the order they came.
struct ReplyQueue {
    std::deque<std::vector<std::uint8_t>> replies;
};

void QueueReply(ReplyQueue& queue, const std::uint8_t* reply, std::size_t length);
// The oldest held reply; false when none is held.
bool TakeQueuedReply(ReplyQueue& queue, std::vector<std::uint8_t>& reply);

// How long a request of the transfers waits for its reply before the transfer ends: the wire
// time of the request and of the reply at 31,250 baud (320 microseconds a byte), plus a grace of
// two seconds for the instrument and a loaded computer.
inline constexpr std::uint32_t replyGraceMilliseconds = 2000;
std::uint32_t ReplyWaitLimit(std::int64_t requestBytes, std::int64_t replyBytes);
// Whether a request sent at `sentAt` (a millisecond tick count that may wrap) has waited longer
// than `limit` at `now`.
bool ReplyOverdue(std::uint32_t sentAt, std::uint32_t now, std::uint32_t limit);
