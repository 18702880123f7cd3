#include "editor/editor_state.h"
#include "editor/program_dump.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

M1Program FilledProgram(std::uint8_t value) {
    ProgramBytes bytes;
    bytes.fill(value);
    return ProgramFromBytes(bytes);
}

M1Program RandomProgram(std::mt19937& random) {
    ProgramBytes bytes;
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return ProgramFromBytes(bytes);
}

// A dump as the instrument sends it: 7-bit data, and in the short last group only the high bits
// of its three program bytes.
ProgramDump RandomDump(std::mt19937& random, int channel) {
    ProgramDump message{};
    message[0] = 0xF0;
    message[1] = 0x42;
    message[2] = static_cast<std::uint8_t>(0x30 + channel - 1);
    message[3] = 0x19;
    message[4] = 0x40;
    for (int i = 5; i < 169; ++i)
        message[i] = static_cast<std::uint8_t>(random() & 0x7F);
    message[165] &= 0x07;
    message[169] = 0xF7;
    return message;
}

std::vector<int> NonZeroPositions(const ProgramDump& message) {
    std::vector<int> positions;
    for (int i = 5; i < 169; ++i) {
        if (message[i] != 0)
            positions.push_back(i);
    }
    return positions;
}

TEST(ProgramDump, AllZeroRecordPacksToHeaderZerosAndEnd) {
    const ProgramDump message = PackProgramDump(FilledProgram(0), 1);
    EXPECT_EQ(message[0], 0xF0);
    EXPECT_EQ(message[1], 0x42);
    EXPECT_EQ(message[2], 0x30);
    EXPECT_EQ(message[3], 0x19);
    EXPECT_EQ(message[4], 0x40);
    for (int i = 5; i < 169; ++i)
        EXPECT_EQ(message[i], 0) << "byte " << i;
    EXPECT_EQ(message[169], 0xF7);
}

TEST(ProgramDump, AllOnesRecordSetsEveryHighBitOfEachGroup) {
    const ProgramDump message = PackProgramDump(FilledProgram(0xFF), 1);
    for (int group = 0; group < 20; ++group) {
        const int start = 5 + 8 * group;
        EXPECT_EQ(message[start], 0x7F) << "group " << group;
        for (int i = 1; i < 8; ++i)
            EXPECT_EQ(message[start + i], 0x7F) << "group " << group;
    }
    EXPECT_EQ(message[165], 0x07); // the last group carries only program bytes 140-142
    EXPECT_EQ(message[166], 0x7F);
    EXPECT_EQ(message[167], 0x7F);
    EXPECT_EQ(message[168], 0x7F);
    EXPECT_EQ(message[169], 0xF7);
}

TEST(ProgramDump, ChannelGoesIntoTheThirdByteAndStaysInItsNibble) {
    EXPECT_EQ(PackProgramDump(FilledProgram(0), 1)[2], 0x30);
    EXPECT_EQ(PackProgramDump(FilledProgram(0), 10)[2], 0x39);
    EXPECT_EQ(PackProgramDump(FilledProgram(0), 16)[2], 0x3F);
    for (int channel = -20; channel <= 40; ++channel) {
        const ProgramDump message = PackProgramDump(FilledProgram(0xFF), channel);
        EXPECT_EQ(message[2] & 0xF0, 0x30) << "channel " << channel;
        EXPECT_EQ(message[3], 0x19);
    }
}

TEST(ProgramDump, SingleBytesLandAtTheirPackedPositions) {
    M1Program program = FilledProgram(0);
    SetProgramByte(program, 7, 0x55);
    EXPECT_EQ(NonZeroPositions(PackProgramDump(program, 1)), std::vector<int>{14});

    program = FilledProgram(0);
    SetProgramByte(program, 142, 0x2A);
    EXPECT_EQ(NonZeroPositions(PackProgramDump(program, 1)), std::vector<int>{168});

    // The high bit of byte 7 (r = 0 of group 1) and of byte 142 (r = 2 of group 20).
    program = FilledProgram(0);
    SetProgramByte(program, 7, 0x80);
    SetProgramByte(program, 142, 0x80);
    const ProgramDump message = PackProgramDump(program, 1);
    EXPECT_EQ(NonZeroPositions(message), (std::vector<int>{13, 165}));
    EXPECT_EQ(message[13], 0x01);
    EXPECT_EQ(message[165], 0x04);
}

TEST(ProgramDump, NameTravelsAroundTheSecondGroupsHighBitByte) {
    M1Program program = FilledProgram(0);
    std::memcpy(program.name, "ABCDEFGHIJ", 10);
    const ProgramDump message = PackProgramDump(program, 1);
    EXPECT_EQ(std::string(message.begin() + 6, message.begin() + 13), "ABCDEFG");
    EXPECT_EQ(message[13], 0);
    EXPECT_EQ(std::string(message.begin() + 14, message.begin() + 17), "HIJ");
}

TEST(ProgramDump, SixteenBitDelayKeepsItsHighBitInTheGroupByte) {
    // A delay of 500 (0x01F4) at program bytes 63 and 64, the first two places of group 9.
    M1Program program = FilledProgram(0);
    SetProgramByte(program, 63, 0xF4);
    SetProgramByte(program, 64, 0x01);
    const ProgramDump message = PackProgramDump(program, 1);
    EXPECT_EQ(message[77], 0x01);
    EXPECT_EQ(message[78], 0x74);
    EXPECT_EQ(message[79], 0x01);
    EXPECT_EQ(ProgramByte(ProgramFromDump(message), 63), 0xF4);
}

TEST(ProgramDump, PackThenUnpackIsTheIdentity) {
    for (unsigned seed = 1; seed <= 500; ++seed) {
        std::mt19937 random(seed);
        const M1Program program = RandomProgram(random);
        const ProgramDump message = PackProgramDump(program, 1 + seed % 16);
        for (int i = 5; i < 169; ++i)
            ASSERT_LT(message[i], 0x80) << "seed " << seed << " byte " << i;
        ASSERT_EQ(ProgramFromDump(message), program) << "seed " << seed;
    }
}

TEST(ProgramDump, UnpackThenPackGivesTheSameMessage) {
    for (unsigned seed = 1; seed <= 500; ++seed) {
        std::mt19937 random(seed);
        const int channel = 1 + seed % 16;
        const ProgramDump message = RandomDump(random, channel);
        ASSERT_EQ(PackProgramDump(ProgramFromDump(message), channel), message) << "seed " << seed;
    }
}

TEST(ProgramDump, UnpackFillsProgramAndRevertCopyButOnlyFromAWholeDump) {
    std::mt19937 random(7);
    const M1Program program = RandomProgram(random);
    ProgramDump message = PackProgramDump(program, 3);
    // The header is not examined: an answer is recognised by its length alone.
    message[1] = 0x00;
    message[4] = 0x00;

    editor.program = FilledProgram(0x11);
    editor.backup = FilledProgram(0x22);
    EXPECT_FALSE(UnpackProgramDump(std::span(message.data(), 169)));
    std::vector<std::uint8_t> longer(message.begin(), message.end());
    longer.push_back(0xF7);
    EXPECT_FALSE(UnpackProgramDump(longer));
    EXPECT_FALSE(UnpackProgramDump({}));
    EXPECT_EQ(editor.program, FilledProgram(0x11));
    EXPECT_EQ(editor.backup, FilledProgram(0x22));

    EXPECT_TRUE(UnpackProgramDump(message));
    EXPECT_EQ(editor.program, program);
    EXPECT_EQ(editor.backup, program);
}

TEST(ProgramDump, FollowUpMessageIsFixed) {
    const std::array<std::uint8_t, 10> expected = {0xF0, 0x42, 0x30, 0x19, 0x41,
                                                   0x00, 0x08, 0x00, 0x00, 0xF7};
    EXPECT_EQ(programFollowUpMessage, expected);
}

TEST(ProgramRecord, NamedFieldsSitAtTheInstrumentsByteNumbers) {
    M1Program program = FilledProgram(0);
    program.osc2Multisound = 14;
    program.octave = -1;
    program.effectType[1] = 39;
    program.effectBlock[1][7] = 62;
    program.oscillator[0].pitchEgStartLevel = 63;
    program.oscillator[1].ampEgTimeSwitches[1] = 142;
    EXPECT_EQ(ProgramByte(program, 14), 14);
    EXPECT_EQ(ProgramByte(program, 13), 0xFF);
    EXPECT_EQ(ProgramByte(program, 39), 39);
    EXPECT_EQ(ProgramByte(program, 62), 62);
    EXPECT_EQ(ProgramByte(program, 63), 63);
    EXPECT_EQ(ProgramByte(program, 142), 142);
}

TEST(ProgramRecord, ByteAccessOutsideTheRecordDoesNothing) {
    M1Program program = FilledProgram(0x5A);
    EXPECT_EQ(ProgramByte(program, -1), 0);
    EXPECT_EQ(ProgramByte(program, 143), 0);
    SetProgramByte(program, -1, 0);
    SetProgramByte(program, 143, 0);
    SetProgramByte(program, 100000, 0);
    EXPECT_EQ(program, FilledProgram(0x5A));
}

TEST(ProgramRecord, ClearLeavesZerosAndASpaceName) {
    M1Program program = FilledProgram(0xFF);
    ClearProgram(program);
    const ProgramBytes bytes = ProgramToBytes(program);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(bytes[i], ' ');
    for (int i = 10; i < m1ProgramSize; ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
}

} // namespace
