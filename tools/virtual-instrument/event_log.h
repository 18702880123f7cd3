#pragma once
// The text of the instrument's log: one line per event,
//   <ms> <event> [<count> <hex bytes>]
// with the time in milliseconds and three decimals, hex bytes upper-case and space-separated.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vi {

// "F0 42 30 19 10 F7"
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);

// "recv 6 F0 42 30 19 10 F7"
std::string EventWithBytes(std::string_view event, const std::uint8_t* bytes, std::size_t count);

// "1234.567 <event text>\n" for a time given in microseconds.
std::string LogLine(std::int64_t microseconds, std::string_view eventText);

// Microseconds of a tick count of a clock that runs at `frequency` ticks a second, without
// overflowing for counts of many days.
std::int64_t TicksToMicroseconds(std::int64_t ticks, std::int64_t frequency);

} // namespace vi
