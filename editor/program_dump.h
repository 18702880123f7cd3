#pragma once
#include "editor/m1_program.h"

#include <array>
#include <cstdint>
#include <span>

// The M1's program parameter dump: F0 42 3n 19 40, the 143 program bytes packed into 164 seven-
// bit bytes (groups of one high-bit byte and up to seven data bytes), F7.
inline constexpr int programDumpSize = 170;
using ProgramDump = std::array<std::uint8_t, programDumpSize>;

// Sent after every program dump, always on channel nibble 0.
inline constexpr std::array<std::uint8_t, 10> programFollowUpMessage = {
    0xF0, 0x42, 0x30, 0x19, 0x41, 0x00, 0x08, 0x00, 0x00, 0xF7};

// channel is the MIDI channel 1..16.
ProgramDump PackProgramDump(const M1Program& program, int channel);

// Decodes the program bytes of a dump; the header and the closing byte are not examined.
M1Program ProgramFromDump(std::span<const std::uint8_t, programDumpSize> message);

// A received dump becomes the program being edited and the "Revert" copy. A message of any other
// length is refused (returns false) and changes nothing.
bool UnpackProgramDump(std::span<const std::uint8_t> message);
