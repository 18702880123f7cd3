// The program's side of the virtual instrument's input: buffers filled and returned in order.
#include "tools/virtual-instrument/input_port.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using vi::InputEventKind;

struct Buffers {
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> memory;
    vi::InputBuffer Make(std::uint32_t length) {
        memory.push_back(std::make_unique<std::vector<std::uint8_t>>(length));
        vi::InputBuffer buffer;
        buffer.header = memory.back().get();
        buffer.data = memory.back()->data();
        buffer.length = length;
        return buffer;
    }
};

std::vector<vi::InputEvent> Deliver(vi::InputPort& port, const std::vector<std::uint8_t>& bytes) {
    std::vector<vi::InputEvent> events;
    for (std::uint8_t b : bytes) {
        vi::DeliverByte(port, b, events);
    }
    return events;
}

std::vector<vi::InputEvent> OfKind(const std::vector<vi::InputEvent>& events, InputEventKind kind) {
    std::vector<vi::InputEvent> out;
    for (const auto& e : events) {
        if (e.kind == kind) {
            out.push_back(e);
        }
    }
    return out;
}

std::vector<std::uint8_t> SysEx(std::size_t length) {
    std::vector<std::uint8_t> message(length);
    message.front() = 0xF0;
    for (std::size_t i = 1; i + 1 < length; ++i) {
        message[i] = static_cast<std::uint8_t>(i % 127);
    }
    message.back() = 0xF7;
    return message;
}

TEST(ViInputPort, LongMessageFillsBuffersInOrder) {
    Buffers buffers;
    vi::InputPort port;
    for (int i = 0; i < 4; ++i) {
        vi::QueueBuffer(port, buffers.Make(32000));
    }
    vi::StartInput(port);
    const auto message = SysEx(70000);
    const auto events = Deliver(port, message);
    const auto done = OfKind(events, InputEventKind::BufferDone);
    ASSERT_EQ(done.size(), 3u);
    EXPECT_EQ(done[0].buffer.recorded, 32000u);
    EXPECT_EQ(done[1].buffer.recorded, 32000u);
    EXPECT_EQ(done[2].buffer.recorded, 6000u);
    EXPECT_EQ(done[0].buffer.header, buffers.memory[0].get());
    EXPECT_EQ(done[2].buffer.header, buffers.memory[2].get());
    std::vector<std::uint8_t> joined;
    for (int i = 0; i < 3; ++i) {
        joined.insert(joined.end(), buffers.memory[i]->begin(),
                      buffers.memory[i]->begin() + done[i].buffer.recorded);
    }
    EXPECT_EQ(joined, message);
    const auto logs = OfKind(events, InputEventKind::Log);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0].text.rfind("send 70000 F0 01 02 ", 0), 0u);
    EXPECT_EQ(port.queued.size(), 1u);
}

TEST(ViInputPort, MessageThatFillsABufferExactlyReturnsItOnce) {
    Buffers buffers;
    vi::InputPort port;
    vi::QueueBuffer(port, buffers.Make(100));
    vi::QueueBuffer(port, buffers.Make(100));
    vi::StartInput(port);
    const auto done = OfKind(Deliver(port, SysEx(100)), InputEventKind::BufferDone);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].buffer.recorded, 100u);
    EXPECT_EQ(port.queued.size(), 1u);
    EXPECT_EQ(port.queued.front().recorded, 0u);
}

TEST(ViInputPort, ShortMessagesGoBackPackedAndDoNotTouchBuffers) {
    Buffers buffers;
    vi::InputPort port;
    vi::QueueBuffer(port, buffers.Make(100));
    vi::StartInput(port);
    const auto events = Deliver(port, {0xF0, 0x43, 0xF8, 0x10, 0xF7, 0xC2, 0x05});
    const auto shorts = OfKind(events, InputEventKind::ShortMessage);
    ASSERT_EQ(shorts.size(), 2u);
    EXPECT_EQ(shorts[0].shortMessage, 0xF8u);
    EXPECT_EQ(shorts[1].shortMessage, 0x05C2u);
    const auto done = OfKind(events, InputEventKind::BufferDone);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].buffer.recorded, 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(buffers.memory[0]->begin(), buffers.memory[0]->begin() + 4),
              (std::vector<std::uint8_t>{0xF0, 0x43, 0x10, 0xF7}));
    const auto logs = OfKind(events, InputEventKind::Log);
    ASSERT_EQ(logs.size(), 3u);
    EXPECT_EQ(logs[0].text, "send 1 F8");
    EXPECT_EQ(logs[1].text, "send 4 F0 43 10 F7");
    EXPECT_EQ(logs[2].text, "send 2 C2 05");
}

TEST(ViInputPort, SysExCutShortReturnsWhatArrived) {
    Buffers buffers;
    vi::InputPort port;
    vi::QueueBuffer(port, buffers.Make(100));
    vi::StartInput(port);
    const auto events = Deliver(port, {0xF0, 0x43, 0x01, 0x90, 0x3C, 0x40});
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, InputEventKind::BufferDone);
    EXPECT_EQ(events[0].buffer.recorded, 3u);
    EXPECT_EQ(events[1].text, "send 3 F0 43 01");
    EXPECT_EQ(events[2].kind, InputEventKind::ShortMessage);
    EXPECT_EQ(events[2].shortMessage, 0x403C90u);
}

TEST(ViInputPort, BytesAreLostWhileStoppedOrWithoutBuffers) {
    Buffers buffers;
    vi::InputPort port;
    vi::QueueBuffer(port, buffers.Make(4));
    auto events = Deliver(port, {0xF0, 0x01, 0xF7, 0x90, 0x3C, 0x40});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].text, "note input lost 3 of 3 bytes: input not started");
    EXPECT_EQ(events[1].text, "note input lost 3 of 3 bytes: input not started");
    EXPECT_EQ(port.queued.front().recorded, 0u);

    vi::StartInput(port);
    events = Deliver(port, {0xF0, 0x01, 0x02, 0x03, 0x04, 0x05, 0xF7});
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, InputEventKind::BufferDone);
    EXPECT_EQ(events[0].buffer.recorded, 4u);
    EXPECT_EQ(events[1].text, "note input lost 3 of 7 bytes: no buffer queued");
    EXPECT_EQ(events[2].text.rfind("send 7 ", 0), 0u);
}

TEST(ViInputPort, StopReturnsOnlyThePartlyFilledBuffer) {
    Buffers buffers;
    vi::InputPort port;
    vi::QueueBuffer(port, buffers.Make(100));
    vi::QueueBuffer(port, buffers.Make(100));
    vi::StartInput(port);
    Deliver(port, {0xF0, 0x01, 0x02});
    std::vector<vi::InputEvent> events;
    vi::StopInput(port, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].buffer.recorded, 3u);
    EXPECT_EQ(port.queued.size(), 1u);
    events.clear();
    vi::StopInput(port, events);
    EXPECT_TRUE(events.empty());
}

TEST(ViInputPort, ResetReturnsEveryQueuedBuffer) {
    Buffers buffers;
    vi::InputPort port;
    for (int i = 0; i < 3; ++i) {
        vi::QueueBuffer(port, buffers.Make(100));
    }
    vi::StartInput(port);
    std::vector<vi::InputEvent> events;
    vi::ResetInput(port, events);
    ASSERT_EQ(events.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(events[i].kind, InputEventKind::BufferDone);
        EXPECT_EQ(events[i].buffer.recorded, 0u);
        EXPECT_EQ(events[i].buffer.header, buffers.memory[i].get());
    }
    EXPECT_TRUE(port.queued.empty());
    EXPECT_FALSE(port.started);
}

TEST(ViInputPort, EmptyBufferIsReturnedRatherThanWrittenPast) {
    Buffers buffers;
    vi::InputPort port;
    vi::QueueBuffer(port, buffers.Make(0));
    vi::QueueBuffer(port, buffers.Make(8));
    vi::StartInput(port);
    const auto done = OfKind(Deliver(port, {0xF0, 0x01, 0xF7}), InputEventKind::BufferDone);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].buffer.recorded, 0u);
    EXPECT_EQ(done[1].buffer.recorded, 3u);
}

} // namespace
