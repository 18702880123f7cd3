// Not a timed test: measures a full name update of 100 programs against the virtual M1 at wire
// speed and prints it beside the wire time of its messages. Only the result is checked.
#include "librarian_e2e.h"

#include <chrono>
#include <cstdio>

namespace {

using namespace librarian_e2e;

TEST(LibrarianBenchmark, FullNameUpdateAtWireSpeed) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Librarian librarian =
        StartLibrarian({.programFiles = {{"Korg M1.QXInstrument", DefinitionFile({})},
                                         {"Mine.QXBank", BankFile()}},
                        .instrument = {.mode = "m1", .wireSpeed = true}});
    ASSERT_TRUE(librarian.window);
    const std::string& log = librarian.program.instrumentLog;
    ASSERT_TRUE(WaitForReplies(librarian, 1));

    const auto pressed = std::chrono::steady_clock::now();
    ASSERT_TRUE(e2e::Press(librarian.window, updateId));
    ASSERT_TRUE(WaitForReplies(librarian, 101));
    const auto shown = std::chrono::steady_clock::now();
    EXPECT_EQ(DeviceLines(librarian.window), InstrumentLines());

    const auto entries = e2e::ReadInstrumentLog(log).entries;
    const auto requests = e2e::EventsNamed(entries, "recv");
    const auto replies = e2e::EventsNamed(entries, "send");
    ASSERT_EQ(requests.size(), 101u);
    std::size_t wireBytes = 0;
    for (std::size_t i = 1; i < requests.size(); ++i)
        wireBytes += requests[i].bytes.size() + replies[i].bytes.size();
    const double wireMs = static_cast<double>(wireBytes) * 0.32;
    // From the moment the first request was handed to the output to the last reply's last byte.
    const double instrumentMs = replies.back().ms - requests[1].ms;
    const double wallMs = std::chrono::duration<double, std::milli>(shown - pressed).count();
    std::printf("full name update of 100 programs: %.0f ms by the instrument's log, %.0f ms on "
                "the wall clock; wire time %.0f ms (%zu bytes); ratio %.3f\n",
                instrumentMs, wallMs, wireMs, wireBytes, instrumentMs / wireMs);
    RecordProperty("instrument_ms", static_cast<int>(instrumentMs));
    RecordProperty("wire_ms", static_cast<int>(wireMs));
    e2e::Close(librarian.window);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

} // namespace
