// The command-line send: "Talvane95.dat /send file" sends the file to the instrument without
// any window, typing its progress into an open Notepad titled "talvane32.log - Notepad".
#include "harness/e2e.h"
#include "shell_stand_ins.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace shell_e2e;

// A file in the program's own multi-message format.
std::string MultiMessageFile(const std::vector<std::string>& messages) {
    std::string file = "Brevikorlando+";
    std::string description = "three";
    description.resize(100, '\0');
    file += description;
    auto count = static_cast<std::uint16_t>(messages.size());
    file += static_cast<char>(count & 0xFF);
    file += static_cast<char>(count >> 8);
    for (const std::string& message : messages) {
        auto length = static_cast<std::uint32_t>(message.size());
        for (int shift = 0; shift < 32; shift += 8)
            file += static_cast<char>(length >> shift & 0xFF);
    }
    for (const std::string& message : messages)
        file += message;
    return file;
}

void SettingsOfAnEarlierStart() {
    e2e::ResetRegistry();
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "ToolTips", 2));
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "ToolTipsCountdown", 5));
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "OutputPort", DWORD(-1)));
}

TEST(ShellSend, ThreeMessagesGoOutPacedWithoutAnyWindow) {
    SettingsOfAnEarlierStart();
    const std::vector<std::string> messages = {
        std::string("\xF0\x41\x10\x16\x12\x00\x00\x00\x01\xF7", 10),
        std::string("\xF0\x43\x00\x09\x20\x00\x7F\x11\xF7", 9),
        std::string("\xF0\x7E\x7F\x06\x01\xF7", 6),
    };
    std::string temporary = TemporaryFolder();
    DeleteFileA((temporary + "~temp.syx").c_str());
    DeleteFileA((temporary + "~temp.lst").c_str());
    TestNotepad notepad;

    e2e::Program program = e2e::Launch({.arguments = "/send three.syx",
                                        .workFiles = {{"three.syx", MultiMessageFile(messages)}},
                                        .freshRegistry = false,
                                        .instrument = {.mode = "loopback", .wireSpeed = true}});
    ASSERT_TRUE(program);
    std::optional<DWORD> exitCode;
    EXPECT_TRUE(e2e::StaysTrue(
        [&] {
            if (WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0)
                exitCode = e2e::WaitForExit(program);
            return e2e::FindWindowsOf(program, {}).empty();
        },
        "no window while sending", e2e::Milliseconds(1500)));
    if (!exitCode)
        exitCode = e2e::WaitForExit(program);
    EXPECT_EQ(exitCode, 0u);

    e2e::InstrumentLog log = e2e::ReadInstrumentLog(program.instrumentLog);
    EXPECT_TRUE(log.badLines.empty()) << e2e::FormatLog(log);
    std::vector<e2e::LogEntry> received = e2e::EventsNamed(log.entries, "recv");
    std::vector<e2e::LogEntry> done = e2e::EventsNamed(log.entries, "done");
    ASSERT_EQ(received.size(), 3u) << e2e::FormatLog(log);
    ASSERT_EQ(done.size(), 3u) << e2e::FormatLog(log);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(received[i].bytes,
                  std::vector<unsigned char>(messages[i].begin(), messages[i].end()));
    for (std::size_t i = 1; i < 3; ++i)
        EXPECT_GE(received[i].ms - done[i - 1].ms, 20.0) << e2e::FormatLog(log);

    EXPECT_TRUE(e2e::WaitUntil([&] { return notepad.Text().find("Finished") != std::string::npos; },
                               "Finished traced"));
    EXPECT_EQ(notepad.Text(), "Sending\r\nWaiting\r\n"
                              "!\r\nNext\r\nDone1\r\n"
                              "!\r\nNext\r\nDone1\r\n"
                              "!\r\nNext\r\nDone1\r\n"
                              "Finished\r\n");

    EXPECT_EQ(e2e::FileNames(program.workFolder), std::vector<std::string>{"three.syx"});
    EXPECT_FALSE(e2e::FileExists(temporary + "~temp.syx"));
    EXPECT_FALSE(e2e::FileExists(temporary + "~temp.lst"));
    // The start is counted, also when the program only sends.
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTipsCountdown"), 4u);
}

TEST(ShellSend, AFileThatCannotBeReadIsReportedAndNothingIsSent) {
    for (const char* arguments : {"/send missing.syx", "/send"}) {
        SettingsOfAnEarlierStart();
        TestNotepad notepad;
        e2e::Program program = e2e::Launch({.arguments = arguments, .freshRegistry = false});
        ASSERT_TRUE(program);
        auto box = e2e::WaitForMessageBox(program);
        ASSERT_TRUE(box) << arguments;
        EXPECT_EQ(box->owner, nullptr);
        EXPECT_NE(box->text.find("Nothing was sent."), std::string::npos) << box->text;
        ASSERT_TRUE(e2e::Answer(*box, IDOK));
        EXPECT_EQ(e2e::WaitForExit(program), 0u) << arguments;
        EXPECT_TRUE(e2e::WaitUntil(
            [&] { return notepad.Text().find("Finished") != std::string::npos; }, "Finished"));
        EXPECT_EQ(notepad.Text(), "Sending\r\nWaiting\r\nFinished\r\n") << arguments;
        e2e::InstrumentLog log = e2e::ReadInstrumentLog(program.instrumentLog);
        EXPECT_TRUE(e2e::EventsNamed(log.entries, "recv").empty()) << e2e::FormatLog(log);
    }
}

TEST(ShellSend, AnOutputThatCannotBeOpenedEndsTheProgramAfterItsError) {
    SettingsOfAnEarlierStart();
    TestNotepad notepad;
    e2e::Program program =
        e2e::Launch({.arguments = "/send three.syx",
                     .workFiles = {{"three.syx", MultiMessageFile({"\xF0\x7E\xF7"})}},
                     .freshRegistry = false,
                     .instrument = {.failOpen = "out"}});
    ASSERT_TRUE(program);
    auto box = e2e::WaitForMessageBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->owner, nullptr);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(notepad.Text(), "");
    e2e::InstrumentLog log = e2e::ReadInstrumentLog(program.instrumentLog);
    EXPECT_TRUE(e2e::EventsNamed(log.entries, "recv").empty()) << e2e::FormatLog(log);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTipsCountdown"), 4u);
}

} // namespace
