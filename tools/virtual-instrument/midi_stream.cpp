#include "tools/virtual-instrument/midi_stream.h"

namespace vi {

int ShortMessageLength(std::uint8_t status) {
    if (status < 0x80) {
        return 0;
    }
    if (status < 0xF0) {
        const std::uint8_t type = status & 0xF0;
        return (type == 0xC0 || type == 0xD0) ? 2 : 3;
    }
    switch (status) {
    case 0xF0:
    case 0xF7:
        return 0;
    case 0xF1: // time code quarter frame
    case 0xF3: // song select
        return 2;
    case 0xF2: // song position
        return 3;
    default: // F4-F6 and real-time F8-FF
        return 1;
    }
}

namespace {

MidiByte Complete(MidiStream& stream, bool cutSysEx) {
    MidiByte result;
    result.kind = MidiByteKind::ShortComplete;
    result.cutSysEx = cutSysEx;
    result.message = stream.message;
    result.length = stream.need;
    stream.have = 0;
    stream.need = 0;
    return result;
}

MidiByte ReadStatusByte(MidiStream& stream, std::uint8_t byte) {
    const bool cutSysEx = stream.inSysEx && byte != 0xF7;
    MidiByte result;
    result.cutSysEx = cutSysEx;
    stream.have = 0;
    stream.need = 0;
    if (byte == 0xF0) {
        stream.inSysEx = true;
        stream.runningStatus = 0;
        result.kind = MidiByteKind::SysExStart;
        return result;
    }
    if (byte == 0xF7) {
        result.kind = stream.inSysEx ? MidiByteKind::SysExEnd : MidiByteKind::Stray;
        stream.inSysEx = false;
        stream.runningStatus = 0;
        return result;
    }
    stream.inSysEx = false;
    // Channel messages set running status; system common messages clear it.
    stream.runningStatus = byte < 0xF0 ? byte : 0;
    stream.message = {byte, 0, 0};
    stream.have = 1;
    stream.need = ShortMessageLength(byte);
    if (stream.need == 1) {
        return Complete(stream, cutSysEx);
    }
    result.kind = MidiByteKind::ShortPart;
    return result;
}

} // namespace

MidiByte ReadMidiByte(MidiStream& stream, std::uint8_t byte) {
    if (byte >= 0xF8) {
        MidiByte result;
        result.kind = MidiByteKind::RealTime;
        result.message = {byte, 0, 0};
        result.length = 1;
        return result;
    }
    if (byte >= 0x80) {
        return ReadStatusByte(stream, byte);
    }
    if (stream.inSysEx) {
        MidiByte result;
        result.kind = MidiByteKind::SysExData;
        return result;
    }
    if (stream.have == 0) {
        if (stream.runningStatus == 0) {
            return MidiByte{};
        }
        stream.message = {stream.runningStatus, 0, 0};
        stream.have = 1;
        stream.need = ShortMessageLength(stream.runningStatus);
    }
    stream.message[static_cast<std::size_t>(stream.have++)] = byte;
    if (stream.have == stream.need) {
        return Complete(stream, false);
    }
    MidiByte result;
    result.kind = MidiByteKind::ShortPart;
    return result;
}

std::uint32_t PackShortMessage(const std::array<std::uint8_t, 3>& message, int length) {
    std::uint32_t packed = 0;
    for (int i = 0; i < length && i < 3; ++i) {
        packed |= static_cast<std::uint32_t>(message[static_cast<std::size_t>(i)]) << (8 * i);
    }
    return packed;
}

} // namespace vi
