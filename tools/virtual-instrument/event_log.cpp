#include "tools/virtual-instrument/event_log.h"

#include <cstdio>

namespace vi {

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string EventWithBytes(std::string_view event, const std::uint8_t* bytes, std::size_t count) {
    std::string text(event);
    text += ' ';
    text += std::to_string(count);
    if (count > 0) {
        text += ' ';
        text += HexBytes(bytes, count);
    }
    return text;
}

std::string LogLine(std::int64_t microseconds, std::string_view eventText) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lld.%03lld ", static_cast<long long>(microseconds / 1000),
                  static_cast<long long>(microseconds % 1000));
    std::string line(stamp);
    line += eventText;
    line += '\n';
    return line;
}

std::int64_t TicksToMicroseconds(std::int64_t ticks, std::int64_t frequency) {
    if (frequency <= 0) {
        return 0;
    }
    return ticks / frequency * 1'000'000 + ticks % frequency * 1'000'000 / frequency;
}

} // namespace vi
