#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A SysEx message as the hex editor shows it: one line of two-digit hexadecimal byte pairs,
// each followed by a space, and the reading of what the user typed back into bytes.

// The longest message the editor opens, and the longest text it accepts on OK.
inline constexpr std::int32_t maxEditedMessageLength = 10000;
inline constexpr std::size_t maxHexTextLength = 30000;
// The editor reads the field into a buffer of this size, so at most one character less.
inline constexpr std::size_t hexTextBufferSize = 32000;

// "F0 41 10 " for F0 41 10: three characters a byte, the last one a space; capital digits.
std::string FormatHexText(const unsigned char* bytes, std::size_t count);

enum class HexTextOutcome {
    message,      // `bytes` holds the message
    empty,        // no digit at all (nothing, or only spaces)
    badCharacter, // something other than 0-9, A-F or a space; nothing is taken
    oddDigits     // a digit is left over at the end, without its partner
};

struct HexTextReading {
    HexTextOutcome outcome = HexTextOutcome::empty;
    std::vector<unsigned char> bytes; // only for HexTextOutcome::message
};

// Reads byte pairs of capital hexadecimal digits. Spaces are skipped wherever they stand, so
// they do not separate pairs: "3 0" is the byte 30. A text with a stray character counts as
// empty; a text whose digits give no byte counts as empty even when one digit is left over.
HexTextReading ReadHexText(const char* text, std::size_t length);
