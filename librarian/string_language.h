#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "librarian/instrument_definition.h"

// The small language in which a definition says how to ask the instrument for one program (the
// request string) and how to send one back (the send string): hexadecimal text with a few other
// characters and bracketed sections computed from the program number.

enum class StringKind { request, send };

// Shared by the Librarian and the Program Editor for the whole run of the program.
struct ReplyValues {
    std::uint8_t lastChecksum = 0;      // the most recent checksum section's result
    std::int32_t expectedReplySize = 0; // total length of the reply that carries one program
    std::int32_t replyDataOffset = 0;   // position in that reply of the first stored byte
};

extern ReplyValues replyValues;

// Room of the message buffers: a request holds at most 512 bytes, a send the program's data plus
// 512. A string that passes CheckDefinitionString never fills them.
inline constexpr std::size_t requestMessageRoom = 512;
inline constexpr std::size_t sendMessageExtraRoom = 512;

// The messages the evaluation met, numbered as in StringErrorText, in the order they arose.
struct BuiltMessage {
    std::vector<std::uint8_t> bytes;
    std::vector<int> errors;
};

inline constexpr const char* stringErrorCaption = "String interpretation error";
// Texts 1 to 7; anything else gives an empty text.
const char* StringErrorText(int number);

// Evaluates the definition's request string for a program number: the bytes of the request, and
// the reply section's size and offset (into replyValues) when the string has one.
BuiltMessage BuildRequestMessage(const InstrumentDefinition& definition, std::int32_t program);
// Evaluates the send string, inserting programSize bytes from data where it has '%' (zeros when
// data is null). A request-checksum section evaluates the request string for the same program.
BuiltMessage BuildSendMessage(const InstrumentDefinition& definition, std::int32_t program,
                              const std::uint8_t* data);

// The reply size and data offset that the definition's request string describes (programSize
// and 0 when it has no reply section), evaluated without changing replyValues.
ReplyValues DescribedReply(const InstrumentDefinition& definition);

// The check the definition dialog runs before saving: only the characters of the language, an
// even number of nibbles, whole-byte elements only on byte boundaries, every '[' closed by a
// later ']', at most one '%' and no request-checksum section in a request string.
bool CheckDefinitionString(std::string_view text, StringKind kind);
