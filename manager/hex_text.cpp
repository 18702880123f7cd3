#include "manager/hex_text.h"

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

// 0-15 for a capital hexadecimal digit, -1 for anything else.
int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string FormatHexText(const unsigned char* bytes, std::size_t count) {
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        text += hexDigits[bytes[i] >> 4];
        text += hexDigits[bytes[i] & 0x0F];
        text += ' ';
    }
    return text;
}

HexTextReading ReadHexText(const char* text, std::size_t length) {
    HexTextReading reading;
    int pending = -1;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == ' ')
            continue;
        const int digit = DigitValue(text[i]);
        if (digit < 0) {
            reading.bytes.clear();
            reading.outcome = HexTextOutcome::badCharacter;
            return reading;
        }
        if (pending < 0) {
            pending = digit;
            continue;
        }
        reading.bytes.push_back(static_cast<unsigned char>(pending * 16 + digit));
        pending = -1;
    }
    if (reading.bytes.empty()) {
        reading.outcome = HexTextOutcome::empty;
    } else if (pending >= 0) {
        reading.bytes.clear();
        reading.outcome = HexTextOutcome::oddDigits;
    } else {
        reading.outcome = HexTextOutcome::message;
    }
    return reading;
}
