// The released programs as a user gets them: run-first-start unpacks the zip of this machine's
// kind into a new Wine prefix, and Talvane95.exe starts from there on a machine it never ran on.
#include "harness/e2e.h"
#include "manager_e2e.h"

#include <cstdlib>

namespace {

using namespace manager_e2e;

TEST(Release, TheUnpackedProgramStartsWithoutMidiAndSendsAFileWithTheInstrumentBesideIt) {
    const char* folder = std::getenv("TALVANE_RELEASE_FOLDER");
    ASSERT_TRUE(folder) << "started without run-first-start";
    const std::string loader = e2e::JoinPath(folder, "Talvane95.exe");
    const std::string message("\xF0\x7E\x7F\x06\x01\xF7", 6);
    // Without the virtual instrument this machine has no MIDI device at all.
    for (const bool withInstrument : {false, true}) {
        SCOPED_TRACE(withInstrument ? "with the instrument" : "without MIDI");
        if (withInstrument) {
            ASSERT_TRUE(CopyFileA(e2e::JoinPath(e2e::BinFolder(), "midimap.dll").c_str(),
                                  e2e::JoinPath(folder, "midimap.dll").c_str(), FALSE));
        }
        e2e::Program program = e2e::Launch({.program = loader,
                                            .workFiles = {{"hello.syx", message}},
                                            .instrument = {.mode = "loopback"}});
        ASSERT_TRUE(program);
        std::vector<std::string> notices = {"New user information"};
        if (!withInstrument)
            notices.push_back("No MIDI device");
        for (const std::string& caption : notices) {
            auto box = e2e::WaitForMessageBox(program, caption);
            ASSERT_TRUE(box);
            ASSERT_TRUE(e2e::Answer(*box, IDOK));
        }
        HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
        ASSERT_TRUE(manager);
        EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, "Talvane\\Shell\\Send\\command", ""),
                  "\"" + e2e::JoinPath(folder, "Talvane95.dat") + "\" /send \"%1\"");
        if (withInstrument) {
            ASSERT_TRUE(SelectFile(manager, "hello.syx"));
            ASSERT_TRUE(e2e::Press(manager, sendId));
            EXPECT_TRUE(e2e::WaitForLog(
                program.instrumentLog,
                [&](const std::vector<e2e::LogEntry>& log) {
                    const auto received = e2e::EventsNamed(log, "recv");
                    return received.size() == 1 &&
                           received[0].bytes == Bytes(message.begin(), message.end());
                },
                "the file was sent"));
        }
        e2e::Close(manager);
        EXPECT_TRUE(e2e::WaitUntilAllEnded(program));
    }
}

} // namespace
