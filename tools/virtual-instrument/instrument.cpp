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

} // namespace

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
    }
}

} // namespace vi
