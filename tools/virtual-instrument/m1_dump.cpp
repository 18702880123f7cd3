#include "tools/virtual-instrument/m1_dump.h"

namespace vi {

namespace {

constexpr std::size_t kHeaderSize = 5;
constexpr std::size_t kGroupSize = 7;

// Where program byte i travels: its group's high-bit byte and its own seven-bit byte.
std::size_t HighBitIndex(std::size_t i) {
    return kHeaderSize + (i / kGroupSize) * (kGroupSize + 1);
}
std::size_t DataIndex(std::size_t i) {
    return HighBitIndex(i) + 1 + i % kGroupSize;
}

} // namespace

std::array<std::uint8_t, 170> EncodeProgramDump(const std::array<std::uint8_t, 143>& program,
                                                int channel) {
    ProgramDump dump{};
    dump[0] = 0xF0;
    dump[1] = kKorgId;
    dump[2] = static_cast<std::uint8_t>(0x30 | ((channel - 1) & 0x0F));
    dump[3] = kM1Id;
    dump[4] = 0x40;
    for (std::size_t i = 0; i < kProgramSize; ++i) {
        dump[DataIndex(i)] = program[i] & 0x7F;
        if (program[i] & 0x80) {
            dump[HighBitIndex(i)] |= static_cast<std::uint8_t>(1u << (i % kGroupSize));
        }
    }
    dump[kProgramDumpSize - 1] = 0xF7;
    return dump;
}

std::array<std::uint8_t, 143> DecodeProgramDump(const std::uint8_t* message) {
    ProgramBytes program{};
    for (std::size_t i = 0; i < kProgramSize; ++i) {
        const bool high = (message[HighBitIndex(i)] >> (i % kGroupSize)) & 1;
        program[i] = static_cast<std::uint8_t>((message[DataIndex(i)] & 0x7F) | (high ? 0x80 : 0));
    }
    return program;
}

} // namespace vi
