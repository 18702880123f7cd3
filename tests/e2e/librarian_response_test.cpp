// An instrument that does not answer: the response check after opening, the definition dialog
// after it, and transfers whose replies are lost (the drop mode) ending with a message instead of
// locking the window. Also the automatic update at opening, whose time at wire speed is printed.
#include "librarian_e2e.h"

#include <cstdio>

namespace {

using namespace librarian_e2e;

const char* const kSilentText =
    "Your MIDI instrument doesn't seem to be responding.\n\nWhen you click OK, you'll be taken to "
    "the instrument definition dialog box, where you can fix the problem before clicking OK "
    "again. (If the problem rectifies itself by the time you click OK, you'll be left in the "
    "librarian.)\n\nMake sure that:\n\nthe instrument definition is correct\nthe instrument is "
    "set to the correct mode, if this is required by the definition\nthe correct input and "
    "output ports have been chosen\nall the MIDI cables are connected correctly";

e2e::LaunchOptions Files(const Definition& definition, e2e::InstrumentSettings instrument) {
    return {.programFiles = {{"Korg M1.QXInstrument", DefinitionFile(definition)},
                             {"Mine.QXBank", BankFile()}},
            .instrument = instrument};
}

// Not timed: prints how long the instrument's log says a full update of 100 programs took,
// beside the wire time of its messages. Only the messages are checked: one request a program.
void ReportUpdateTime(const std::string& log) {
    const auto entries = e2e::ReadInstrumentLog(log).entries;
    const auto requests = e2e::EventsNamed(entries, "recv");
    const auto replies = e2e::EventsNamed(entries, "send");
    ASSERT_EQ(requests.size(), 100u);
    ASSERT_EQ(replies.size(), 100u);
    std::size_t wireBytes = 0;
    for (std::size_t i = 0; i < requests.size(); ++i)
        wireBytes += requests[i].bytes.size() + replies[i].bytes.size();
    const double wireMs = static_cast<double>(wireBytes) * 0.32;
    // From the first request's arrival to the last reply's last byte.
    const double instrumentMs = replies.back().ms - requests.front().ms;
    std::printf("full name update of 100 programs: %.0f ms by the instrument's log; wire time "
                "%.0f ms (%zu bytes); ratio %.3f\n",
                instrumentMs, wireMs, wireBytes, instrumentMs / wireMs);
    testing::Test::RecordProperty("instrument_ms", static_cast<int>(instrumentMs));
    testing::Test::RecordProperty("wire_ms", static_cast<int>(wireMs));
}

TEST(LibrarianResponse, ASilentInstrumentLeadsToTheDefinitionDialog) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Librarian librarian = StartLibrarian(Files({}, {.mode = "silent"}));
    ASSERT_TRUE(librarian.window);
    // OK in the dialog opens the Librarian again; Cancel the second time goes to the Manager.
    for (int answer : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(answer == IDOK ? "OK" : "Cancel");
        auto box =
            e2e::WaitForMessageBox(librarian.program, std::string("Couldn't update program list"));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, kSilentText);
        EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Exclamation);
        EXPECT_EQ(box->owner, librarian.window);
        ASSERT_TRUE(e2e::Answer(*box, IDOK));
        HWND dialog = e2e::WaitForWindowOf(librarian.program,
                                           {.className = "#32770", .caption = kOptionsCaption});
        ASSERT_TRUE(dialog);
        EXPECT_EQ(e2e::ComboBoxItems(e2e::Control(dialog, modelId)).front(), "Korg M1");
        ASSERT_TRUE(e2e::Press(dialog, answer));
        ASSERT_TRUE(e2e::WaitUntilGone(librarian.window));
        if (answer == IDOK) {
            librarian.window = e2e::WaitForWindowOf(librarian.program, {.className = "QX_SysX2"});
            ASSERT_TRUE(librarian.window);
        }
    }
    HWND manager = e2e::WaitForWindowOf(librarian.program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    // Both openings asked the instrument.
    const auto log = e2e::ReadInstrumentLog(librarian.program.instrumentLog);
    EXPECT_GE(e2e::EventsNamed(log.entries, "recv").size(), 2u);
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

// The drop mode loses every fifth reply: a sweep stops at the first lost one with a message,
// keeps the names it had, and the window can be used again.
TEST(LibrarianResponse, ALostReplyEndsTheTransfer) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Librarian librarian = StartLibrarian(Files({}, {.mode = "m1", .dropEvery = 5}));
    ASSERT_TRUE(librarian.window);
    HWND window = librarian.window;
    ASSERT_TRUE(WaitForReplies(librarian, 1));
    ASSERT_TRUE(e2e::Press(window, updateId));
    // Replies 2 to 4 arrive (programs 0 to 2), the fifth (program 3) is lost.
    auto box = e2e::WaitForMessageBox(librarian.program, std::string("Transfer stopped"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "The instrument did not answer the request for program 004, so the "
                         "transfer has been stopped.\n\nThe names and programs received before "
                         "it are kept.");
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Exclamation);
    std::vector<std::string> lines = UnknownLines();
    for (int program = 0; program < 3; ++program)
        lines[static_cast<std::size_t>(program)] = Line(program + 1, InstrumentName(program));
    EXPECT_EQ(DeviceLines(window), lines);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    EXPECT_TRUE(IsWindowEnabled(window));
    // Usable again: a new update gets further (replies 6 to 9, then 10 is lost).
    ASSERT_TRUE(e2e::Press(window, updateId));
    box = e2e::WaitForMessageBox(librarian.program, std::string("Transfer stopped"));
    ASSERT_TRUE(box);
    EXPECT_NE(box->text.find("program 005"), std::string::npos) << box->text;
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    e2e::Close(window);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

TEST(LibrarianResponse, AutomaticUpdateLocksTheWindowUntilItEnds) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Definition automatic;
    automatic.autoUpdate = 1;
    {
        Librarian librarian = StartLibrarian(Files(automatic, {.mode = "m1", .wireSpeed = true}));
        ASSERT_TRUE(librarian.window);
        EXPECT_FALSE(IsWindowEnabled(librarian.window));
        EXPECT_TRUE(DeviceLinesAfter(librarian, 100, InstrumentLines()));
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(librarian.window) != FALSE; },
                                   "enabled at the end"));
        ReportUpdateTime(librarian.program.instrumentLog);
        e2e::Close(librarian.window);
        EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
    }
    Librarian librarian = StartLibrarian(Files(automatic, {.mode = "m1", .dropEvery = 30}));
    ASSERT_TRUE(librarian.window);
    auto box = e2e::WaitForMessageBox(librarian.program, std::string("Transfer stopped"));
    ASSERT_TRUE(box);
    EXPECT_NE(box->text.find("program 030"), std::string::npos) << box->text;
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    EXPECT_TRUE(IsWindowEnabled(librarian.window));
    ASSERT_TRUE(e2e::Press(librarian.window, managerId));
    EXPECT_TRUE(e2e::WaitForWindowOf(librarian.program, {.className = "QX_SysEx"}));
    EXPECT_FALSE(
        e2e::EventsNamed(e2e::ReadInstrumentLog(librarian.program.instrumentLog).entries, "drop")
            .empty());
    e2e::Close(e2e::FindWindowOf(librarian.program, {.className = "QX_SysEx"}));
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

} // namespace
