#include "tools/virtual-instrument/input_port.h"

#include "tools/virtual-instrument/event_log.h"

namespace vi {

namespace {

void ReturnFront(InputPort& port, std::vector<InputEvent>& events) {
    InputEvent event;
    event.kind = InputEventKind::BufferDone;
    event.buffer = port.queued.front();
    port.queued.pop_front();
    events.push_back(event);
}

void Log(std::vector<InputEvent>& events, std::string text) {
    InputEvent event;
    event.kind = InputEventKind::Log;
    event.text = std::move(text);
    events.push_back(std::move(event));
}

void LogLostBytes(std::vector<InputEvent>& events, std::size_t lost, std::size_t total,
                  const char* reason) {
    Log(events, "note input lost " + std::to_string(lost) + " of " + std::to_string(total) +
                    " bytes: " + reason);
}

// Puts one SysEx byte into the front buffer; a full buffer goes back at once.
void StoreSysExByte(InputPort& port, std::uint8_t byte, std::vector<InputEvent>& events) {
    port.message.push_back(byte);
    if (!port.started) {
        ++port.lostNotStarted;
        return;
    }
    while (!port.queued.empty() && port.queued.front().length == 0) {
        ReturnFront(port, events);
    }
    if (port.queued.empty()) {
        ++port.lostNoBuffer;
        return;
    }
    InputBuffer& buffer = port.queued.front();
    buffer.data[buffer.recorded++] = byte;
    if (buffer.recorded == buffer.length) {
        ReturnFront(port, events);
    }
}

// The SysEx message has ended (F7) or been cut short: its partly filled buffer goes back and the
// log says what reached the program.
void FinishSysEx(InputPort& port, std::vector<InputEvent>& events) {
    if (port.message.empty()) {
        return;
    }
    if (port.started && !port.queued.empty() && port.queued.front().recorded > 0) {
        ReturnFront(port, events);
    }
    const std::size_t total = port.message.size();
    if (port.lostNotStarted > 0) {
        LogLostBytes(events, port.lostNotStarted, total, "input not started");
    }
    if (port.lostNoBuffer > 0) {
        LogLostBytes(events, port.lostNoBuffer, total, "no buffer queued");
    }
    if (port.lostNotStarted + port.lostNoBuffer < total) {
        Log(events, EventWithBytes("send", port.message.data(), total));
    }
    port.message.clear();
    port.lostNotStarted = 0;
    port.lostNoBuffer = 0;
}

void DeliverShortMessage(InputPort& port, const MidiByte& read, std::vector<InputEvent>& events) {
    const auto length = static_cast<std::size_t>(read.length);
    if (!port.started) {
        LogLostBytes(events, length, length, "input not started");
        return;
    }
    InputEvent event;
    event.kind = InputEventKind::ShortMessage;
    event.shortMessage = PackShortMessage(read.message, read.length);
    events.push_back(event);
    Log(events, EventWithBytes("send", read.message.data(), length));
}

} // namespace

void QueueBuffer(InputPort& port, InputBuffer buffer) {
    buffer.recorded = 0;
    port.queued.push_back(buffer);
}

void DeliverByte(InputPort& port, std::uint8_t byte, std::vector<InputEvent>& events) {
    const MidiByte read = ReadMidiByte(port.stream, byte);
    if (read.cutSysEx) {
        FinishSysEx(port, events);
    }
    switch (read.kind) {
    case MidiByteKind::SysExStart:
        StoreSysExByte(port, byte, events);
        break;
    case MidiByteKind::SysExData:
        StoreSysExByte(port, byte, events);
        break;
    case MidiByteKind::SysExEnd:
        StoreSysExByte(port, byte, events);
        FinishSysEx(port, events);
        break;
    case MidiByteKind::RealTime:
    case MidiByteKind::ShortComplete:
        DeliverShortMessage(port, read, events);
        break;
    case MidiByteKind::ShortPart:
        break;
    case MidiByteKind::Stray:
        Log(events, "note input discarded a byte outside any message: " + HexBytes(&byte, 1));
        break;
    }
}

void StartInput(InputPort& port) {
    port.started = true;
}

void StopInput(InputPort& port, std::vector<InputEvent>& events) {
    port.started = false;
    if (!port.queued.empty() && port.queued.front().recorded > 0) {
        ReturnFront(port, events);
    }
}

void ResetInput(InputPort& port, std::vector<InputEvent>& events) {
    port.started = false;
    while (!port.queued.empty()) {
        ReturnFront(port, events);
    }
    // Whatever of a message was on its way is gone; the stream starts over.
    port.stream = MidiStream{};
    port.message.clear();
    port.lostNotStarted = 0;
    port.lostNoBuffer = 0;
}

} // namespace vi
