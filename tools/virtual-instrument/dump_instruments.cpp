#include "tools/virtual-instrument/dump_instruments.h"

#include "tools/virtual-instrument/event_log.h"

#include <algorithm>
#include <numeric>

namespace vi {

namespace {

std::uint8_t Nibble(int channel) {
    return static_cast<std::uint8_t>((channel - 1) & 0x0F);
}

std::string Number(int number) {
    return std::to_string(number);
}

std::uint8_t ComplementChecksum(const std::uint8_t* data, std::size_t count) {
    const unsigned sum = std::accumulate(data, data + count, 0u);
    return static_cast<std::uint8_t>((128 - sum % 128) % 128);
}

DumpResponse Ignored(const Bytes& message, const std::string& why) {
    return {{}, "ignored " + why + " (" + std::to_string(message.size()) + " bytes)"};
}

DumpResponse NotForUs() {
    return {{}, {}, false};
}

// Yamaha TX7: F0 43 ... with the channel in the low nibble. Its 32 voices are kept as the packed
// 128-byte records of the 32-voice bulk dump; a program change loads one, unpacked into the
// 155-byte single-voice form (VCED), into the edit buffer.
constexpr int kTx7Voices = 32;
constexpr std::size_t kVoiceSize = 155;
constexpr std::size_t kPackedVoiceSize = 128;

Bytes UnpackVoice(const Bytes& packed) {
    Bytes voice(kVoiceSize, 0);
    for (std::size_t op = 0; op < 6; ++op) {
        const std::uint8_t* p = &packed[op * 17];
        std::uint8_t* v = &voice[op * 21];
        for (std::size_t i = 0; i < 11; ++i)
            v[i] = p[i]; // rates, levels, break point, depths
        v[11] = p[11] & 3;
        v[12] = (p[11] >> 2) & 3;
        v[13] = p[12] & 7;
        v[14] = p[13] & 3;
        v[15] = (p[13] >> 2) & 7;
        v[16] = p[14];
        v[17] = p[15] & 1;
        v[18] = (p[15] >> 1) & 31;
        v[19] = p[16];
        v[20] = (p[12] >> 3) & 15;
    }
    const std::uint8_t* p = &packed[102];
    std::uint8_t* v = &voice[126];
    for (std::size_t i = 0; i < 8; ++i)
        v[i] = p[i]; // pitch envelope
    v[8] = p[8] & 31;
    v[9] = p[9] & 7;
    v[10] = (p[9] >> 3) & 1;
    v[11] = p[10];
    v[12] = p[11];
    v[13] = p[12];
    v[14] = p[13];
    v[15] = p[14] & 1;
    v[16] = (p[14] >> 1) & 7;
    v[17] = (p[14] >> 4) & 7;
    v[18] = p[15];
    for (std::size_t i = 0; i < 10; ++i)
        v[19 + i] = p[16 + i]; // the name
    return voice;
}

DumpResponse Tx7Message(DumpMemory& memory, int channel, const Bytes& m) {
    if (m.size() < 5 || m[1] != 0x43 || (m[2] & 0x0F) != Nibble(channel))
        return NotForUs();
    const std::uint8_t sub = m[2] & 0x70;
    if (sub == 0x20 && m.size() == 5 && m[3] == 0) {
        Bytes reply = {0xF0, 0x43, Nibble(channel), 0x00, 0x01, 0x1B};
        reply.insert(reply.end(), memory.editBuffer.begin(), memory.editBuffer.end());
        reply.push_back(ComplementChecksum(memory.editBuffer.data(), kVoiceSize));
        reply.push_back(0xF7);
        return {reply, "single voice dump request: edit buffer"};
    }
    if (sub == 0x00 && m.size() == kVoiceSize + 8 && m[3] == 0x00 && m[4] == 0x01 && m[5] == 0x1B) {
        if (ComplementChecksum(&m[6], kVoiceSize) != m[6 + kVoiceSize])
            return Ignored(m, "single voice with a wrong checksum");
        memory.editBuffer.assign(m.begin() + 6, m.begin() + 6 + kVoiceSize);
        return {{}, "single voice into the edit buffer"};
    }
    const std::size_t bulkData = kPackedVoiceSize * kTx7Voices;
    if (sub == 0x00 && m.size() == bulkData + 8 && m[3] == 0x09 && m[4] == 0x20 && m[5] == 0) {
        if (ComplementChecksum(&m[6], bulkData) != m[6 + bulkData])
            return Ignored(m, "32-voice dump with a wrong checksum");
        for (int voice = 0; voice < kTx7Voices; ++voice) {
            const auto from = m.begin() + 6 + voice * static_cast<int>(kPackedVoiceSize);
            memory.programs[voice].assign(from, from + kPackedVoiceSize);
        }
        return {{}, "32 voices into memory"};
    }
    return Ignored(m, "message");
}

// Korg DW-8000: F0 42 3n 03 <function>. It works on the sound being played: a program change
// loads a program, the data save request sends it, a data dump replaces it and the write request
// stores it into a program.
constexpr int kDwPrograms = 64;
constexpr std::size_t kDwDataSize = 51;

DumpResponse Dw8000Message(DumpMemory& memory, int channel, const Bytes& m) {
    if (m.size() < 6 || m[1] != 0x42 || m[2] != (0x30 | Nibble(channel)) || m[3] != 0x03)
        return NotForUs();
    const auto reply = [&](std::uint8_t function) {
        return Bytes{0xF0, 0x42, static_cast<std::uint8_t>(0x30 | Nibble(channel)), 0x03, function};
    };
    switch (m[4]) {
    case 0x10:
        if (m.size() == 6) {
            Bytes dump = reply(0x40);
            dump.insert(dump.end(), memory.editBuffer.begin(), memory.editBuffer.end());
            dump.push_back(0xF7);
            return {dump, "data save request: program " + Number(memory.currentProgram)};
        }
        break;
    case 0x40:
        if (m.size() == kDwDataSize + 6) {
            memory.editBuffer.assign(m.begin() + 5, m.end() - 1);
            return {{}, "data load into the sound being played"};
        }
        break;
    case 0x11:
        if (m.size() == 7 && m[5] < kDwPrograms) {
            memory.programs[m[5]] = memory.editBuffer;
            memory.currentProgram = m[5];
            Bytes done = reply(0x21);
            done.push_back(0xF7);
            return {done, "write program " + Number(m[5])};
        }
        break;
    }
    return Ignored(m, "message");
}

// The instruments whose requests and dumps carry the program number: E-mu's Proteus
// (F0 18 04 dd <function> <number low> <number high>) and DSI's (F0 01 <id> [01] <function>
// <bank> <program>). A dump received is stored at once; a request is answered from memory.
struct AddressedModel {
    Bytes header; // after F0, up to the function; the Proteus' device byte is the channel's
    bool deviceByte = false;
    std::uint8_t request = 0;
    std::uint8_t dump = 0;
    bool lowFirst = false; // number low 7 bits first (Proteus) or bank then program (DSI)
    std::size_t dataSize = 0;
    int firstWritable = 0;
    int lastWritable = 0;
};

AddressedModel Addressed(DumpModel model) {
    switch (model) {
    case DumpModel::Proteus1:
    case DumpModel::Proteus2:
        return {{0x18, 0x04, 0x00}, true, 0x00, 0x01, true, 257, 64, 127};
    case DumpModel::Mopho:
        return {{0x01, 0x25}, false, 0x05, 0x02, false, 293, 0, 383};
    case DumpModel::Prophet08:
        return {{0x01, 0x23}, false, 0x05, 0x02, false, 439, 0, 255};
    case DumpModel::Tetra:
        return {{0x01, 0x26}, false, 0x05, 0x02, false, 439, 0, 511};
    case DumpModel::Evolver:
        return {{0x01, 0x20, 0x01}, false, 0x05, 0x02, false, 220, 0, 511};
    default:
        return {};
    }
}

Bytes AddressedStart(const AddressedModel& a, int channel, std::uint8_t function, int number) {
    // Filled by position: gcc 12 takes a range insert into a short vector for an overflow.
    const std::size_t at = 1 + a.header.size();
    Bytes start(at + 3, 0xF0);
    std::copy(a.header.begin(), a.header.end(), start.begin() + 1);
    if (a.deviceByte)
        start[at - 1] = Nibble(channel);
    start[at] = function;
    const auto high = static_cast<std::uint8_t>((number >> 7) & 0x7F);
    const auto low = static_cast<std::uint8_t>(number & 0x7F);
    start[at + 1] = a.lowFirst ? low : high;
    start[at + 2] = a.lowFirst ? high : low;
    return start;
}

bool ProteusChecksumOk(const Bytes& data) {
    const unsigned sum = std::accumulate(data.begin(), data.end() - 1, 0u);
    return (sum & 0x7F) == data.back();
}

DumpResponse AddressedMessage(DumpModel model, DumpMemory& memory, int channel, const Bytes& m) {
    const AddressedModel a = Addressed(model);
    const std::size_t at = 1 + a.header.size(); // the function byte
    Bytes header = AddressedStart(a, channel, 0, 0);
    if (m.size() < at + 4 || !std::equal(header.begin(), header.begin() + at, m.begin()))
        return NotForUs();
    const int number = a.lowFirst ? m[at + 1] + 128 * m[at + 2] : 128 * m[at + 1] + m[at + 2];
    if (m[at] == a.request && m.size() == at + 4) {
        const auto found = memory.programs.find(number);
        if (found == memory.programs.end())
            return Ignored(m, "request for program " + Number(number) + ", which has no data");
        Bytes reply = AddressedStart(a, channel, a.dump, number);
        reply.insert(reply.end(), found->second.begin(), found->second.end());
        reply.push_back(0xF7);
        return {reply, "program dump request: program " + Number(number)};
    }
    if (m[at] == a.dump && m.size() == at + 4 + a.dataSize) {
        Bytes data(m.begin() + static_cast<long>(at) + 3, m.end() - 1);
        if (number < a.firstWritable || number > a.lastWritable)
            return Ignored(m, "program dump for program " + Number(number) + ", not writable");
        if (a.deviceByte && !ProteusChecksumOk(data))
            return Ignored(m, "preset dump with a wrong checksum");
        memory.programs[number] = std::move(data);
        return {{}, "program dump stored as program " + Number(number)};
    }
    return Ignored(m, "message");
}

Bytes UnpackMsBits(const Bytes& packed) {
    Bytes out;
    for (std::size_t group = 0; group < packed.size(); group += 8)
        for (std::size_t i = 1; i < 8 && group + i < packed.size(); ++i)
            out.push_back(static_cast<std::uint8_t>(packed[group + i] |
                                                    (((packed[group] >> (i - 1)) & 1) << 7)));
    return out;
}

std::string Text(const Bytes& bytes, std::size_t from, std::size_t count, std::size_t step = 1) {
    std::string text;
    for (std::size_t i = 0; i < count && from + i * step < bytes.size(); ++i)
        text += static_cast<char>(bytes[from + i * step]);
    return text;
}

void Replay(DumpModel model, DumpMemory& memory, std::span<const std::uint8_t> dump) {
    Bytes message;
    for (std::uint8_t byte : dump) {
        if (byte == 0xF0)
            message.clear();
        message.push_back(byte);
        if (byte == 0xF7)
            HandleDumpMessage(model, memory, 1, message);
    }
}

} // namespace

DumpMemory MakeDumpMemory(DumpModel model) {
    DumpMemory memory;
    Replay(model, memory, EmbeddedDump(model));
    if (model == DumpModel::Evolver) {
        // The dump is of bank 3; this Evolver holds it in bank 1, as if sent there.
        std::map<int, Bytes> bankOne;
        for (auto& [number, data] : memory.programs)
            bankOne[number % 128] = std::move(data);
        memory.programs = std::move(bankOne);
    }
    HandleDumpProgramChange(model, memory, 0);
    return memory;
}

DumpResponse HandleDumpMessage(DumpModel model, DumpMemory& memory, int channel,
                               const Bytes& message) {
    if (message.size() < 2 || message.front() != 0xF0 || message.back() != 0xF7)
        return NotForUs();
    switch (model) {
    case DumpModel::Tx7:
        return Tx7Message(memory, channel, message);
    case DumpModel::Dw8000:
        return Dw8000Message(memory, channel, message);
    default:
        return AddressedMessage(model, memory, channel, message);
    }
}

DumpResponse HandleDumpProgramChange(DumpModel model, DumpMemory& memory, int program) {
    const auto found = memory.programs.find(program);
    if (found == memory.programs.end())
        return {{}, "ignored program change " + Number(program) + ": no such program"};
    memory.currentProgram = program;
    if (model == DumpModel::Tx7)
        memory.editBuffer = UnpackVoice(found->second);
    else if (model == DumpModel::Dw8000)
        memory.editBuffer = found->second;
    const std::string name = DumpProgramName(model, memory, program);
    return {{}, "program change " + Number(program) + (name.empty() ? "" : " \"" + name + "\"")};
}

std::string DumpProgramName(DumpModel model, const DumpMemory& memory, int program) {
    const auto found = memory.programs.find(program);
    if (found == memory.programs.end())
        return {};
    const Bytes& data = found->second;
    switch (model) {
    case DumpModel::Tx7:
        return Text(data, 118, 10);
    case DumpModel::Proteus1:
    case DumpModel::Proteus2:
        return Text(data, 0, 12, 2);
    case DumpModel::Mopho:
    case DumpModel::Prophet08:
    case DumpModel::Tetra:
        return Text(UnpackMsBits(data), 184, 16);
    case DumpModel::Dw8000:
    case DumpModel::Evolver:
        return {};
    }
    return {};
}

Bytes DumpProgramReply(DumpModel model, DumpMemory& memory, int channel, int program) {
    Bytes request;
    switch (model) {
    case DumpModel::Tx7:
        HandleDumpProgramChange(model, memory, program);
        request = {0xF0, 0x43, static_cast<std::uint8_t>(0x20 | Nibble(channel)), 0x00, 0xF7};
        break;
    case DumpModel::Dw8000:
        HandleDumpProgramChange(model, memory, program);
        request = {0xF0, 0x42, static_cast<std::uint8_t>(0x30 | Nibble(channel)), 0x03, 0x10, 0xF7};
        break;
    default: {
        const AddressedModel a = Addressed(model);
        request = AddressedStart(a, channel, a.request, program);
        request.push_back(0xF7);
    }
    }
    if (memory.programs.find(program) == memory.programs.end())
        return {};
    return HandleDumpMessage(model, memory, channel, request).reply;
}

} // namespace vi
