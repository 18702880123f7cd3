// The harness's own tests, for the parts where a fault would hide a fault of the program: the
// instrument log's parser, waits that time out, reading and driving the windows of another
// process under Wine, message box icons, CTRL, and the ending of every started process.
// They drive HarnessFixture.exe, a small program whose windows the tests know.
#include "fixture/fixture.h"
#include "harness/e2e.h"

#include <gtest/gtest-spi.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using e2e::LogEntry;

// ---- The instrument's log --------------------------------------------------------------------

TEST(InstrumentLog, ReadsEveryKindOfLine) {
    auto log = e2e::ParseInstrumentLog("0.000 open-out\n"
                                       "0.250 open-in\r\n"
                                       "12.125 recv 6 F0 42 30 19 10 F7\n"
                                       "12.500 done 6\n"
                                       "13.001 send 3 f04230\n"
                                       "14.000 drop 0 \n"
                                       "15.000 note program 12 selected\n"
                                       "16.000 reset-in\n");
    ASSERT_TRUE(log.badLines.empty()) << e2e::FormatLog(log);
    ASSERT_EQ(log.entries.size(), 8u);
    EXPECT_EQ(log.entries[1].event, "open-in");
    const LogEntry& recv = log.entries[2];
    EXPECT_DOUBLE_EQ(recv.ms, 12.125);
    EXPECT_EQ(recv.event, "recv");
    EXPECT_EQ(recv.count, 6);
    EXPECT_EQ(recv.bytes, e2e::HexBytes("F0 42 30 19 10 F7"));
    EXPECT_EQ(log.entries[3].event, "done");
    EXPECT_EQ(log.entries[3].count, 6);
    EXPECT_EQ(log.entries[4].bytes, (std::vector<unsigned char>{0xF0, 0x42, 0x30}));
    EXPECT_EQ(log.entries[5].count, 0);
    EXPECT_TRUE(log.entries[5].bytes.empty());
    EXPECT_EQ(log.entries[6].text, "program 12 selected");
    EXPECT_EQ(e2e::EventsNamed(log.entries, "recv").size(), 1u);
}

TEST(InstrumentLog, ReportsEveryLineThatBreaksTheFormat) {
    const char* bad[] = {
        "",                         // empty line
        "open-out",                 // no time
        "1.000",                    // no event
        "x.000 open-out",           // time not a number
        "1. open-out",              // fraction missing
        "-1.000 open-out",          // negative time
        "1.000 Open-Out",           // event not lower case
        "1.000 recv 3 F0 42",       // fewer bytes than counted
        "1.000 recv 1 F0 42",       // more bytes than counted
        "1.000 recv F0 42",         // count missing
        "1.000 recv 2 F0 4",        // half a byte
        "1.000 recv 2 F 042",       // space inside a byte
        "1.000 send 1 G0",          // not hex
        "1.000 recv 9999999999 F0", // absurd count
        "1.000 done",               // count missing
        "1.000 done 2 F0 F7",       // done carries no bytes
    };
    for (const char* line : bad) {
        auto log = e2e::ParseInstrumentLog(std::string(line) + "\n");
        EXPECT_TRUE(log.entries.empty()) << "accepted: \"" << line << "\"";
        ASSERT_EQ(log.badLines.size(), 1u) << line;
        EXPECT_EQ(log.badLines[0], line);
    }
}

TEST(InstrumentLog, LeavesOutTheLineStillBeingWritten) {
    auto log = e2e::ParseInstrumentLog("1.000 open-out\n2.000 recv 2 F0");
    EXPECT_TRUE(log.badLines.empty());
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].event, "open-out");
}

TEST(InstrumentLog, ReadsWhatTheVirtualInstrumentWrites) {
    // Channel 3 makes F0 42 32 ... a request to the M1 itself: the instrument's note about the
    // request shows that the settings reached it. The program runs from a copy of the program
    // folder, so the instrument is the copy of midimap.dll beside it.
    e2e::Program program = e2e::Launch({.program = "HarnessFixture.exe",
                                        .arguments = "midi",
                                        .separateProgramFolder = true,
                                        .instrument = {.mode = "m1", .channel = 3}});
    ASSERT_TRUE(program);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    auto request = e2e::HexBytes("F0 42 32 19 10 F7");
    EXPECT_TRUE(e2e::WaitForLog(
        program.instrumentLog,
        [&](const std::vector<LogEntry>& entries) {
            auto received = e2e::EventsNamed(entries, "recv");
            auto done = e2e::EventsNamed(entries, "done");
            auto notes = e2e::EventsNamed(entries, "note");
            return received.size() == 1 && received[0].bytes == request && done.size() == 1 &&
                   done[0].count == 6 &&
                   std::any_of(notes.begin(), notes.end(),
                               [](const LogEntry& note) {
                                   return note.text.starts_with("dump request");
                               }) &&
                   !e2e::EventsNamed(entries, "close-out").empty();
        },
        "the dump request, its completion and the M1's note"));
}

TEST(InstrumentLog, WaitSucceedsOnlyWhenTheLogShowsIt) {
    std::string path = e2e::JoinPath(e2e::ScratchFolder(), "instrument.log");
    auto hasRecv = [](const std::vector<LogEntry>& entries) {
        return !e2e::EventsNamed(entries, "recv").empty();
    };
    auto missing = e2e::WaitForLog(path, hasRecv, "a message", 100ms);
    EXPECT_FALSE(missing);

    ASSERT_TRUE(e2e::WriteFileBytes(path, "0.000 open-out\n"));
    auto notYet = e2e::WaitForLog(path, hasRecv, "a message", 100ms);
    EXPECT_FALSE(notYet);
    EXPECT_NE(std::string(notYet.message()).find("0.000 open-out"), std::string::npos)
        << "the failure should show the log: " << notYet.message();

    ASSERT_TRUE(e2e::WriteFileBytes(path, "0.000 open-out\n1.000 recv 1 F8\n"));
    EXPECT_TRUE(e2e::WaitForLog(path, hasRecv, "a message", 100ms));

    // A broken line fails the wait even when the condition holds.
    ASSERT_TRUE(e2e::WriteFileBytes(path, "1.000 recv 1 F8\n1.000 recv 1\n"));
    auto broken = e2e::WaitForLog(path, hasRecv, "a message", 100ms);
    EXPECT_FALSE(broken);
    EXPECT_NE(std::string(broken.message()).find("BAD LINE"), std::string::npos);
}

// ---- Waiting ---------------------------------------------------------------------------------

TEST(Waiting, TimeoutIsAFailureAfterTheWholeTimeout) {
    auto start = std::chrono::steady_clock::now();
    auto result = e2e::WaitUntil([] { return false; }, "never", 200ms);
    EXPECT_FALSE(result);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_NE(std::string(result.message()).find("never"), std::string::npos);

    int calls = 0;
    EXPECT_TRUE(e2e::WaitUntil([&] { return ++calls == 3; }, "third call", 5s));
    EXPECT_EQ(calls, 3);
}

TEST(Waiting, StaysTrueFailsWhenTheConditionTurns) {
    int calls = 0;
    EXPECT_FALSE(e2e::StaysTrue([&] { return ++calls < 3; }, "first two calls", 1s));
    EXPECT_TRUE(e2e::StaysTrue([] { return true; }, "always", 100ms));
}

TEST(Waiting, WaitsForTheProgramFailTheTestOnTimeout) {
    e2e::Program program = e2e::Launch({.program = "HarnessFixture.exe", .arguments = "sleep"});
    ASSERT_TRUE(program);
    EXPECT_NONFATAL_FAILURE(e2e::WaitForWindowOf(program, {.className = "HarnessFixture"}, 300ms),
                            "of class \"HarnessFixture\"");
    EXPECT_NONFATAL_FAILURE(e2e::WaitForMessageBox(program, {}, 300ms), "a message box");
    EXPECT_NONFATAL_FAILURE(e2e::WaitForExit(program, 300ms), "did not end");
    EXPECT_TRUE(e2e::IsRunning(program));
}

TEST(Waiting, WaitForAWindowEndsWhenTheProgramHasEnded) {
    e2e::Program program = e2e::Launch({.program = "HarnessFixture.exe", .arguments = "exit 9"});
    ASSERT_TRUE(program);
    auto start = std::chrono::steady_clock::now();
    EXPECT_NONFATAL_FAILURE(e2e::WaitForWindowOf(program, {.className = "HarnessFixture"}),
                            "the program ended with exit code 9");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

// ---- Starting and ending ---------------------------------------------------------------------

std::string ReportLine(const std::string& report, const std::string& name) {
    size_t at = report.find(name + "=");
    if (at == std::string::npos)
        return "(absent)";
    at += name.size() + 1;
    return report.substr(at, report.find('\n', at) - at);
}

TEST(Launch, PreparesFoldersFilesAndTheInstrumentsEnvironment) {
    // Variables of the outside world must not reach the program.
    SetEnvironmentVariableA("TALVANE_VI_CHANNEL", "9");
    const std::string bytes("\xF0\x00\x20\xF7", 4);
    e2e::Program program = e2e::Launch({
        .program = "HarnessFixture.exe",
        .arguments = "report",
        .workFiles = {{"given.syx", bytes}},
        .programFiles = {{"Extra.QXInstrument", "definition"}},
        .instrument = {.mode = "silent", .wireSpeed = true, .dropEvery = 4, .failOpen = "in"},
        .environment = {{"E2E_EXTRA", "yes"}},
    });
    SetEnvironmentVariableA("TALVANE_VI_CHANNEL", nullptr);
    ASSERT_TRUE(program);
    ASSERT_EQ(e2e::WaitForExit(program), 0u);

    auto report = e2e::ReadFileBytes(e2e::JoinPath(program.workFolder, "report.txt"));
    ASSERT_TRUE(report);
    EXPECT_EQ(ReportLine(*report, "cwd"), program.workFolder);
    EXPECT_EQ(ReportLine(*report, "program"),
              e2e::JoinPath(program.programFolder, "HarnessFixture.exe"));
    EXPECT_NE(program.programFolder, e2e::BinFolder());
    EXPECT_EQ(ReportLine(*report, "TALVANE_VI_MODE"), "silent");
    EXPECT_EQ(ReportLine(*report, "TALVANE_VI_CHANNEL"), "(absent)");
    EXPECT_EQ(ReportLine(*report, "TALVANE_VI_WIRE_SPEED"), "1");
    EXPECT_EQ(ReportLine(*report, "TALVANE_VI_DROP_EVERY"), "4");
    EXPECT_EQ(ReportLine(*report, "TALVANE_VI_FAIL_OPEN"), "in");
    EXPECT_EQ(ReportLine(*report, "TALVANE_VI_LOG"), program.instrumentLog);
    EXPECT_EQ(ReportLine(*report, "E2E_EXTRA"), "yes");

    EXPECT_EQ(e2e::ReadFileBytes(e2e::JoinPath(program.workFolder, "given.syx")), bytes);
    auto programFiles = e2e::FileNames(program.programFolder);
    for (const char* name : {"Talvane95.dat", "Talvane95.exe", "midimap.dll", "Extra.QXInstrument"})
        EXPECT_NE(std::find(programFiles.begin(), programFiles.end(), name), programFiles.end())
            << name << " is missing from the program folder";
}

TEST(Launch, FreshRegistryForgetsWhatEarlierRunsWrote) {
    using e2e::kSettingsKey;
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "WindowX", 0x12345678));
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "WindowX"), 0x12345678u);
    ASSERT_TRUE(
        e2e::WriteValue(HKEY_LOCAL_MACHINE, kSettingsKey, "DisableExtensions", REG_NONE, {}));
    ASSERT_TRUE(e2e::WriteString(HKEY_CLASSES_ROOT, ".syx", "", "Talvane"));
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, ".syx", ""), "Talvane");
    // A string is not a number.
    EXPECT_FALSE(e2e::ReadDword(HKEY_CLASSES_ROOT, ".syx", ""));

    {
        e2e::Program kept = e2e::Launch(
            {.program = "HarnessFixture.exe", .arguments = "exit 0", .freshRegistry = false});
        ASSERT_TRUE(kept);
        EXPECT_EQ(e2e::WaitForExit(kept), 0u);
    }
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "WindowX"), 0x12345678u);

    e2e::Program fresh = e2e::Launch({.program = "HarnessFixture.exe", .arguments = "exit 0"});
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(e2e::KeyExists(HKEY_CURRENT_USER, "Software\\Quillfen"));
    EXPECT_FALSE(e2e::KeyExists(HKEY_LOCAL_MACHINE, "Software\\Quillfen"));
    EXPECT_FALSE(e2e::KeyExists(HKEY_CLASSES_ROOT, ".syx"));
}

TEST(Launch, ExitCodeIsThePrograms) {
    e2e::Program program = e2e::Launch({.program = "HarnessFixture.exe", .arguments = "exit 7"});
    ASSERT_TRUE(program);
    EXPECT_EQ(e2e::WaitForExit(program), 7u);
    EXPECT_FALSE(e2e::IsRunning(program));
}

TEST(Launch, ProgramStartedWhileCtrlIsHeldSeesIt) {
    std::optional<DWORD> code;
    {
        e2e::CtrlHeld ctrl;
        ASSERT_TRUE(ctrl.held);
        e2e::Program program = e2e::Launch({.program = "HarnessFixture.exe", .arguments = "ctrl"});
        ASSERT_TRUE(program);
        code = e2e::WaitForExit(program);
    }
    ASSERT_TRUE(code);
    // GetAsyncKeyState sees it. (GetKeyState of the new thread says up under Wine 8: the thread
    // never received the key message.)
    EXPECT_EQ(*code & 2, 2u);

    e2e::Program after = e2e::Launch({.program = "HarnessFixture.exe", .arguments = "ctrl"});
    ASSERT_TRUE(after);
    EXPECT_EQ(e2e::WaitForExit(after), 0u);
}

TEST(Launch, EndingTheProgramEndsItsChildrenToo) {
    std::vector<e2e::ProcessHandle> processes;
    {
        e2e::Program program = e2e::Launch({.program = "HarnessFixture.exe", .arguments = "spawn"});
        ASSERT_TRUE(program);
        // The dialog belongs to the child that the started process started.
        HWND dialog = e2e::WaitForWindowOf(program, {.className = "HarnessFixture"});
        ASSERT_TRUE(dialog);
        processes.push_back(e2e::OpenProcessOf(dialog));
        processes.emplace_back(
            OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.processId));
        EXPECT_EQ(e2e::ProcessIds(program).size(), 2u);
    }
    for (const e2e::ProcessHandle& process : processes) {
        ASSERT_TRUE(process);
        EXPECT_EQ(WaitForSingleObject(process.value, 0), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(process.value, &code);
        EXPECT_EQ(code, e2e::kTerminatedExitCode);
    }
}

// ---- Windows of another process --------------------------------------------------------------

class FixtureWindow : public testing::Test {
  protected:
    void SetUp() override {
        program = e2e::Launch({.program = "HarnessFixture.exe"});
        ASSERT_TRUE(program);
        dialog = e2e::WaitForWindowOf(
            program, {.className = "HarnessFixture", .caption = "Harness Fixture"});
        ASSERT_TRUE(dialog);
    }
    std::string Status() { return e2e::Text(e2e::Control(dialog, FIXTURE_STATUS)); }
    testing::AssertionResult StatusBecomes(const std::string& expected) {
        auto seen = e2e::WaitUntil([&] { return Status() == expected; },
                                   "the status shows \"" + expected + "\"", 5s);
        if (!seen)
            return seen << " (it shows \"" << Status() << "\")";
        return seen;
    }

    e2e::Program program;
    HWND dialog = nullptr;
};

TEST_F(FixtureWindow, ReadsListsCombosAndTextsOfAnotherProcess) {
    EXPECT_EQ(e2e::Text(dialog), "Harness Fixture");
    EXPECT_EQ(Status(), "ready");
    std::vector<std::string> expected{"alpha", "b\xE9ta caf\xE9",
                                      "long " + std::string(600, 'x') + " end"};
    EXPECT_EQ(e2e::ListBoxItems(e2e::Control(dialog, FIXTURE_LIST)), expected);
    EXPECT_EQ(e2e::ListBoxSelection(e2e::Control(dialog, FIXTURE_LIST)), -1);
    HWND combo = e2e::Control(dialog, FIXTURE_COMBO);
    EXPECT_EQ(e2e::ComboBoxItems(combo), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(e2e::ComboBoxSelection(combo), 1);
    EXPECT_EQ(e2e::FindWindowsOf(program, {.caption = "no such caption"}).size(), 0u);
}

TEST_F(FixtureWindow, SelectingSendsTheNotificationOfTheControl) {
    HWND list = e2e::Control(dialog, FIXTURE_LIST);
    ASSERT_TRUE(e2e::SelectListBoxItem(list, 1));
    EXPECT_TRUE(StatusBecomes("list select 1"));
    EXPECT_EQ(e2e::ListBoxSelection(list), 1);
    ASSERT_TRUE(e2e::DoubleClickListBoxItem(list, 0));
    EXPECT_TRUE(StatusBecomes("list double-click 0"));
    ASSERT_TRUE(e2e::SelectComboBoxItem(e2e::Control(dialog, FIXTURE_COMBO), 2));
    EXPECT_TRUE(StatusBecomes("combo select 2"));

    EXPECT_FALSE(e2e::SelectListBoxItem(list, 3));
    EXPECT_FALSE(e2e::SelectComboBoxItem(e2e::Control(dialog, FIXTURE_COMBO), -1));
}

TEST_F(FixtureWindow, TypesKeysAndText) {
    HWND edit = e2e::Control(dialog, FIXTURE_EDIT);
    ASSERT_TRUE(e2e::TypeText(edit, "Hi \xE9!"));
    EXPECT_EQ(e2e::Text(edit), "Hi \xE9!");
    ASSERT_TRUE(e2e::SetText(edit, "replaced"));
    EXPECT_EQ(e2e::Text(edit), "replaced");
    ASSERT_TRUE(e2e::PressKey(dialog, VK_F5));
    EXPECT_EQ(Status(), "key " + std::to_string(VK_F5) + " ctrl up");
}

TEST_F(FixtureWindow, PressingADisabledButtonFailsAndDoesNothing) {
    EXPECT_FALSE(e2e::Press(dialog, FIXTURE_DISABLED));
    EXPECT_TRUE(e2e::StaysTrue([&] { return Status() == "ready"; }, "nothing happened", 200ms));
}

TEST_F(FixtureWindow, PressReturnsWhileTheProgramShowsAMessageBox) {
    HWND ask = e2e::Control(dialog, FIXTURE_ASK);
    EXPECT_EQ(e2e::Deliver(dialog, WM_COMMAND, MAKEWPARAM(FIXTURE_ASK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(ask)),
              e2e::Delivery::Waiting);
    auto box = e2e::WaitForMessageBox(program, "Fixture question");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->owner, dialog);
    EXPECT_EQ(box->text, "Do you want to go on?");
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Question);
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_FALSE(e2e::Answer(*box, IDCANCEL));
    ASSERT_TRUE(e2e::Answer(*box, IDNO));
    EXPECT_TRUE(StatusBecomes("answer " + std::to_string(IDNO)));

    // A command that the program handles at once comes back handled.
    HWND probe = e2e::Control(dialog, FIXTURE_PROBE);
    EXPECT_EQ(e2e::Deliver(dialog, WM_COMMAND, MAKEWPARAM(FIXTURE_PROBE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(probe)),
              e2e::Delivery::Handled);
    EXPECT_EQ(Status(), "probe ctrl up");
}

TEST_F(FixtureWindow, ProgramSeesCtrlWhileItIsHeld) {
    {
        e2e::CtrlHeld ctrl(dialog);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(dialog, FIXTURE_PROBE));
        EXPECT_EQ(Status(), "probe ctrl down");
        ASSERT_TRUE(e2e::PressKey(dialog, 'P'));
        EXPECT_EQ(Status(), "key 80 ctrl down");
    }
    ASSERT_TRUE(e2e::Press(dialog, FIXTURE_PROBE));
    EXPECT_EQ(Status(), "probe ctrl up");
}

TEST_F(FixtureWindow, CtrlStaysHeldWhileOtherWindowsOpen) {
    e2e::CtrlHeld ctrl(dialog);
    ASSERT_TRUE(ctrl.held);
    // A message box takes the focus and gives it back when it closes.
    ASSERT_TRUE(e2e::Press(dialog, FIXTURE_ASK));
    auto box = e2e::WaitForMessageBox(program, "Fixture question");
    ASSERT_TRUE(box);
    ASSERT_TRUE(e2e::Answer(*box, IDYES));
    ASSERT_TRUE(StatusBecomes("answer " + std::to_string(IDYES)));
    EXPECT_TRUE(
        e2e::WaitUntil([] { return GetAsyncKeyState(VK_CONTROL) < 0; }, "CTRL is down", 1s));
    ASSERT_TRUE(e2e::Press(dialog, FIXTURE_PROBE));
    EXPECT_EQ(Status(), "probe ctrl down");
}

TEST_F(FixtureWindow, ClosingEndsTheProgramWithItsExitCode) {
    e2e::Close(dialog);
    EXPECT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_EQ(e2e::WaitForExit(program), 3u);
}

TEST_F(FixtureWindow, MinimizesAndRestores) {
    ASSERT_TRUE(e2e::Minimize(dialog));
    EXPECT_TRUE(IsIconic(dialog));
    ASSERT_TRUE(e2e::Restore(dialog));
    EXPECT_FALSE(IsIconic(dialog));
}

TEST_F(FixtureWindow, ScreenshotIsABitmapOfTheWindow) {
    std::string path = e2e::JoinPath(e2e::ScratchFolder(), "fixture.bmp");
    ASSERT_TRUE(e2e::SaveScreenshot(dialog, path));
    auto file = e2e::ReadFileBytes(path);
    ASSERT_TRUE(file);
    ASSERT_GT(file->size(), 54u);
    EXPECT_EQ(file->substr(0, 2), "BM");
    auto number = [&](size_t at) {
        return static_cast<long>(static_cast<unsigned char>((*file)[at]) |
                                 static_cast<unsigned char>((*file)[at + 1]) << 8);
    };
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(number(18), rect.right - rect.left);
    EXPECT_EQ(number(22), rect.bottom - rect.top);
    // The window shows more than one colour: something was drawn, not an empty picture.
    e2e::Image image = e2e::CaptureWindow(dialog);
    ASSERT_TRUE(image);
    EXPECT_NE(std::count(image.pixels.begin(), image.pixels.end(), image.pixels[0]),
              static_cast<long>(image.pixels.size()));
}

// ---- Message boxes ---------------------------------------------------------------------------

struct BoxCase {
    const char* argument;
    e2e::MessageBoxIcon icon;
    std::vector<int> buttons;
};

class MessageBoxes : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxes, ReadsCaptionTextIconAndButtons) {
    const BoxCase& expected = GetParam();
    e2e::Program program = e2e::Launch(
        {.program = "HarnessFixture.exe", .arguments = std::string("box ") + expected.argument});
    ASSERT_TRUE(program);
    auto box = e2e::WaitForMessageBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Fixture box");
    EXPECT_EQ(box->text, "First line\nSecond line");
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_EQ(box->icon, expected.icon);
    EXPECT_EQ(box->buttons, expected.buttons);
    ASSERT_TRUE(e2e::Answer(*box, expected.buttons.back()));
    EXPECT_EQ(e2e::WaitForExit(program), static_cast<DWORD>(expected.buttons.back()));
}

INSTANTIATE_TEST_SUITE_P(
    EveryIcon, MessageBoxes,
    testing::Values(BoxCase{"stop", e2e::MessageBoxIcon::Stop, {IDOK, IDCANCEL}},
                    BoxCase{"exclamation", e2e::MessageBoxIcon::Exclamation, {IDOK}},
                    BoxCase{"information", e2e::MessageBoxIcon::Information, {IDOK}},
                    BoxCase{"question", e2e::MessageBoxIcon::Question, {IDYES, IDNO, IDCANCEL}},
                    BoxCase{"none", e2e::MessageBoxIcon::None, {IDRETRY, IDCANCEL}}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.argument); });

} // namespace
