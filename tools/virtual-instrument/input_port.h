#pragma once
// The program's side of the instrument's MIDI input: bytes that arrive on the cable are read as
// MIDI messages; SysEx bytes fill the buffers the program queued, in order, and a buffer goes
// back when it is full or when its message ends; every other message goes back on its own.
#include "tools/virtual-instrument/midi_stream.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vi {

// One buffer the program queued: `header` identifies it to the driver, `data` and `length` are
// its memory; `recorded` counts the bytes written into it.
struct InputBuffer {
    void* header = nullptr;
    std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    std::uint32_t recorded = 0;
};

enum class InputEventKind {
    BufferDone,   // `buffer` goes back to the program
    ShortMessage, // `shortMessage` (packed, status in the low byte) goes to the program
    Log           // `text` is a log event ("send ...", "note ...")
};

struct InputEvent {
    InputEventKind kind = InputEventKind::Log;
    InputBuffer buffer;
    std::uint32_t shortMessage = 0;
    std::string text;
};

struct InputPort {
    bool started = false;
    std::deque<InputBuffer> queued; // the front one is being filled
    MidiStream stream;
    std::vector<std::uint8_t> message; // the SysEx message arriving now, for the log
    std::size_t lostNotStarted = 0;    // bytes of it that came while input was stopped
    std::size_t lostNoBuffer = 0;      // bytes of it that found no buffer queued
};

void QueueBuffer(InputPort& port, InputBuffer buffer);

// One byte from the cable.
void DeliverByte(InputPort& port, std::uint8_t byte, std::vector<InputEvent>& events);

// Start: bytes are taken from now on. Stop: the buffer being filled goes back with what it
// holds; empty buffers stay queued. Reset: stop, and every queued buffer goes back, with the
// bytes it holds (0 for those not yet begun).
void StartInput(InputPort& port);
void StopInput(InputPort& port, std::vector<InputEvent>& events);
void ResetInput(InputPort& port, std::vector<InputEvent>& events);

} // namespace vi
