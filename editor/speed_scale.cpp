#include "editor/speed_scale.h"

#include <cstdio>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int Digit(char c) {
    return c - '0';
}

// Speed text is read at fixed positions; positions past the end read as nothing.
struct FixedText {
    std::string_view text;
    char operator[](std::size_t i) const { return i < text.size() ? text[i] : '\0'; }
};

// d.dd, 0.03 .. 3.00; a missing second decimal reads as 0 (1.5 is 1.50).
std::optional<int> ReadHundredths(FixedText c) {
    if (!IsDigit(c[0]) || !IsDigit(c[2]))
        return std::nullopt;
    const int hundredths = Digit(c[0]) * 100 + Digit(c[2]) * 10 + (IsDigit(c[3]) ? Digit(c[3]) : 0);
    // Above 3.00 the steps of 0.03 end; 3.01 to 3.09 would land on 3.1 to 3.3.
    if (hundredths < 3 || hundredths > 300)
        return std::nullopt;
    return (hundredths - 3) / 3;
}

// Tenths 3.1 .. 13.0 as a byte; outside those the byte would show as another number.
std::optional<int> TenthsToSpeed(int tenths) {
    if (tenths < 31 || tenths > 130)
        return std::nullopt;
    return tenths - 31 + 100;
}

} // namespace

std::string SpeedText(int b) {
    char text[16];
    if (b < 100) {
        const int hundredths = 3 + 3 * b;
        std::snprintf(text, sizeof text, "%04.2f", hundredths / 100.0);
    } else if (b < 200) {
        const int tenths = 31 + (b - 100);
        std::snprintf(text, sizeof text, "%03.1f", tenths / 10.0);
    } else {
        std::snprintf(text, sizeof text, "%02i", b - 186);
    }
    return text;
}

std::optional<int> ParseSpeedText(std::string_view text) {
    const FixedText c{text};
    std::optional<int> b;
    if (c[1] == '.') {
        if (c[0] < '3' || (c[0] == '3' && c[2] == '0'))
            b = ReadHundredths(c);
        else if (IsDigit(c[0]) && IsDigit(c[2]))
            b = TenthsToSpeed(Digit(c[0]) * 10 + Digit(c[2])); // d.d
    } else if (c[2] == '.' && c[0] <= '1' && c[1] <= '3') {
        if (IsDigit(c[0]) && IsDigit(c[1]) && IsDigit(c[3])) // dd.d, 10.0 .. 13.0
            b = TenthsToSpeed(Digit(c[0]) * 100 + Digit(c[1]) * 10 + Digit(c[3]));
    } else if (IsDigit(c[0]) && IsDigit(c[1])) {
        // Whole numbers start at 14; 10 to 13 would show as 12.7 to 13.0.
        const int whole = Digit(c[0]) * 10 + Digit(c[1]);
        if (whole >= 14)
            b = whole - 14 + 200;
    }
    if (b && *b > speedTop)
        return std::nullopt;
    return b;
}
