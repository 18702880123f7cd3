#pragma once
// The virtual instrument's log: one line per event, "<ms> <event> [<count> <hex bytes>]", ms with
// three decimals since the instrument opened. Events:
//   open-out close-out reset-out open-in close-in start-in stop-in reset-in
//   recv <n> <hex>   a message the program sent to the instrument
//   done <n>         the completion of that message reported back to the program
//   send <n> <hex>   a message the instrument put on the program's input
//   drop <n> <hex>   a reply the instrument dropped on purpose
//   note <text>      anything else worth knowing
// Hex bytes may be written with or without spaces between them.

#include "harness/wait.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

struct LogEntry {
    double ms = 0;
    std::string event;
    int count = -1;                   // recv, send, drop, done: the message's length
    std::vector<unsigned char> bytes; // recv, send, drop: the message
    std::string text;                 // note: its text; other events: anything after the event
    std::string line;                 // the whole line as written
};

struct InstrumentLog {
    std::vector<LogEntry> entries;
    std::vector<std::string> badLines; // lines that break the format: always a fault
};

// Parses complete lines; a last line without its newline is still being written and is left out.
InstrumentLog ParseInstrumentLog(std::string_view text);
// The log file as it is now (empty when the file does not exist yet).
InstrumentLog ReadInstrumentLog(const std::string& path);

using LogCondition = std::function<bool(const std::vector<LogEntry>&)>;

// Polls the log until `condition` holds. Fails at once when the log has a line that breaks the
// format; on timeout the failure shows the whole log.
[[nodiscard]] testing::AssertionResult WaitForLog(const std::string& path,
                                                  const LogCondition& condition,
                                                  std::string_view what,
                                                  Milliseconds timeout = kDefaultTimeout);

// The entries of one event, in order.
std::vector<LogEntry> EventsNamed(const std::vector<LogEntry>& entries, std::string_view event);

// "F0 42 30" (spaces optional) as bytes; records a failure for anything else.
std::vector<unsigned char> HexBytes(std::string_view hex);
// Bytes as "F0 42 30".
std::string HexText(const std::vector<unsigned char>& bytes);

// The log's lines (and its bad lines), for failure messages.
std::string FormatLog(const InstrumentLog& log);

} // namespace e2e
