// The editor's packing against the virtual instrument's, which was written separately from the
// instrument's side: both must agree byte for byte in both directions.
#include "editor/program_dump.h"
#include "tools/virtual-instrument/m1_dump.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(DumpCrossCheck, EditorAndInstrumentPackTheSameBytes) {
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        std::mt19937 random(seed);
        std::array<std::uint8_t, 143> bytes;
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const int channel = 1 + static_cast<int>(seed % 16);
        const ProgramDump ours = PackProgramDump(ProgramFromBytes(bytes), channel);
        ASSERT_EQ(ours, vi::EncodeProgramDump(bytes, channel)) << "seed " << seed;
        ASSERT_EQ(ProgramToBytes(ProgramFromDump(ours)), vi::DecodeProgramDump(ours.data()))
            << "seed " << seed;
    }
}

TEST(DumpCrossCheck, EditorReadsWhatTheInstrumentSends) {
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        std::mt19937 random(seed);
        std::array<std::uint8_t, 143> bytes;
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const auto theirs = vi::EncodeProgramDump(bytes, 1 + static_cast<int>(seed % 16));
        ASSERT_EQ(ProgramToBytes(ProgramFromDump(theirs)), bytes) << "seed " << seed;
        ASSERT_EQ(vi::DecodeProgramDump(theirs.data()), bytes) << "seed " << seed;
    }
}

TEST(DumpCrossCheck, EdgeRecordsAgree) {
    for (std::uint8_t fill : {0x00, 0x7F, 0x80, 0xFF}) {
        std::array<std::uint8_t, 143> bytes;
        bytes.fill(fill);
        EXPECT_EQ(PackProgramDump(ProgramFromBytes(bytes), 16), vi::EncodeProgramDump(bytes, 16))
            << int{fill};
    }
}

} // namespace
