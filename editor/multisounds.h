#pragma once
#include <array>

// The M1's 100 multisounds; the index is the oscillator's multisound byte and the position in
// the multisound combo box. Names have at most 14 characters.
inline constexpr int multisoundCount = 100;
extern const std::array<const char*, multisoundCount> multisoundNames;
