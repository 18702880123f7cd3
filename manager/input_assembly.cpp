#include "manager/input_assembly.h"

#include "manager/maker_name.h"
#include "manager/message_store.h"

#include <limits>

namespace {

constexpr unsigned char endOfExclusive = 0xF7;

// A message must end before its length stops fitting the store's 32-bit lengths.
bool NextBufferWouldOverflow(std::int32_t continuationCount, std::uint32_t bufferLength) {
    const std::int64_t afterNext =
        (static_cast<std::int64_t>(continuationCount) + 2) * bufferLength;
    return afterNext > std::numeric_limits<std::int32_t>::max();
}

} // namespace

void AssembleInputBuffer(const unsigned char* bytes, std::uint32_t recorded,
                         std::uint32_t bufferLength, std::int32_t& continuationCount,
                         unsigned char& makerByte) {
    if (recorded == 0 || recorded > bufferLength)
        return;
    if (continuationCount == 0)
        makerByte = FindMakerByte(bytes, recorded);
    AppendMessageBytes(bytes, recorded);
    const bool full = recorded == bufferLength;
    const bool ended = !full || bytes[recorded - 1] == endOfExclusive ||
                       NextBufferWouldOverflow(continuationCount, bufferLength);
    if (!ended) {
        ++continuationCount;
        return;
    }
    const std::int64_t length =
        static_cast<std::int64_t>(bufferLength) * continuationCount + recorded;
    // Between messages before the commit: telling the user the store is full runs a message
    // loop, and the next buffer handled there starts a message of its own.
    continuationCount = 0;
    CommitMessage(static_cast<std::int32_t>(length), makerByte, LabelForm::received);
}

void EndMessageInProgress(std::uint32_t bufferLength, std::int32_t& continuationCount,
                          unsigned char makerByte) {
    if (continuationCount == 0)
        return;
    const std::int64_t length = static_cast<std::int64_t>(bufferLength) * continuationCount;
    continuationCount = 0;
    CommitMessage(static_cast<std::int32_t>(length), makerByte, LabelForm::received);
}
