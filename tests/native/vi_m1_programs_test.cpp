// The virtual instrument's factory programs: values an M1 accepts, names that tell them apart.
#include "tools/virtual-instrument/m1_programs.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

int Signed(std::uint8_t b) {
    return static_cast<std::int8_t>(b);
}

struct Range {
    std::size_t byte;
    int low;
    int high;
};

// Signed and unsigned ranges of the M1's program parameters (single bytes only).
constexpr Range kCommonRanges[] = {
    {12, 0, 99},  {14, 0, 99},   {16, -12, 12}, {17, -50, 50}, {18, 0, 99},   {20, 0, 99},
    {21, 0, 99},  {22, 0, 99},   {24, 0, 99},   {25, 0, 99},   {26, 0, 99},   {27, -12, 12},
    {28, 0, 99},  {29, -99, 99}, {30, 0, 99},   {31, -99, 99}, {32, -12, 12}, {33, -99, 99},
    {34, 0, 99},  {35, 0, 3},    {36, 0, 99},   {37, 0, 3},    {38, 0, 33},   {39, 0, 33},
    {40, 0, 100}, {41, 0, 100},  {42, 0, 100},  {43, 0, 100},  {44, 0, 65},   {45, 0, 65}};

constexpr Range kOscillatorRanges[] = {
    {0, -99, 99},  {1, 0, 99},    {2, -99, 99},  {3, 0, 99},  {4, 0, 99},    {5, -99, 99},
    {6, -99, 99},  {7, -99, 99},  {8, 0, 99},    {9, 0, 127}, {10, -99, 99}, {11, 0, 99},
    {12, 0, 99},   {13, 0, 99},   {14, -99, 99}, {15, 0, 99}, {16, -99, 99}, {17, 0, 99},
    {18, -99, 99}, {19, 0, 99},   {20, -99, 99}, {21, 0, 99}, {22, -99, 99}, {23, 0, 99},
    {24, 0, 127},  {25, -99, 99}, {26, -99, 99}, {27, 0, 99}, {28, 0, 99},   {29, 0, 99},
    {30, 0, 99},   {31, 0, 99},   {32, 0, 99},   {33, 0, 99}, {34, 0, 99},   {35, 0, 99}};

int ValueAt(const vi::ProgramBytes& program, std::size_t at, int low) {
    // Key numbers and unsigned ranges read as unsigned, the rest as two's complement.
    return low < 0 ? Signed(program[at]) : program[at];
}

// Printable but for the zero bytes of a few, as in real factory names; they still differ when
// the zero bytes show as blanks.
TEST(ViM1Programs, NamesAreTenCharactersAndAllDifferent) {
    const auto programs = vi::MakeFactoryPrograms();
    std::set<std::string> names;
    int withZeroBytes = 0;
    for (const auto& program : programs) {
        std::string name;
        bool zero = false;
        for (std::size_t i = 0; i < 10; ++i) {
            zero = zero || program[i] == 0;
            ASSERT_TRUE(program[i] == 0 || (program[i] >= 0x20 && program[i] < 0x7F));
            name += program[i] == 0 ? ' ' : static_cast<char>(program[i]);
        }
        withZeroBytes += zero;
        EXPECT_NE(name.front(), ' ') << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 100u);
    EXPECT_EQ(withZeroBytes, 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(programs[6].data()), 10),
              std::string("Piano\0"
                          "16'\0",
                          10));
}

TEST(ViM1Programs, TheSameOnEveryRun) {
    EXPECT_EQ(vi::MakeFactoryPrograms(), vi::MakeFactoryPrograms());
    EXPECT_EQ(vi::MakeFactoryProgram(17), vi::MakeFactoryPrograms()[17]);
}

TEST(ViM1Programs, EveryParameterLiesInItsRange) {
    const auto programs = vi::MakeFactoryPrograms();
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const auto& program = programs[p];
        EXPECT_LE(program[10] & 0x03, 2) << "program " << p;
        const int octave = Signed(program[13]);
        EXPECT_TRUE(octave >= -1 && octave <= 1) << "program " << p;
        for (const Range& r : kCommonRanges) {
            const int value = ValueAt(program, r.byte, r.low);
            EXPECT_GE(value, r.low) << "program " << p << " byte " << r.byte;
            EXPECT_LE(value, r.high) << "program " << p << " byte " << r.byte;
        }
        for (std::size_t block : {std::size_t{63}, std::size_t{103}}) {
            for (const Range& r : kOscillatorRanges) {
                const int value = ValueAt(program, block + r.byte, r.low);
                EXPECT_GE(value, r.low) << "program " << p << " byte " << block + r.byte;
                EXPECT_LE(value, r.high) << "program " << p << " byte " << block + r.byte;
            }
            // A time switch is never negative without being on.
            for (std::size_t s = 36; s < 40; ++s) {
                const int bits = program[block + s];
                EXPECT_EQ((bits >> 4) & ~bits & 0x0F, 0) << "program " << p;
            }
        }
    }
}

TEST(ViM1Programs, EffectsFitTheirTypes) {
    const auto programs = vi::MakeFactoryPrograms();
    std::set<int> typesUsed;
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const auto& program = programs[p];
        EXPECT_TRUE(vi::EffectTypesCompatible(program[38], program[39])) << "program " << p;
        for (std::size_t e = 0; e < 2; ++e) {
            const int type = program[38 + e];
            typesUsed.insert(type);
            const std::size_t block = 47 + 8 * e;
            // Types whose group holds a 16-bit delay time in bytes 0 and 1: at most 500.
            if ((type >= 9 && type <= 10) || (type >= 25 && type <= 32)) {
                EXPECT_LE(program[block] | program[block + 1] << 8, 500) << "program " << p;
            }
            if (type == 33) {
                for (std::size_t i = 0; i < 8; ++i) {
                    EXPECT_EQ(program[block + i], 0) << "program " << p;
                }
            }
            if (type == 13 || type == 14) {
                EXPECT_EQ(program[block + 2] & 0x06, 0x06) << "program " << p;
            }
        }
    }
    // A bank that shows off the effect unit uses many of its types.
    EXPECT_GE(typesUsed.size(), 25u);
}

TEST(ViM1Programs, IncompatibleEffectPairsAreRecognised) {
    EXPECT_FALSE(vi::EffectTypesCompatible(24, 11));
    EXPECT_FALSE(vi::EffectTypesCompatible(11, 24));
    EXPECT_FALSE(vi::EffectTypesCompatible(23, 24));
    EXPECT_FALSE(vi::EffectTypesCompatible(32, 23));
    EXPECT_TRUE(vi::EffectTypesCompatible(24, 0));
    EXPECT_TRUE(vi::EffectTypesCompatible(24, 19));
    EXPECT_TRUE(vi::EffectTypesCompatible(11, 18));
    EXPECT_TRUE(vi::EffectTypesCompatible(33, 33));
}

} // namespace
