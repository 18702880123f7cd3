#include "editor/fetch_watch.h"

#include "editor/program_box.h"

#include <algorithm>

namespace {

constexpr std::uint32_t byteMicroseconds = 320;

std::uint32_t WireMilliseconds(std::int32_t bytes) {
    const std::uint32_t counted = static_cast<std::uint32_t>(std::clamp(bytes, 0, 1 << 20));
    return (counted * byteMicroseconds + 999) / 1000;
}

} // namespace

std::uint32_t FetchPatienceMilliseconds(std::int32_t requestBytes, std::int32_t replyBytes) {
    return WireMilliseconds(requestBytes) + WireMilliseconds(replyBytes) + fetchGraceMilliseconds;
}

bool FetchOverdue(std::uint32_t elapsed, std::int32_t requestBytes, std::int32_t replyBytes) {
    return elapsed > FetchPatienceMilliseconds(requestBytes, replyBytes);
}

int ListFetchEnd(std::int32_t rangeEnd) {
    return std::clamp<std::int32_t>(rangeEnd, 0, programListLimit - 1);
}
