#pragma once
#include <optional>
#include <string>
#include <string_view>

// MIDI key numbers as names: C, C#, D .. B and an octave from -1 (key 0 is C-1, 60 is C4 and
// 127 is G9).
std::string KeyName(int key);

// A key name: a letter A-G (a-g too), an optional "#", and the octave -1 or one digit 0-9, with
// nothing after it. No key when the text is not such a name or the key lies outside 0..127.
std::optional<int> ParseKeyName(std::string_view text);
