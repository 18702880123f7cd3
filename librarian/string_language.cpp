#include "librarian/string_language.h"

#include <algorithm>
#include <limits>

ReplyValues replyValues;

namespace {

constexpr const char* errorTexts[] = {
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The section must be either in the form [#72...], [#71...], or "
    "[#27...].",
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The #-code (i.e. #72) must immediately be followed by a + or a * "
    "sign. ",
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The sum must be one of the types: [#72*23] [#72+4] [#72*4+23]. No "
    "other types are allowed.",
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. The sum must be one of the types: [#72*23] [#72+4] [#72*4+23]. No "
    "other types are allowed. (This error occured while the program was reading the second "
    "number.)",
    "There's a problem with the [$...] section in either the request or send string of the "
    "instrument definition. Since you haven't specified the [$R] type, you must use a section of "
    "the type [$31-50] where 31 and 50 refer to the (inclusive) range that the checksum will be "
    "calculated on.",
    "There's a problem with the [$...] section in either the request or send string of the "
    "instrument definition. The range you have asked for a checksum on is not available, since "
    "it either includes the checksum byte, or includes data that will be placed after the "
    "checksum byte.",
    "There's a problem with the ; section in the request string of the instrument definition. "
    "You must use a section of the type ;90,50 where 90 is the total size of the expected SysEx "
    "message, and 50 is the zero-based offset of the actual stored data (%) within this "
    "message.",
};

enum StringError {
    programCodeError = 1,
    programOperatorError,
    programFirstNumberError,
    programSecondNumberError,
    checksumSyntaxError,
    checksumRangeError,
    replySectionError,
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads characters one at a time; past the end it yields '\0', which no rule accepts.
struct Reader {
    std::string_view text;
    std::size_t at = 0;

    char Peek() const { return at < text.size() ? text[at] : '\0'; }
    char Next() { return at < text.size() ? text[at++] : '\0'; }

    // Decimal digits, none meaning 0; a number too large for 32 bits counts as the largest.
    std::int64_t Number() {
        std::int64_t value = 0;
        while (IsDigit(Peek()))
            value = std::min<std::int64_t>(value * 10 + (Next() - '0'),
                                           std::numeric_limits<std::int32_t>::max());
        return value;
    }
};

struct Evaluation {
    const InstrumentDefinition& definition;
    StringKind kind;
    std::int32_t program;
    const std::uint8_t* data;
    std::vector<int>& errors;
    ReplyValues& values; // the process's, or a copy that a check may change freely
    std::vector<std::uint8_t> message;
    std::size_t position = 0;
    bool highNibbleNext = true;

    void PutNibble(int value) {
        if (position >= message.size())
            return;
        if (highNibbleNext) {
            message[position] = static_cast<std::uint8_t>(value << 4);
        } else {
            message[position] |= static_cast<std::uint8_t>(value);
            ++position;
        }
        highNibbleNext = !highNibbleNext;
    }

    void PutByte(std::uint8_t value) {
        if (position < message.size())
            message[position++] = value;
    }

    // Each section reader holds the section's text after the '[' up to and including its ']', so
    // that numbers end at the ']' exactly as the rules say; an unclosed section ends with the text,
    // and reading past it yields '\0', which no rule accepts.
    void ProgramNumberSection(Reader section) {
        char first = section.Next();
        char second = section.Next();
        int code = (first == '7' && second == '1')   ? 71
                   : (first == '7' && second == '2') ? 72
                   : (first == '2' && second == '7') ? 27
                                                     : 0;
        if (code == 0) {
            errors.push_back(programCodeError);
            return;
        }
        char operation = section.Next();
        if (operation != '*' && operation != '+') {
            errors.push_back(programOperatorError);
            return;
        }
        std::uint32_t firstNumber = static_cast<std::uint32_t>(section.Number());
        std::uint32_t secondNumber = 0;
        char end = section.Next();
        if (end == '+' && operation == '*') {
            secondNumber = static_cast<std::uint32_t>(section.Number());
            if (section.Next() != ']') {
                errors.push_back(programSecondNumberError);
                return;
            }
        } else if (end != ']') {
            errors.push_back(programFirstNumberError);
            return;
        }
        // Unsigned arithmetic wraps like the 32-bit registers this was written for; only the low
        // 14 bits reach the message.
        std::uint32_t number = static_cast<std::uint32_t>(program);
        std::uint32_t value =
            operation == '+' ? number + firstNumber : firstNumber * number + secondNumber;
        std::uint8_t low = value & 0x7F;
        std::uint8_t high = (value >> 7) & 0x7F;
        if (code == 71) {
            PutByte(low);
        } else if (code == 72) {
            PutByte(high);
            PutByte(low);
        } else {
            PutByte(low);
            PutByte(high);
        }
    }

    void ChecksumSection(Reader section) {
        std::int64_t first = section.Number();
        if (section.Next() != '-') {
            errors.push_back(checksumSyntaxError);
            return;
        }
        std::int64_t last = section.Number();
        if (section.Next() != ']') {
            errors.push_back(checksumSyntaxError);
            return;
        }
        // The checksum byte stands at the current position: the range must lie wholly before it.
        if (static_cast<std::int64_t>(position) <= last) {
            errors.push_back(checksumRangeError);
            return;
        }
        unsigned sum = 0;
        for (std::int64_t i = first; i <= last; ++i)
            sum += message[static_cast<std::size_t>(i)];
        std::uint8_t checksum = static_cast<std::uint8_t>((128 - sum % 128) % 128);
        PutByte(checksum);
        values.lastChecksum = checksum;
    }

    // The checksum that the request message for the same program carries.
    void RequestChecksumSection() {
        BuiltMessage request = BuildRequestMessage(definition, program);
        errors.insert(errors.end(), request.errors.begin(), request.errors.end());
        PutByte(values.lastChecksum);
    }

    void BracketSection(Reader& reader) {
        std::size_t start = reader.at;
        std::size_t close = reader.text.find(']', start);
        bool closed = close != std::string_view::npos;
        Reader section{reader.text.substr(start, closed ? close - start + 1 : reader.text.npos)};
        reader.at = closed ? close + 1 : reader.text.size();
        char type = section.Next();
        if (type == '#') {
            ProgramNumberSection(section);
        } else if (type == '$') {
            char next = section.Peek();
            if (next == 'R' || next == 'r') {
                // A request string asking for its own checksum would evaluate itself without end.
                if (kind == StringKind::send)
                    RequestChecksumSection();
            } else {
                ChecksumSection(section);
            }
        }
        // Any other bracket is skipped whole.
    }

    void ReplySection(Reader& reader) {
        std::int64_t size = reader.Number();
        if (reader.Next() != ',') {
            errors.push_back(replySectionError);
            return;
        }
        std::int64_t offset = reader.Number();
        char end = reader.Next();
        if (end != '\0' && end != ' ') {
            errors.push_back(replySectionError);
            return;
        }
        values.expectedReplySize = static_cast<std::int32_t>(size);
        values.replyDataOffset = static_cast<std::int32_t>(offset);
    }

    void InsertProgramData() {
        std::size_t size = static_cast<std::size_t>(std::max(definition.programSize, 0));
        for (std::size_t i = 0; i < size; ++i)
            PutByte(data ? data[i] : 0);
    }

    void Run(std::string_view text) {
        Reader reader{text};
        while (reader.at < text.size()) {
            char c = reader.Next();
            int hex = HexValue(c);
            if (hex >= 0) {
                PutNibble(hex);
            } else if (c == '!') {
                PutNibble((definition.channel - 1) & 0x0F);
            } else if (c == '#') {
                PutByte(static_cast<std::uint8_t>(program & 0xFF));
            } else if (c == '%' && kind == StringKind::send) {
                InsertProgramData();
            } else if (c == '[') {
                BracketSection(reader);
            } else if (c == ';' && kind == StringKind::request) {
                ReplySection(reader);
                break;
            }
            // Spaces, and characters the check refuses, produce nothing.
        }
        message.resize(position);
    }
};

BuiltMessage Evaluate(const InstrumentDefinition& definition, StringKind kind, std::int32_t program,
                      const std::uint8_t* data, ReplyValues& values = replyValues) {
    BuiltMessage built;
    std::size_t room =
        kind == StringKind::request
            ? requestMessageRoom
            : static_cast<std::size_t>(std::max(definition.programSize, 0)) + sendMessageExtraRoom;
    Evaluation evaluation{
        definition, kind, program, data, built.errors, values, std::vector<std::uint8_t>(room)};
    evaluation.Run(kind == StringKind::request ? FieldText(definition.requestString)
                                               : FieldText(definition.sendString));
    built.bytes = std::move(evaluation.message);
    return built;
}

} // namespace

const char* StringErrorText(int number) {
    if (number < 1 || number > static_cast<int>(std::size(errorTexts)))
        return "";
    return errorTexts[number - 1];
}

BuiltMessage BuildRequestMessage(const InstrumentDefinition& definition, std::int32_t program) {
    return Evaluate(definition, StringKind::request, program, nullptr);
}

BuiltMessage BuildSendMessage(const InstrumentDefinition& definition, std::int32_t program,
                              const std::uint8_t* data) {
    return Evaluate(definition, StringKind::send, program, data);
}

ReplyValues DescribedReply(const InstrumentDefinition& definition) {
    ReplyValues values = replyValues;
    values.expectedReplySize = definition.programSize;
    values.replyDataOffset = 0;
    Evaluate(definition, StringKind::request, definition.rangeStart, nullptr, values);
    return values;
}

bool CheckDefinitionString(std::string_view text, StringKind kind) {
    int nibbles = 0;
    int dataInsertions = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool onByteBoundary = nibbles % 2 == 0;
        if (HexValue(c) >= 0 || c == '!') {
            ++nibbles;
        } else if (c == ' ') {
        } else if (c == '#') {
            if (!onByteBoundary)
                return false;
        } else if (c == '%') {
            if (kind == StringKind::request || !onByteBoundary || ++dataInsertions > 1)
                return false;
        } else if (c == '[') {
            std::size_t close = text.find(']', i + 1);
            if (close == std::string_view::npos)
                return false;
            std::string_view inside = text.substr(i + 1, close - i - 1);
            bool wholeBytes = !inside.empty() && (inside[0] == '#' || inside[0] == '$');
            if (wholeBytes && !onByteBoundary)
                return false;
            bool requestChecksum =
                inside.size() > 1 && inside[0] == '$' && (inside[1] == 'R' || inside[1] == 'r');
            if (requestChecksum && kind == StringKind::request)
                return false;
            i = close;
        } else if (c == ';') {
            if (kind == StringKind::send)
                return false;
            break;
        } else {
            return false;
        }
    }
    return nibbles % 2 == 0;
}
