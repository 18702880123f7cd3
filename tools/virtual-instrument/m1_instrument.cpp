#include "tools/virtual-instrument/m1_instrument.h"

#include "tools/virtual-instrument/event_log.h"

#include <cstdio>

namespace vi {

namespace {

constexpr std::size_t kFunctionAt = 4;
constexpr std::size_t kRequestSize = 6;      // F0 42 3n 19 10 F7
constexpr std::size_t kWriteRequestSize = 8; // F0 42 3n 19 11 00 pp F7

std::vector<std::uint8_t> ShortReply(int channel, std::uint8_t function) {
    return {0xF0,  kKorgId,  static_cast<std::uint8_t>(0x30 | ((channel - 1) & 0x0F)),
            kM1Id, function, 0xF7};
}

std::string TwoDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    return text;
}

std::string Quoted(const ProgramBytes& program) {
    return "\"" + ProgramName(program) + "\"";
}

M1Response DumpRequest(M1Memory& m1, int channel, const std::vector<std::uint8_t>& message) {
    if (message.size() != kRequestSize) {
        return {{}, "ignored dump request of " + std::to_string(message.size()) + " bytes"};
    }
    const ProgramDump dump = EncodeProgramDump(m1.editBuffer, channel);
    return {std::vector<std::uint8_t>(dump.begin(), dump.end()),
            "dump request: edit buffer " + Quoted(m1.editBuffer)};
}

M1Response ProgramDumpReceived(M1Memory& m1, int channel,
                               const std::vector<std::uint8_t>& message) {
    if (message.size() != kProgramDumpSize) {
        return {ShortReply(channel, kDataLoadError),
                "program dump of " + std::to_string(message.size()) + " bytes: data load error"};
    }
    m1.editBuffer = DecodeProgramDump(message.data());
    return {ShortReply(channel, kDataLoadCompleted),
            "program dump into the edit buffer: " + Quoted(m1.editBuffer)};
}

M1Response WriteRequest(M1Memory& m1, int channel, const std::vector<std::uint8_t>& message) {
    if (message.size() != kWriteRequestSize) {
        return {{}, "ignored write request of " + std::to_string(message.size()) + " bytes"};
    }
    const int bank = message[5];
    const int program = message[6];
    if (bank != 0 || program >= kProgramCount) {
        return {ShortReply(channel, kWriteError),
                "write request to " + HexBytes(&message[5], 2) + ": write error"};
    }
    m1.programs[static_cast<std::size_t>(program)] = m1.editBuffer;
    m1.currentProgram = program;
    return {ShortReply(channel, kWriteCompleted),
            "write program " + TwoDigits(program) + " " + Quoted(m1.editBuffer)};
}

} // namespace

M1Memory MakeM1Memory() {
    M1Memory m1;
    m1.programs = MakeFactoryPrograms();
    m1.currentProgram = 0;
    m1.editBuffer = m1.programs[0];
    return m1;
}

bool CouldBeForM1(const std::uint8_t* bytes, std::size_t count, int channel) {
    const std::uint8_t header[4] = {
        0xF0, kKorgId, static_cast<std::uint8_t>(0x30 | ((channel - 1) & 0x0F)), kM1Id};
    for (std::size_t i = 0; i < count && i < 4; ++i) {
        if (bytes[i] != header[i]) {
            return false;
        }
    }
    return true;
}

M1Response HandleProgramChange(M1Memory& m1, int program) {
    if (program < 0 || program >= kProgramCount) {
        return {{}, "ignored program change " + std::to_string(program) + ": no such program"};
    }
    m1.currentProgram = program;
    m1.editBuffer = m1.programs[static_cast<std::size_t>(program)];
    return {{}, "program change " + TwoDigits(program) + " " + Quoted(m1.editBuffer)};
}

M1Response HandleM1Message(M1Memory& m1, int channel, const std::vector<std::uint8_t>& message) {
    if (message.size() <= kFunctionAt + 1 || message.back() != 0xF7) {
        return {{}, "ignored message of " + std::to_string(message.size()) + " bytes"};
    }
    const std::uint8_t function = message[kFunctionAt];
    switch (function) {
    case kProgramDumpRequest:
        return DumpRequest(m1, channel, message);
    case kProgramParameterDump:
        return ProgramDumpReceived(m1, channel, message);
    case kProgramWriteRequest:
        return WriteRequest(m1, channel, message);
    case kParameterChange:
        return {{},
                "parameter change " +
                    HexBytes(message.data() + kFunctionAt + 1, message.size() - kFunctionAt - 2)};
    default:
        return {{},
                "ignored function " + HexBytes(&function, 1) + " (" +
                    std::to_string(message.size()) + " bytes)"};
    }
}

std::string ProgramName(const ProgramBytes& program) {
    std::string name;
    for (std::size_t i = 0; i < 10; ++i) {
        const char c = static_cast<char>(program[i]);
        name += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return name;
}

} // namespace vi
