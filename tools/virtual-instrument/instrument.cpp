#include "tools/virtual-instrument/instrument.h"

#include "tools/virtual-instrument/event_log.h"

namespace vi {

namespace {

void Echo(InstrumentOutput& out, const std::uint8_t* bytes, std::size_t count) {
    out.wire.insert(out.wire.end(), bytes, bytes + count);
}

void Reply(Instrument& instrument, const std::vector<std::uint8_t>& reply, InstrumentOutput& out) {
    if (reply.empty()) {
        return;
    }
    ++instrument.repliesMade;
    if (instrument.dropEvery > 0 && instrument.repliesMade % instrument.dropEvery == 0) {
        out.log.push_back(EventWithBytes("drop", reply.data(), reply.size()));
        return;
    }
    Echo(out, reply.data(), reply.size());
}

void Respond(Instrument& instrument, const M1Response& response, InstrumentOutput& out) {
    if (!response.note.empty()) {
        out.log.push_back("note " + response.note);
    }
    Reply(instrument, response.reply, out);
}

void StartSysEx(Instrument& instrument) {
    instrument.route = SysExRoute::Deciding;
    instrument.held.assign(1, 0xF0);
}

// A SysEx data byte (or its closing F7): decide where the message goes as its header arrives.
void SysExByte(Instrument& instrument, std::uint8_t byte, InstrumentOutput& out) {
    switch (instrument.route) {
    case SysExRoute::PassThrough:
        Echo(out, &byte, 1);
        return;
    case SysExRoute::ForM1:
        instrument.held.push_back(byte);
        return;
    case SysExRoute::Deciding:
        instrument.held.push_back(byte);
        if (!CouldBeForM1(instrument.held.data(), instrument.held.size(), instrument.channel)) {
            instrument.route = SysExRoute::PassThrough;
            Echo(out, instrument.held.data(), instrument.held.size());
            instrument.held.clear();
        } else if (instrument.held.size() >= 4) {
            instrument.route = SysExRoute::ForM1;
        }
        return;
    }
}

void EndSysEx(Instrument& instrument, InstrumentOutput& out) {
    if (instrument.route == SysExRoute::ForM1) {
        Respond(instrument, HandleM1Message(instrument.m1, instrument.channel, instrument.held),
                out);
    } else if (instrument.route == SysExRoute::Deciding) {
        // A message too short to tell (F0 F7, F0 42 F7): not for the M1 after all.
        Echo(out, instrument.held.data(), instrument.held.size());
    }
    instrument.held.clear();
    instrument.route = SysExRoute::Deciding;
}

// A SysEx message cut short by a status byte: what was passed on stays passed on; a message for
// the M1 is incomplete and ignored.
void CutSysEx(Instrument& instrument, InstrumentOutput& out) {
    if (instrument.route == SysExRoute::ForM1) {
        out.log.push_back("note ignored unterminated message of " +
                          std::to_string(instrument.held.size()) + " bytes");
    } else if (instrument.route == SysExRoute::Deciding) {
        Echo(out, instrument.held.data(), instrument.held.size());
    }
    instrument.held.clear();
    instrument.route = SysExRoute::Deciding;
}

void ShortMessage(Instrument& instrument, const MidiByte& read, InstrumentOutput& out) {
    const std::uint8_t status = read.message[0];
    const bool programChangeForM1 =
        (status & 0xF0) == 0xC0 && (status & 0x0F) == ((instrument.channel - 1) & 0x0F);
    if (programChangeForM1) {
        // The M1 takes its own program changes; echoing them would look to the program like
        // the instrument's front panel choosing a program.
        Respond(instrument, HandleProgramChange(instrument.m1, read.message[1]), out);
        return;
    }
    Echo(out, read.message.data(), static_cast<std::size_t>(read.length));
}

void ReceiveAsM1(Instrument& instrument, std::uint8_t byte, InstrumentOutput& out) {
    const MidiByte read = ReadMidiByte(instrument.stream, byte);
    if (read.cutSysEx) {
        CutSysEx(instrument, out);
    }
    switch (read.kind) {
    case MidiByteKind::SysExStart:
        StartSysEx(instrument);
        break;
    case MidiByteKind::SysExData:
        SysExByte(instrument, byte, out);
        break;
    case MidiByteKind::SysExEnd:
        SysExByte(instrument, byte, out);
        EndSysEx(instrument, out);
        break;
    case MidiByteKind::RealTime:
    case MidiByteKind::ShortComplete:
        ShortMessage(instrument, read, out);
        break;
    case MidiByteKind::ShortPart:
        break;
    case MidiByteKind::Stray:
        Echo(out, &byte, 1);
        break;
    }
}

DumpMemory& DumpMemoryFor(Instrument& instrument, DumpModel model) {
    if (instrument.dumpModel != model) {
        instrument.dumpModel = model;
        instrument.dumpMemory = MakeDumpMemory(model);
    }
    return instrument.dumpMemory;
}

void RespondFromDump(Instrument& instrument, const DumpResponse& response, InstrumentOutput& out) {
    if (!response.note.empty()) {
        out.log.push_back("note " + response.note);
    }
    Reply(instrument, response.reply, out);
}

// The instruments played from a dump take a SysEx message whole and decide at its end whether
// it was for them; what was not comes back as through a cable.
void ReceiveFromDump(Instrument& instrument, DumpModel model, std::uint8_t byte,
                     InstrumentOutput& out) {
    DumpMemory& memory = DumpMemoryFor(instrument, model);
    const MidiByte read = ReadMidiByte(instrument.stream, byte);
    if (read.cutSysEx) {
        Echo(out, instrument.held.data(), instrument.held.size());
        instrument.held.clear();
    }
    switch (read.kind) {
    case MidiByteKind::SysExStart:
        instrument.held.assign(1, 0xF0);
        break;
    case MidiByteKind::SysExData:
        instrument.held.push_back(byte);
        break;
    case MidiByteKind::SysExEnd: {
        instrument.held.push_back(byte);
        const DumpResponse response =
            HandleDumpMessage(model, memory, instrument.channel, instrument.held);
        if (response.forUs) {
            RespondFromDump(instrument, response, out);
        } else {
            Echo(out, instrument.held.data(), instrument.held.size());
        }
        instrument.held.clear();
        break;
    }
    case MidiByteKind::RealTime:
    case MidiByteKind::ShortComplete:
        if ((read.message[0] & 0xF0) == 0xC0 &&
            (read.message[0] & 0x0F) == ((instrument.channel - 1) & 0x0F)) {
            RespondFromDump(instrument, HandleDumpProgramChange(model, memory, read.message[1]),
                            out);
        } else {
            Echo(out, read.message.data(), static_cast<std::size_t>(read.length));
        }
        break;
    case MidiByteKind::ShortPart:
        break;
    case MidiByteKind::Stray:
        Echo(out, &byte, 1);
        break;
    }
}

} // namespace

std::optional<DumpModel> DumpModelOf(InstrumentMode mode) {
    switch (mode) {
    case InstrumentMode::Tx7:
        return DumpModel::Tx7;
    case InstrumentMode::Dw8000:
        return DumpModel::Dw8000;
    case InstrumentMode::Proteus1:
        return DumpModel::Proteus1;
    case InstrumentMode::Proteus2:
        return DumpModel::Proteus2;
    case InstrumentMode::Mopho:
        return DumpModel::Mopho;
    case InstrumentMode::Prophet08:
        return DumpModel::Prophet08;
    case InstrumentMode::Tetra:
        return DumpModel::Tetra;
    case InstrumentMode::Evolver:
        return DumpModel::Evolver;
    case InstrumentMode::M1:
    case InstrumentMode::Loopback:
    case InstrumentMode::Silent:
        break;
    }
    return std::nullopt;
}

void ReceiveByte(Instrument& instrument, std::uint8_t byte, InstrumentOutput& out) {
    switch (instrument.mode) {
    case InstrumentMode::Silent:
        return;
    case InstrumentMode::Loopback:
        Echo(out, &byte, 1);
        return;
    case InstrumentMode::M1:
        ReceiveAsM1(instrument, byte, out);
        return;
    default:
        ReceiveFromDump(instrument, *DumpModelOf(instrument.mode), byte, out);
        return;
    }
}

} // namespace vi
