#include "editor/box_number.h"

#include <climits>

int ReadBoxNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return notANumber;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return notANumber;
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            return notANumber;
    }
    return static_cast<int>(negative ? -value : value);
}

std::string_view BoxTextHead(std::string_view text) {
    return text.substr(0, boxTextLimit);
}
