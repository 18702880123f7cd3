#pragma once
// A Korg M1 in program mode, as its MIDI implementation describes it: 100 programs, an edit
// buffer, a global channel; it answers dump requests, takes program dumps and write requests.
#include "tools/virtual-instrument/m1_dump.h"
#include "tools/virtual-instrument/m1_programs.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vi {

// M1 functions (the byte after F0 42 3n 19).
inline constexpr std::uint8_t kProgramDumpRequest = 0x10;
inline constexpr std::uint8_t kProgramWriteRequest = 0x11;
inline constexpr std::uint8_t kWriteCompleted = 0x21;
inline constexpr std::uint8_t kWriteError = 0x22;
inline constexpr std::uint8_t kDataLoadCompleted = 0x23;
inline constexpr std::uint8_t kDataLoadError = 0x24;
inline constexpr std::uint8_t kProgramParameterDump = 0x40;
inline constexpr std::uint8_t kParameterChange = 0x41;

struct M1Memory {
    std::array<ProgramBytes, kProgramCount> programs{};
    ProgramBytes editBuffer{};
    int currentProgram = 0;
};

// What the M1 did with one message: the reply it sends (empty for none) and a note for the log.
struct M1Response {
    std::vector<std::uint8_t> reply;
    std::string note;
};

// The factory programs, program 00 selected and in the edit buffer.
M1Memory MakeM1Memory();

// Whether a SysEx message starting with these bytes is addressed to an M1 on `channel` (1..16):
// F0 42 3n 19. `count` may be shorter than four while the header is still arriving; then the
// answer says whether it can still be.
bool CouldBeForM1(const std::uint8_t* bytes, std::size_t count, int channel);

// A program change on the M1's channel: selects the program and loads it into the edit buffer.
M1Response HandleProgramChange(M1Memory& m1, int program);

// One complete SysEx message (F0 ... F7) addressed to this M1.
M1Response HandleM1Message(M1Memory& m1, int channel, const std::vector<std::uint8_t>& message);

// The ten name characters of a program, for notes.
std::string ProgramName(const ProgramBytes& program);

} // namespace vi
