#include "editor/key_names.h"

namespace {

const char* const pitchClassNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                         "F#", "G",  "G#", "A",  "A#", "B"};

// Pitch class of a natural note letter A-G, or -1.
int PitchClassOfLetter(unsigned char letter) {
    switch (letter) {
    case 'A':
        return 9;
    case 'B':
        return 11;
    case 'C':
        return 0;
    case 'D':
        return 2;
    case 'E':
        return 4;
    case 'F':
        return 5;
    case 'G':
        return 7;
    default:
        return -1;
    }
}

} // namespace

std::string KeyName(int key) {
    // Key bytes come from the instrument and may hold any value up to 255; they are named all
    // the same (the octave then runs past 9).
    const int number = key & 0xFF;
    return pitchClassNames[number % 12] + std::to_string(number / 12 - 1);
}

std::optional<int> ParseKeyName(std::string_view text) {
    std::size_t i = 0;
    auto next = [&]() -> unsigned char { return i < text.size() ? text[i] : '\0'; };

    unsigned char letter = next();
    if (letter > 'G')
        letter = static_cast<unsigned char>(letter - ('a' - 'A'));
    int key = PitchClassOfLetter(letter);
    if (key < 0)
        return std::nullopt;
    ++i;
    if (next() == '#') {
        ++key;
        ++i;
    }
    int octave;
    if (next() == '-') {
        ++i;
        if (next() != '1')
            return std::nullopt;
        octave = -1;
    } else if (next() >= '0' && next() <= '9') {
        octave = next() - '0';
    } else {
        return std::nullopt;
    }
    ++i;
    if (i != text.size())
        return std::nullopt;
    key += (octave + 1) * 12;
    if (key < 0 || key > 127)
        return std::nullopt;
    return key;
}
