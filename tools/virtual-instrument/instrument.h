#pragma once
// What the instrument does with each byte that arrives from the program's output: a loopback
// cable, an M1 (which passes on, like a cable, whatever is not addressed to it), one of the
// instruments filled from a real dump (which do the same), or a silent device.
#include "tools/virtual-instrument/dump_instruments.h"
#include "tools/virtual-instrument/m1_instrument.h"
#include "tools/virtual-instrument/midi_stream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vi {

enum class InstrumentMode {
    M1,
    Loopback,
    Silent,
    Tx7,
    Dw8000,
    Proteus1,
    Proteus2,
    Mopho,
    Prophet08,
    Tetra,
    Evolver
};

// The instrument model of a mode played from a dump; nothing for the others.
std::optional<DumpModel> DumpModelOf(InstrumentMode mode);

// How a SysEx message in progress is being handled.
enum class SysExRoute {
    Deciding,    // still reading the header: for the M1 or not?
    PassThrough, // not for the M1: its bytes go straight back
    ForM1        // addressed to the M1: collected to the end
};

struct Instrument {
    InstrumentMode mode = InstrumentMode::M1;
    int channel = 1;   // 1..16
    int dropEvery = 0; // 0: every reply goes out
    int repliesMade = 0;
    MidiStream stream;
    SysExRoute route = SysExRoute::Deciding;
    std::vector<std::uint8_t> held; // the SysEx header so far, or the whole message for the M1
    M1Memory m1 = MakeM1Memory();
    // The memory of the instrument played from a dump, filled when that mode first receives.
    std::optional<DumpModel> dumpModel;
    DumpMemory dumpMemory;
};

// What one received byte caused: bytes the instrument puts on the program's input, in order,
// and log lines (event text without the time, such as "note ..." and "drop ...").
struct InstrumentOutput {
    std::vector<std::uint8_t> wire;
    std::vector<std::string> log;
};

void ReceiveByte(Instrument& instrument, std::uint8_t byte, InstrumentOutput& out);

} // namespace vi
