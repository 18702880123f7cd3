// The virtual instrument's M1 program dump packing.
#include "tools/virtual-instrument/m1_dump.h"
#include "tools/virtual-instrument/m1_programs.h"

#include <gtest/gtest.h>

namespace {

TEST(ViM1Dump, AllZeroProgramPacksToHeaderZerosAndEnd) {
    const vi::ProgramBytes program{};
    const auto dump = vi::EncodeProgramDump(program, 1);
    EXPECT_EQ(dump[0], 0xF0);
    EXPECT_EQ(dump[1], 0x42);
    EXPECT_EQ(dump[2], 0x30);
    EXPECT_EQ(dump[3], 0x19);
    EXPECT_EQ(dump[4], 0x40);
    for (std::size_t i = 5; i < 169; ++i) {
        EXPECT_EQ(dump[i], 0) << "byte " << i;
    }
    EXPECT_EQ(dump[169], 0xF7);
}

TEST(ViM1Dump, ChannelSetsTheLowNibbleOfTheThirdByte) {
    const vi::ProgramBytes program{};
    EXPECT_EQ(vi::EncodeProgramDump(program, 3)[2], 0x32);
    EXPECT_EQ(vi::EncodeProgramDump(program, 16)[2], 0x3F);
}

TEST(ViM1Dump, AllHighBitsGoIntoEachGroupsLeadingByte) {
    vi::ProgramBytes program;
    program.fill(0xFF);
    const auto dump = vi::EncodeProgramDump(program, 1);
    // Twenty full groups of eight bytes, then a group of four.
    for (std::size_t group = 0; group < 20; ++group) {
        const std::size_t lead = 5 + 8 * group;
        EXPECT_EQ(dump[lead], 0x7F) << "group " << group;
        for (std::size_t r = 1; r < 8; ++r) {
            EXPECT_EQ(dump[lead + r], 0x7F);
        }
    }
    EXPECT_EQ(dump[165], 0x07);
    EXPECT_EQ(dump[166], 0x7F);
    EXPECT_EQ(dump[167], 0x7F);
    EXPECT_EQ(dump[168], 0x7F);
    EXPECT_EQ(dump[169], 0xF7);
}

TEST(ViM1Dump, ProgramBytesLandAtTheirPackedPositions) {
    vi::ProgramBytes program{};
    const char name[] = "ABCDEFGHIJ";
    for (std::size_t i = 0; i < 10; ++i) {
        program[i] = static_cast<std::uint8_t>(name[i]);
    }
    program[142] = 0x55;
    const auto dump = vi::EncodeProgramDump(program, 1);
    // The name travels in message bytes 6-12 and 14-16; byte 13 leads the second group.
    EXPECT_EQ(dump[6], 'A');
    EXPECT_EQ(dump[12], 'G');
    EXPECT_EQ(dump[13], 0);
    EXPECT_EQ(dump[14], 'H');
    EXPECT_EQ(dump[16], 'J');
    EXPECT_EQ(dump[168], 0x55);
}

TEST(ViM1Dump, SixteenBitValueKeepsItsHighBitInTheLeadingByte) {
    vi::ProgramBytes program{};
    // 500 = 0x01F4 at program bytes 49 and 50: group 7, positions 0 and 1.
    program[49] = 0xF4;
    program[50] = 0x01;
    const auto dump = vi::EncodeProgramDump(program, 1);
    EXPECT_EQ(dump[5 + 8 * 7], 0x01);
    EXPECT_EQ(dump[5 + 8 * 7 + 1], 0x74);
    EXPECT_EQ(dump[5 + 8 * 7 + 2], 0x01);
    const auto back = vi::DecodeProgramDump(dump.data());
    EXPECT_EQ(back[49], 0xF4);
    EXPECT_EQ(back[50], 0x01);
}

TEST(ViM1Dump, EveryFactoryProgramSurvivesPackingAndUnpacking) {
    for (int number = 0; number < vi::kProgramCount; ++number) {
        const auto program = vi::MakeFactoryProgram(number);
        const auto dump = vi::EncodeProgramDump(program, 5);
        for (std::size_t i = 1; i < 169; ++i) {
            ASSERT_LT(dump[i], 0x80) << "program " << number << " byte " << i;
        }
        EXPECT_EQ(vi::DecodeProgramDump(dump.data()), program) << "program " << number;
    }
}

TEST(ViM1Dump, UnpackingIgnoresUnusedHighBitsAndBit7OfDataBytes) {
    vi::ProgramDump dump{};
    dump[0] = 0xF0;
    dump[5 + 8 * 20] = 0x78; // bits 3-6 of the last group's leading byte belong to no byte
    dump[6] = 0xC1;          // bit 7 of a data byte is not part of the value
    const auto program = vi::DecodeProgramDump(dump.data());
    EXPECT_EQ(program[0], 0x41);
    EXPECT_EQ(program[140], 0);
    EXPECT_EQ(program[141], 0);
    EXPECT_EQ(program[142], 0);
}

} // namespace
