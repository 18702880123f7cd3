#include "librarian/transfer_logic.h"

#include <algorithm>
#include <cstdio>

int DeviceNumberDigits(std::int32_t rangeEnd, std::int32_t numberOffset) {
    std::int64_t highest = static_cast<std::int64_t>(rangeEnd) + numberOffset;
    int digits = 0;
    for (; highest > 0; highest /= 10)
        ++digits;
    return digits;
}

std::string DisplayedNumber(int digits, std::int64_t displayedNumber) {
    char number[32];
    std::snprintf(number, sizeof number, "%0*lld", std::clamp(digits, 0, 20),
                  static_cast<long long>(displayedNumber));
    return number;
}

std::string DeviceLine(int digits, std::int64_t displayedNumber, std::string_view name) {
    std::string line = DisplayedNumber(digits, displayedNumber);
    line += ' ';
    line += name.empty() ? std::string_view(unknownProgramName) : name;
    return line;
}

void ExtractProgramName(std::string_view offsets, const std::uint8_t* data, std::size_t available,
                        char (&name)[programNameSize]) {
    std::size_t length = 0;
    std::uint64_t position = 0;
    bool collecting = false;
    for (char c : offsets) {
        if (length == programNameSize - 1)
            break;
        if (c >= '0' && c <= '9') {
            // Past the data it stays past the data, however many digits follow.
            position =
                std::min<std::uint64_t>(position * 10 + static_cast<unsigned>(c - '0'), UINT32_MAX);
            collecting = true;
            continue;
        }
        if (collecting && data && position < available) {
            const std::uint8_t byte = data[position];
            name[length++] = byte < 0x20 ? ' ' : static_cast<char>(byte);
        }
        position = 0;
        collecting = false;
    }
    name[length] = '\0';
}

void QueueReply(ReplyQueue& queue, const std::uint8_t* reply, std::size_t length) {
    queue.replies.emplace_back(reply, reply + length);
}

bool TakeQueuedReply(ReplyQueue& queue, std::vector<std::uint8_t>& reply) {
    if (queue.replies.empty())
        return false;
    reply = std::move(queue.replies.front());
    queue.replies.pop_front();
    return true;
}

std::uint32_t ReplyWaitLimit(std::int64_t requestBytes, std::int64_t replyBytes) {
    const std::int64_t bytes =
        std::max<std::int64_t>(requestBytes, 0) + std::max<std::int64_t>(replyBytes, 0);
    const std::int64_t wire = (bytes * 320 + 999) / 1000;
    return static_cast<std::uint32_t>(std::min<std::int64_t>(wire, UINT32_MAX / 2)) +
           replyGraceMilliseconds;
}

bool ReplyOverdue(std::uint32_t sentAt, std::uint32_t now, std::uint32_t limit) {
    return static_cast<std::uint32_t>(now - sentAt) > limit;
}
