#include "editor/program_dump.h"

#include "editor/editor_state.h"

namespace {

constexpr int headerSize = 5;
constexpr int bytesPerGroup = 7;

// Program byte i travels in group i / 7: the group's first byte collects the high bits, the
// low seven bits follow it in order.
constexpr int HighBitsPosition(int i) {
    return headerSize + 8 * (i / bytesPerGroup);
}
constexpr int DataPosition(int i) {
    return HighBitsPosition(i) + i % bytesPerGroup + 1;
}
static_assert(DataPosition(m1ProgramSize - 1) == programDumpSize - 2);

} // namespace

ProgramDump PackProgramDump(const M1Program& program, int channel) {
    ProgramDump message{};
    message[0] = 0xF0;
    message[1] = 0x42;
    // The channel has only four bits in the status; a channel outside 1..16 must not spill
    // into the message type.
    message[2] = static_cast<std::uint8_t>(0x30 | ((channel - 1) & 0x0F));
    message[3] = 0x19;
    message[4] = 0x40;
    message[programDumpSize - 1] = 0xF7;
    const ProgramBytes bytes = ProgramToBytes(program);
    for (int i = 0; i < m1ProgramSize; ++i) {
        message[DataPosition(i)] = bytes[i] & 0x7F;
        if (bytes[i] & 0x80)
            message[HighBitsPosition(i)] |= static_cast<std::uint8_t>(1 << (i % bytesPerGroup));
    }
    return message;
}

M1Program ProgramFromDump(std::span<const std::uint8_t, programDumpSize> message) {
    ProgramBytes bytes{};
    for (int i = 0; i < m1ProgramSize; ++i) {
        const int highBit = (message[HighBitsPosition(i)] >> (i % bytesPerGroup)) & 1;
        bytes[i] = static_cast<std::uint8_t>(message[DataPosition(i)] | (highBit << 7));
    }
    return ProgramFromBytes(bytes);
}

bool UnpackProgramDump(std::span<const std::uint8_t> message) {
    if (message.size() != programDumpSize)
        return false;
    editor.program = ProgramFromDump(message.first<programDumpSize>());
    editor.backup = editor.program;
    return true;
}
