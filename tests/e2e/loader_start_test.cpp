// The title loader starts the main program: with the title picture for a returning user, at once
// without it on the very first run or when the user turned it off, and it says so when the main
// program cannot be started.
#include "harness/process_parameters.h"
#include "loader_e2e.h"

#include <algorithm>
#include <cctype>

namespace {

using loader_e2e::FindTitle;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool LoaderRuns(const e2e::Program& program) {
    return WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
}

HWND ManagerOf(const e2e::Program& program) {
    return e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
}

void CloseManager(const e2e::Program& program, HWND manager) {
    e2e::Close(manager);
    EXPECT_TRUE(e2e::WaitUntilAllEnded(program));
}

// A copy of the loader in a folder of its own, with the main program beside it or not.
struct LoaderCopy {
    std::string folder;
    std::string program; // the path to start it by: Launch takes it relative to the bin folder
};

LoaderCopy CopyLoader(const std::string& name, bool withMainProgram) {
    std::string folder = e2e::JoinPath(e2e::ScratchFolder(), name);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string bin = e2e::BinFolder();
    for (const char* file : {"Talvane95.exe", "Talvane95.dat", "midimap.dll"}) {
        if (!withMainProgram && file != std::string("Talvane95.exe"))
            continue;
        EXPECT_TRUE(CopyFileA(e2e::JoinPath(bin, file).c_str(), e2e::JoinPath(folder, file).c_str(),
                              FALSE));
    }
    std::string top = bin.substr(0, bin.find_last_of('\\', bin.size() - 2) + 1);
    EXPECT_EQ(Lower(folder.substr(0, top.size())), Lower(top));
    return {folder, "..\\" + e2e::JoinPath(folder.substr(top.size()), "Talvane95.exe")};
}

TEST(LoaderStart, WithoutSettingsOrWithTheTitleTurnedOffNoTitleShows) {
    struct Case {
        const char* what;
        DWORD type; // of TitleGraphicTurnedOff; REG_NONE: no settings key at all
        std::vector<unsigned char> data;
    };
    const Case cases[] = {
        {"the very first run", REG_NONE, {}},
        {"turned off with 0", REG_DWORD, {0, 0, 0, 0}},
        {"turned off with an empty text", REG_SZ, {}},
        {"turned off with more data than the loader reads", REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        e2e::ResetRegistry();
        if (c.type != REG_NONE) {
            loader_e2e::SettingsOfAReturningUser();
            ASSERT_TRUE(e2e::WriteValue(HKEY_CURRENT_USER, e2e::kSettingsKey,
                                        "TitleGraphicTurnedOff", c.type, c.data));
        }
        e2e::Program program = e2e::Launch({.program = "Talvane95.exe", .freshRegistry = false});
        ASSERT_TRUE(program);
        bool titleSeen = false;
        EXPECT_TRUE(e2e::WaitUntil(
            [&] {
                titleSeen = titleSeen || e2e::FindWindowOf(program, {.className = "QX_Loader",
                                                                     .visibleOnly = false});
                return !LoaderRuns(program);
            },
            "the loader ends"));
        EXPECT_FALSE(titleSeen);
        EXPECT_EQ(e2e::WaitForExit(program), 0u);
        if (c.type == REG_NONE) {
            auto welcome = e2e::WaitForMessageBox(program, "New user information");
            ASSERT_TRUE(welcome);
            ASSERT_TRUE(e2e::Answer(*welcome, IDOK));
        }
        HWND manager = ManagerOf(program);
        ASSERT_TRUE(manager);
        CloseManager(program, manager);
    }
}

TEST(LoaderStart, TitleShowsUntilTheFirstModuleWindowHasPainted) {
    loader_e2e::SettingsOfAReturningUser();
    std::string file = e2e::JoinPath(e2e::JoinPath(e2e::ScratchFolder(), "work"), "my file.syx");
    std::string arguments = "/open \"" + file + "\"";
    // From a folder with a blank in its name, as "Program Files".
    LoaderCopy copy = CopyLoader("Program Files", true);
    e2e::Program program =
        e2e::Launch({.program = copy.program, .arguments = arguments, .freshRegistry = false});
    ASSERT_TRUE(program);

    HWND title = nullptr;
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return (title = FindTitle(program)) != nullptr; }, "the title shows"));
    // The main program closes the title once its window has painted: whenever the title is
    // gone, the Manager's window is already there.
    ASSERT_TRUE(e2e::WaitUntilGone(title));
    HWND manager = e2e::FindWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager) << e2e::DescribeWindows(program);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);

    // It runs in the loader's current folder with the loader's arguments unchanged.
    auto parameters = e2e::ReadProcessParameters(manager);
    ASSERT_TRUE(parameters);
    EXPECT_EQ(Lower(parameters->commandLine),
              Lower("\"" + e2e::JoinPath(copy.folder, "Talvane95.dat") + "\" " + arguments));
    EXPECT_EQ(Lower(parameters->currentFolder), Lower(program.workFolder + "\\"));
    CloseManager(program, manager);
}

TEST(LoaderStart, TitleGoesWhenTheMainProgramEndsWithoutAModuleWindow) {
    // A send shows no window, so nothing would ever close the title.
    loader_e2e::SettingsOfAReturningUser();
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "OutputPort", DWORD(-1))); // the instrument
    std::string file = e2e::JoinPath(e2e::JoinPath(e2e::ScratchFolder(), "work"), "one.syx");
    e2e::Program program = e2e::Launch({.program = "Talvane95.exe",
                                        .arguments = "/send " + file,
                                        .workFiles = {{"one.syx", "\xF0\x7E\x00\x06\x01\xF7"}},
                                        .freshRegistry = false,
                                        .instrument = {.mode = "loopback"}});
    ASSERT_TRUE(program);
    EXPECT_EQ(e2e::WaitForExit(program), 0u) << e2e::DescribeWindows(program);
    EXPECT_TRUE(e2e::WaitUntilAllEnded(program));
    EXPECT_TRUE(e2e::WaitForLog(
        program.instrumentLog,
        [](const std::vector<e2e::LogEntry>& log) {
            return !e2e::EventsNamed(log, "recv").empty();
        },
        "the file was sent"));
}

TEST(LoaderStart, AStartUpBoxOfTheMainProgramClosesTheTitleFirst) {
    // The tenth start tells the user that the tooltips have been reduced.
    shell_e2e::SettingsAfterStarts(9);
    e2e::Program program = e2e::Launch({.program = "Talvane95.exe", .freshRegistry = false});
    ASSERT_TRUE(program);
    auto box = e2e::WaitForMessageBox(program, "Talvane 95");
    ASSERT_TRUE(box);
    EXPECT_FALSE(FindTitle(program)) << "the title hides the box";
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    HWND manager = ManagerOf(program);
    ASSERT_TRUE(manager);
    CloseManager(program, manager);

    // So does the Manager's notice of a machine without MIDI device, before its window paints.
    program = e2e::Launch(
        {.program = "Talvane95.exe", .withoutInstrument = true, .freshRegistry = false});
    box = e2e::WaitForMessageBox(program, "No MIDI device");
    ASSERT_TRUE(box);
    EXPECT_FALSE(FindTitle(program)) << "the title hides the box";
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    CloseManager(program, ManagerOf(program));
}

TEST(LoaderStart, AMainProgramThatCannotStartIsReportedInFront) {
    struct Case {
        const char* what;
        bool missing; // else an empty file that cannot run
        bool title;
    };
    const Case cases[] = {
        {"missing, with the title", true, true},
        {"not runnable, with the title", false, true},
        {"missing, first run", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        e2e::ResetRegistry();
        if (c.title)
            loader_e2e::SettingsOfAReturningUser();
        e2e::LaunchOptions options{.program = "Talvane95.exe", .freshRegistry = false};
        if (c.missing)
            options.program = CopyLoader("alone", false).program;
        else
            options.programFiles = {{"Talvane95.dat", ""}};
        e2e::Program program = e2e::Launch(options);
        ASSERT_TRUE(program);
        auto box = e2e::WaitForMessageBox(program, "Talvane 95");
        ASSERT_TRUE(box);
        std::string looked = c.missing ? "alone\\talvane95.dat" : "program\\talvane95.dat";
        EXPECT_NE(Lower(box->text).find(looked), std::string::npos) << box->text;
        EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Stop);
        EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == box->window; },
                                   "the box is the foreground window"));
        EXPECT_FALSE(FindTitle(program)) << "the title hides the box";
        ASSERT_TRUE(e2e::Answer(*box, IDOK));
        auto code = e2e::WaitForExit(program);
        ASSERT_TRUE(code);
        EXPECT_NE(*code, 0u);
        EXPECT_NE(*code, e2e::kTerminatedExitCode);
    }
}

// A 24-bit picture in place of the 256-colour one.
std::string TrueColourPicture() {
    std::string picture(54 + 8 * 4 * 3, '\0');
    auto put = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            picture[at + i] = char(value >> (8 * i));
    };
    picture[0] = 'B';
    picture[1] = 'M';
    put(2, std::uint32_t(picture.size()));
    put(10, 54);
    put(14, 40);
    put(18, 8);
    put(22, 4);
    picture[26] = 1;
    picture[28] = 24;
    return picture;
}

TEST(LoaderStart, APictureThatIsNot256ColourUncompressedIsRefusedBeforeAnythingShows) {
    loader_e2e::SettingsOfAReturningUser();
    LoaderCopy copy = CopyLoader("true colour", true);
    std::string picture = TrueColourPicture();
    HANDLE update =
        BeginUpdateResourceA(e2e::JoinPath(copy.folder, "Talvane95.exe").c_str(), FALSE);
    ASSERT_TRUE(update);
    ASSERT_TRUE(UpdateResourceA(update, "OruBitmap", "Title",
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), picture.data(),
                                DWORD(picture.size())));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    e2e::Program loader = e2e::Launch({.program = copy.program, .freshRegistry = false});
    ASSERT_TRUE(loader);
    auto box = e2e::WaitForMessageBox(loader, "Error");
    ASSERT_TRUE(box) << e2e::DescribeWindows(loader);
    EXPECT_EQ(box->text, "Invalid bitmap file format - need 256 colour uncompressed bitmaps. See "
                         "help file.");
    EXPECT_FALSE(FindTitle(loader));
    EXPECT_EQ(e2e::ProcessIds(loader).size(), 1u) << "the main program was started";
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    auto code = e2e::WaitForExit(loader);
    ASSERT_TRUE(code);
    EXPECT_NE(*code, 0u);
    EXPECT_NE(*code, e2e::kTerminatedExitCode);
    EXPECT_EQ(e2e::ProcessIds(loader).size(), 0u);
}

} // namespace
