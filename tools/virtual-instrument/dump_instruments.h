#pragma once
// Instruments whose memory is filled from a real dump of the instrument (tests/data): a Yamaha
// TX7, a Korg DW-8000, E-mu Proteus/1 and /2, and the Dave Smith Instruments Mopho, Prophet '08,
// Tetra and Evolver. Each answers the single-program requests of its MIDI implementation and
// takes program data the way the instrument does (into its edit buffer or straight into memory).
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace vi {

enum class DumpModel { Tx7, Dw8000, Proteus1, Proteus2, Mopho, Prophet08, Tetra, Evolver };

using Bytes = std::vector<std::uint8_t>;

struct DumpMemory {
    // Stored programs by number. TX7: 128-byte packed voices; DW-8000: 51-byte programs; the
    // others: the program data as their dumps carry it (after the program number, checksum
    // included).
    std::map<int, Bytes> programs;
    Bytes editBuffer; // TX7: a 155-byte voice (VCED); DW-8000: a 51-byte program
    int currentProgram = 0;
};

// What the instrument did with one message: its reply (empty for none), a note for the log, and
// whether the message was addressed to it at all (if not, it goes back as through a cable).
struct DumpResponse {
    Bytes reply;
    std::string note;
    bool forUs = true;
};

// The memory as the dump of tests/data leaves it (the dump received on MIDI channel 1).
DumpMemory MakeDumpMemory(DumpModel model);

// One complete SysEx message (F0 ... F7); channel 1..16.
DumpResponse HandleDumpMessage(DumpModel model, DumpMemory& memory, int channel,
                               const Bytes& message);

// A program change on the instrument's channel.
DumpResponse HandleDumpProgramChange(DumpModel model, DumpMemory& memory, int program);

// The name the instrument shows for a stored program; empty for instruments without names.
std::string DumpProgramName(DumpModel model, const DumpMemory& memory, int program);

// The instrument's answer to a request for one program (selecting it first where the instrument
// needs a program change): what a librarian receives. Empty when there is no such program.
Bytes DumpProgramReply(DumpModel model, DumpMemory& memory, int channel, int program);

// The real dump that fills the memory, as the build embeds it.
std::span<const std::uint8_t> EmbeddedDump(DumpModel model);

} // namespace vi
