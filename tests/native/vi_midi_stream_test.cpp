// The virtual instrument's reading of a MIDI byte stream.
#include "tools/virtual-instrument/midi_stream.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using vi::MidiByteKind;

std::vector<vi::MidiByte> ReadAll(vi::MidiStream& stream, const std::vector<std::uint8_t>& bytes) {
    std::vector<vi::MidiByte> out;
    for (std::uint8_t b : bytes) {
        out.push_back(vi::ReadMidiByte(stream, b));
    }
    return out;
}

TEST(ViMidiStream, MessageLengthsFollowTheStatusByte) {
    EXPECT_EQ(vi::ShortMessageLength(0x7F), 0);
    EXPECT_EQ(vi::ShortMessageLength(0x80), 3);
    EXPECT_EQ(vi::ShortMessageLength(0xBF), 3);
    EXPECT_EQ(vi::ShortMessageLength(0xC0), 2);
    EXPECT_EQ(vi::ShortMessageLength(0xDF), 2);
    EXPECT_EQ(vi::ShortMessageLength(0xEF), 3);
    EXPECT_EQ(vi::ShortMessageLength(0xF0), 0);
    EXPECT_EQ(vi::ShortMessageLength(0xF1), 2);
    EXPECT_EQ(vi::ShortMessageLength(0xF2), 3);
    EXPECT_EQ(vi::ShortMessageLength(0xF3), 2);
    EXPECT_EQ(vi::ShortMessageLength(0xF6), 1);
    EXPECT_EQ(vi::ShortMessageLength(0xF7), 0);
    EXPECT_EQ(vi::ShortMessageLength(0xF8), 1);
    EXPECT_EQ(vi::ShortMessageLength(0xFF), 1);
}

TEST(ViMidiStream, RunningStatusRepeatsTheLastChannelStatus) {
    vi::MidiStream stream;
    const auto read = ReadAll(stream, {0x93, 0x3C, 0x40, 0x3E, 0x41});
    EXPECT_EQ(read[1].kind, MidiByteKind::ShortPart);
    ASSERT_EQ(read[2].kind, MidiByteKind::ShortComplete);
    EXPECT_EQ(read[2].length, 3);
    EXPECT_EQ(read[2].message, (std::array<std::uint8_t, 3>{0x93, 0x3C, 0x40}));
    ASSERT_EQ(read[4].kind, MidiByteKind::ShortComplete);
    EXPECT_EQ(read[4].message, (std::array<std::uint8_t, 3>{0x93, 0x3E, 0x41}));
    EXPECT_EQ(vi::PackShortMessage(read[4].message, read[4].length), 0x413E93u);
}

TEST(ViMidiStream, ProgramChangeFollowedBySysExInOneStream) {
    vi::MidiStream stream;
    const auto read = ReadAll(stream, {0xC0, 0x05, 0xF0, 0x42, 0x30, 0xF7, 0x07});
    ASSERT_EQ(read[1].kind, MidiByteKind::ShortComplete);
    EXPECT_EQ(read[1].length, 2);
    EXPECT_EQ(read[1].message[1], 0x05);
    EXPECT_EQ(read[2].kind, MidiByteKind::SysExStart);
    EXPECT_FALSE(read[2].cutSysEx);
    EXPECT_EQ(read[3].kind, MidiByteKind::SysExData);
    EXPECT_EQ(read[5].kind, MidiByteKind::SysExEnd);
    // SysEx cancels running status: a data byte after it belongs to no message.
    EXPECT_EQ(read[6].kind, MidiByteKind::Stray);
}

TEST(ViMidiStream, RealTimeBytesDoNotInterruptSysEx) {
    vi::MidiStream stream;
    const auto read = ReadAll(stream, {0xF0, 0x01, 0xF8, 0x02, 0xF7});
    EXPECT_EQ(read[2].kind, MidiByteKind::RealTime);
    EXPECT_FALSE(read[2].cutSysEx);
    EXPECT_EQ(read[3].kind, MidiByteKind::SysExData);
    EXPECT_EQ(read[4].kind, MidiByteKind::SysExEnd);
}

TEST(ViMidiStream, AStatusByteCutsAnUnterminatedSysExShort) {
    vi::MidiStream stream;
    const auto read = ReadAll(stream, {0xF0, 0x01, 0x90, 0x3C, 0x00, 0xF0, 0x02, 0xF6});
    EXPECT_TRUE(read[2].cutSysEx);
    EXPECT_EQ(read[2].kind, MidiByteKind::ShortPart);
    EXPECT_EQ(read[4].kind, MidiByteKind::ShortComplete);
    EXPECT_FALSE(read[5].cutSysEx);
    // A one-byte system common message both cuts the SysEx and is complete.
    EXPECT_TRUE(read[7].cutSysEx);
    EXPECT_EQ(read[7].kind, MidiByteKind::ShortComplete);
    EXPECT_EQ(read[7].length, 1);
}

TEST(ViMidiStream, SystemCommonClearsRunningStatusAndStrayBytesAreReported) {
    vi::MidiStream stream;
    const auto read = ReadAll(stream, {0x45, 0xB0, 0x07, 0x64, 0xF3, 0x02, 0x10, 0xF7});
    EXPECT_EQ(read[0].kind, MidiByteKind::Stray);
    EXPECT_EQ(read[3].kind, MidiByteKind::ShortComplete);
    ASSERT_EQ(read[5].kind, MidiByteKind::ShortComplete);
    EXPECT_EQ(read[5].length, 2);
    EXPECT_EQ(read[6].kind, MidiByteKind::Stray);
    EXPECT_EQ(read[7].kind, MidiByteKind::Stray);
}

} // namespace
