#pragma once
// The Korg M1's program parameter dump: 143 program bytes travel as 164 seven-bit bytes.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vi {

inline constexpr std::size_t kProgramSize = 143;
inline constexpr std::size_t kProgramDumpSize = 170;
inline constexpr std::uint8_t kKorgId = 0x42;
inline constexpr std::uint8_t kM1Id = 0x19;

using ProgramBytes = std::array<std::uint8_t, kProgramSize>;
using ProgramDump = std::array<std::uint8_t, kProgramDumpSize>;

// F0 42 3n 19 40, 164 packed bytes, F7, with n = channel - 1 (channel 1..16; only its low
// four bits count). Each group of seven program bytes is led by a byte whose bit r holds bit 7
// of the group's byte r; the last group holds three bytes.
std::array<std::uint8_t, 170> EncodeProgramDump(const std::array<std::uint8_t, 143>& program,
                                                int channel);

// The 143 program bytes of a 170-byte dump (message[0..169]); the header and the end byte are
// not examined.
std::array<std::uint8_t, 143> DecodeProgramDump(const std::uint8_t* message);

} // namespace vi
