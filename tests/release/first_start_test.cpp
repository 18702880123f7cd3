// The released programs as a user gets them: run-first-start unpacks the zip of this machine's
// kind into a fresh Wine prefix, and Talvane95.exe is started from the unpacked folder on a
// machine where it never ran.
#include "harness/e2e.h"
#include "manager_e2e.h"

#include <cstdlib>

namespace {

using namespace manager_e2e;

std::string FromRunner(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A text of the file's version resource, as Explorer shows it.
std::string VersionText(const std::string& file, const std::string& name) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(file.c_str(), &ignored));
    char* value = nullptr;
    UINT length = 0;
    if (data.empty() || !GetFileVersionInfoA(file.c_str(), 0, DWORD(data.size()), data.data()) ||
        !VerQueryValueA(data.data(), ("\\StringFileInfo\\040904E4\\" + name).c_str(),
                        reinterpret_cast<void**>(&value), &length))
        return {};
    return value;
}

std::string AboutText(HWND about) {
    for (HWND child = FindWindowExA(about, nullptr, "Static", nullptr); child;
         child = FindWindowExA(about, child, "Static", nullptr))
        if (e2e::Text(child).starts_with("Talvane"))
            return e2e::Text(child);
    return {};
}

TEST(Release, TheUnpackedProgramStartsWithoutMidiAndSendsAFileWithTheInstrumentBesideIt) {
    const std::string folder = FromRunner("TALVANE_RELEASE_FOLDER");
    const std::string version = FromRunner("TALVANE_RELEASE_VERSION");
    ASSERT_FALSE(folder.empty() || version.empty()) << "started without run-first-start";
    const std::string loader = e2e::JoinPath(folder, "Talvane95.exe");
    const std::string mainProgram = e2e::JoinPath(folder, "Talvane95.dat");
    for (const std::string& file : {loader, mainProgram}) {
        EXPECT_EQ(VersionText(file, "ProductName"), "Talvane 95") << file;
        EXPECT_EQ(VersionText(file, "ProductVersion"), version) << file;
        EXPECT_EQ(VersionText(file, "FileVersion"), version) << file;
        for (const char* shown : {"FileDescription", "LegalCopyright"})
            EXPECT_NE(VersionText(file, shown), "") << file << " " << shown;
    }

    {
        // Without the virtual instrument this machine has no MIDI device at all.
        e2e::Program program = e2e::Launch({.program = loader});
        ASSERT_TRUE(program);
        auto welcome = e2e::WaitForMessageBox(program, std::string("New user information"));
        ASSERT_TRUE(welcome);
        ASSERT_TRUE(e2e::Answer(*welcome, IDOK));
        auto noDevice = e2e::WaitForMessageBox(program, std::string("No MIDI device"));
        ASSERT_TRUE(noDevice);
        ASSERT_TRUE(e2e::Answer(*noDevice, IDOK));
        HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
        ASSERT_TRUE(manager);
        EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, "Talvane\\Shell\\Send\\command", ""),
                  "\"" + mainProgram + "\" /send \"%1\"");
        ASSERT_TRUE(e2e::Press(manager, aboutId));
        HWND about = e2e::WaitForWindowOf(
            program, {.className = "#32770", .caption = std::string("About QX Brevikorlando 95")});
        ASSERT_TRUE(about);
        EXPECT_EQ(AboutText(about), "Talvane 95 was released in October 95.\nVersion " + version);
        ASSERT_TRUE(e2e::Press(about, 300));
        ASSERT_TRUE(e2e::WaitUntilGone(about));
        e2e::Close(manager);
        EXPECT_TRUE(e2e::WaitUntilAllEnded(program));
    }

    // The instrument copied in beside the program, and a first start again.
    ASSERT_TRUE(CopyFileA(e2e::JoinPath(e2e::BinFolder(), "midimap.dll").c_str(),
                          e2e::JoinPath(folder, "midimap.dll").c_str(), FALSE));
    const std::string message("\xF0\x7E\x7F\x06\x01\xF7", 6);
    e2e::Program program = e2e::Launch({.program = loader,
                                        .workFiles = {{"hello.syx", message}},
                                        .instrument = {.mode = "loopback"}});
    ASSERT_TRUE(program);
    auto welcome = e2e::WaitForMessageBox(program, std::string("New user information"));
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(e2e::Answer(*welcome, IDOK));
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
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
    e2e::Close(manager);
    EXPECT_TRUE(e2e::WaitUntilAllEnded(program));
}

} // namespace
