#include "harness/instrument_log.h"

#include "harness/scratch.h"

#include <optional>

namespace e2e {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Cuts the first space-separated word off `rest`.
std::string_view NextWord(std::string_view& rest) {
    size_t end = rest.find(' ');
    std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return word;
}

std::optional<double> Milliseconds(std::string_view word) {
    size_t dot = word.find('.');
    std::string_view whole = word.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? "" : word.substr(dot + 1);
    if (whole.empty() || whole.size() > 12 || (dot != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    double value = 0;
    for (char c : whole) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    double scale = 1;
    for (char c : fraction) {
        if (!IsDigit(c))
            return std::nullopt;
        scale /= 10;
        value += (c - '0') * scale;
    }
    return value;
}

std::optional<int> Count(std::string_view word) {
    if (word.empty() || word.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : word) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::vector<unsigned char>> ParseHex(std::string_view hex) {
    std::vector<unsigned char> bytes;
    int high = -1;
    for (char c : hex) {
        if (c == ' ') {
            if (high >= 0) // a space inside a byte
                return std::nullopt;
            continue;
        }
        int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<unsigned char>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return bytes;
}

bool IsEventName(std::string_view word) {
    if (word.empty() || word[0] < 'a' || word[0] > 'z')
        return false;
    for (char c : word)
        if (!((c >= 'a' && c <= 'z') || IsDigit(c) || c == '-'))
            return false;
    return true;
}

bool CarriesMessage(std::string_view event) {
    return event == "recv" || event == "send" || event == "drop";
}

std::optional<LogEntry> ParseLine(std::string_view line) {
    LogEntry entry;
    entry.line = std::string(line);
    std::string_view rest = line;
    auto ms = Milliseconds(NextWord(rest));
    std::string_view event = NextWord(rest);
    if (!ms || !IsEventName(event))
        return std::nullopt;
    entry.ms = *ms;
    entry.event = std::string(event);
    if (CarriesMessage(event)) {
        auto count = Count(NextWord(rest));
        auto bytes = ParseHex(rest);
        if (!count || !bytes || bytes->size() != static_cast<size_t>(*count))
            return std::nullopt;
        entry.count = *count;
        entry.bytes = std::move(*bytes);
    } else if (event == "done") {
        auto count = Count(rest);
        if (!count)
            return std::nullopt;
        entry.count = *count;
    } else {
        entry.text = std::string(rest);
    }
    return entry;
}

} // namespace

InstrumentLog ParseInstrumentLog(std::string_view text) {
    InstrumentLog log;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto entry = ParseLine(line))
            log.entries.push_back(std::move(*entry));
        else
            log.badLines.emplace_back(line);
    }
    return log;
}

InstrumentLog ReadInstrumentLog(const std::string& path) {
    auto text = ReadFileBytes(path);
    return text ? ParseInstrumentLog(*text) : InstrumentLog{};
}

testing::AssertionResult WaitForLog(const std::string& path, const LogCondition& condition,
                                    std::string_view what, e2e::Milliseconds timeout) {
    InstrumentLog log;
    auto seen = WaitUntil(
        [&] {
            log = ReadInstrumentLog(path);
            return !log.badLines.empty() || condition(log.entries);
        },
        std::string("the instrument's log shows ") + std::string(what), timeout);
    if (!log.badLines.empty())
        return testing::AssertionFailure()
               << "the instrument's log " << path << " breaks its format:\n"
               << FormatLog(log);
    if (!seen)
        return testing::AssertionFailure() << seen.message() << "\nlog " << path << ":\n"
                                           << FormatLog(log);
    return testing::AssertionSuccess();
}

std::vector<LogEntry> EventsNamed(const std::vector<LogEntry>& entries, std::string_view event) {
    std::vector<LogEntry> named;
    for (const LogEntry& entry : entries)
        if (entry.event == event)
            named.push_back(entry);
    return named;
}

std::vector<unsigned char> HexBytes(std::string_view hex) {
    auto bytes = ParseHex(hex);
    if (!bytes) {
        ADD_FAILURE() << "not hex bytes: \"" << hex << "\"";
        return {};
    }
    return *bytes;
}

std::string HexText(const std::vector<unsigned char>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

std::string FormatLog(const InstrumentLog& log) {
    std::string text;
    for (const LogEntry& entry : log.entries)
        text += "  " + entry.line + "\n";
    for (const std::string& line : log.badLines)
        text += "  BAD LINE: \"" + line + "\"\n";
    if (text.empty())
        text = "  (empty)\n";
    return text;
}

} // namespace e2e
