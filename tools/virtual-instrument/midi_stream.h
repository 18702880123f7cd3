#pragma once
// Reading a byte stream as MIDI messages, the way a receiver on a MIDI cable does: running
// status for channel messages, real-time bytes anywhere (even inside SysEx), and a SysEx
// message that runs from F0 to F7 or is cut short by the next status byte.
#include <array>
#include <cstdint>

namespace vi {

// Total length of a short message that starts with this status byte (1 for real-time and the
// system common messages without data); 0 for F0, F7 and data bytes.
int ShortMessageLength(std::uint8_t status);

struct MidiStream {
    std::uint8_t runningStatus = 0;
    std::array<std::uint8_t, 3> message{};
    int have = 0; // bytes of the short message collected so far
    int need = 0; // its total length
    bool inSysEx = false;
};

enum class MidiByteKind {
    SysExStart,    // F0
    SysExData,     // a data byte inside a SysEx message
    SysExEnd,      // the F7 that ends a SysEx message
    RealTime,      // F8-FF: a complete one-byte message wherever it comes
    ShortPart,     // a byte of a short message that is not complete yet
    ShortComplete, // the last byte of a short message; the message is in `message`
    Stray          // a data byte without a status, or an F7 outside SysEx
};

struct MidiByte {
    MidiByteKind kind = MidiByteKind::Stray;
    // The byte is a status byte that cut an unterminated SysEx message short.
    bool cutSysEx = false;
    // For ShortComplete and RealTime: the whole message, status byte first (running status
    // filled in).
    std::array<std::uint8_t, 3> message{};
    int length = 0;
};

MidiByte ReadMidiByte(MidiStream& stream, std::uint8_t byte);

// A short message packed the way the Windows MIDI functions carry it: status in the low byte.
std::uint32_t PackShortMessage(const std::array<std::uint8_t, 3>& message, int length);

} // namespace vi
