#pragma once
#include <cstdint>

// Programs are fetched one at a time, and a dump is paired with its request only by the order
// they come in. An answer lost on the way would leave the editor waiting for good, and asking
// again would let a late answer be taken for the wrong program; so a fetch that waits too long
// ends instead.

// How long an answer may take: both messages' time on a 31,250-baud cable (320 microseconds a
// byte) and two seconds more for the instrument and the machine.
inline constexpr std::uint32_t fetchGraceMilliseconds = 2000;
std::uint32_t FetchPatienceMilliseconds(std::int32_t requestBytes, std::int32_t replyBytes);

// True once a request sent `elapsed` milliseconds ago should have been answered.
bool FetchOverdue(std::uint32_t elapsed, std::int32_t requestBytes, std::int32_t replyBytes);

// The last program number of the list fetch: the definition's range end, kept within the two-
// digit numbers the editor shows.
int ListFetchEnd(std::int32_t rangeEnd);
