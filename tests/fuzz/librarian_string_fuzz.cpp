// The request/send string evaluator and the syntax check against arbitrary definitions: whatever
// the strings hold, evaluation stays inside the message room and reports only known errors.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "librarian/string_language.h"

namespace {

template <std::size_t N>
void PutText(char (&field)[N], std::string_view text, bool unterminated) {
    if (unterminated) {
        std::memset(field, '0', N);
        if (!text.empty())
            std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
    } else {
        SetFieldText(field, text);
    }
}

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6)
        return 0;
    InstrumentDefinition definition{};
    definition.channel = data[0] & 0x0F ? data[0] & 0x0F : 16;
    std::int32_t program = static_cast<std::int16_t>(data[1] | data[2] << 8);
    definition.programSize = (data[3] | data[4] << 8) % (largestProgramSize + 1);
    bool unterminated = data[5] & 1;
    std::string_view text(reinterpret_cast<const char*>(data + 6), size - 6);
    std::size_t split = text.find('\n');
    std::string_view request = text.substr(0, split);
    std::string_view send = split == text.npos ? std::string_view() : text.substr(split + 1);
    PutText(definition.requestString, request, unterminated);
    PutText(definition.sendString, send, unterminated);

    std::vector<std::uint8_t> programData(static_cast<std::size_t>(definition.programSize), 0x5A);
    BuiltMessage built = BuildRequestMessage(definition, program);
    Require(built.bytes.size() <= requestMessageRoom);
    for (int error : built.errors)
        Require(error >= 1 && error <= 7 && StringErrorText(error)[0] != '\0');
    built = BuildSendMessage(definition, program, programData.data());
    Require(built.bytes.size() <= programData.size() + sendMessageExtraRoom);
    for (int error : built.errors)
        Require(error >= 1 && error <= 7);

    // A string the check accepts never reaches the end of its room.
    std::string_view requestText = FieldText(definition.requestString);
    std::string_view sendText = FieldText(definition.sendString);
    if (requestText.size() <= 449 && CheckDefinitionString(requestText, StringKind::request))
        Require(BuildRequestMessage(definition, program).bytes.size() <= requestText.size());
    if (sendText.size() <= 449 && CheckDefinitionString(sendText, StringKind::send))
        Require(BuildSendMessage(definition, program, programData.data()).bytes.size() <=
                programData.size() + sendText.size());
    return 0;
}
