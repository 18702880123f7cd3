// The command line's ways into the Librarian: an instrument definition ("/librarian file", the
// open command of .QXInstrument files) and a bank file ("/bankfile file", of .QXBank files).
#include "harness/e2e.h"
#include "shell_stand_ins.h"

#include <cstring>
#include <string>

namespace {

using namespace shell_e2e;

const char definitionNotFound[] = "Specified instrument file was not found.";
const char bankNotFound[] = "Specified bank file was not found; you must keep these files in the "
                            "same folder as Talvane95.exe.";
const char noMatchingDefinition[] =
    "Can't find an instrument that matches specified bank file. Be sure you have an instrument "
    "definition for the instrument used to create the bank file.";

// A definition file: the 2048-byte record with the program size at offset 16.
std::string Definition(std::int32_t programSize) {
    std::string bytes(2048, '\0');
    std::int32_t channel = 1;
    std::memcpy(bytes.data(), &channel, 4);
    std::memcpy(bytes.data() + 16, &programSize, 4);
    return bytes;
}

// An empty bank file: the program size it was made for, then 32,000 free slots.
std::string Bank(std::int32_t programSize) {
    std::string bytes(4 + 32000, '\0');
    std::memcpy(bytes.data(), &programSize, 4);
    return bytes;
}

std::string ProgramFolder() {
    return e2e::JoinPath(e2e::ScratchFolder(), "program");
}

// A start that ends at its command-line error: the box, and then the end without the exit
// steps (the store's scratch files of an earlier run stay, the settings are not saved).
void ExpectCommandLineError(e2e::LaunchOptions options, const char* text) {
    SettingsAfterStarts(3);
    std::string scratchData = TemporaryFolder() + "~temp.syx";
    ASSERT_TRUE(e2e::WriteFileBytes(scratchData, "\xF0\xF7"));
    TestLoaderWindow loader;
    options.freshRegistry = false;
    e2e::Program program = e2e::Launch(options);
    ASSERT_TRUE(program);
    auto box = e2e::WaitForMessageBox(program, std::string("Command line error"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Exclamation);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box->owner, nullptr);
    // The title picture went first, so that it does not hide the box.
    EXPECT_EQ(loader.closes.load(), 1);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_TRUE(e2e::FindWindowsOf(program, {}).empty());
    EXPECT_TRUE(e2e::FileExists(scratchData));
    DeleteFileA(scratchData.c_str());
    EXPECT_FALSE(e2e::ValueExists(HKEY_CURRENT_USER, e2e::kSettingsKey, "LibrarianInstrument"));
}

TEST(ShellLibraryStart, ADefinitionOpensTheLibrarian) {
    SettingsAfterStarts(3);
    e2e::Program program = e2e::Launch(
        {.arguments = "/librarian " + e2e::JoinPath(ProgramFolder(), "Korg M1.QXInstrument"),
         .programFiles = {{"Korg M1.QXInstrument", Definition(170)}, {"Pianos.QXBank", Bank(170)}},
         .freshRegistry = false});
    ASSERT_TRUE(program);
    HWND librarian = e2e::WaitForWindowOf(program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    e2e::Close(librarian);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    // The only definition of the program folder is now the chosen one.
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "LibrarianInstrument"), 0u);
}

TEST(ShellLibraryStart, AKorgM1DefinitionWithCtrlOpensTheEditorAnyOtherTheManager) {
    const struct {
        const char* file;
        const char* windowClass;
    } cases[] = {{"Korg M1.QXInstrument", "QX_SysX3"}, {"Korg T1.QXInstrument", "QX_SysEx"}};
    for (const auto& c : cases) {
        SettingsAfterStarts(3);
        // The virtual instrument (the mapper) as both ports: the Editor opens them at once and
        // would otherwise stop at the missing device 0's error box.
        for (const char* port : {"InputPort", "OutputPort"})
            ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, port, DWORD(-1)));
        e2e::CtrlHeld ctrl;
        ASSERT_TRUE(ctrl.held);
        e2e::Program program = e2e::Launch({.arguments = std::string("/librarian ") + c.file,
                                            .workFiles = {{c.file, Definition(170)}},
                                            .freshRegistry = false});
        ASSERT_TRUE(program);
        HWND module = e2e::WaitForWindowOf(program, {.className = c.windowClass});
        ASSERT_TRUE(module) << c.file;
        e2e::Close(module);
        EXPECT_EQ(e2e::WaitForExit(program), 0u);
    }
}

TEST(ShellLibraryStart, AMissingDefinitionIsACommandLineError) {
    ExpectCommandLineError({.arguments = "/librarian C:\\nowhere\\Korg M1.QXInstrument"},
                           definitionNotFound);
}

TEST(ShellLibraryStart, ABankChoosesItsDefinitionAndOpensTheLibrarian) {
    SettingsAfterStarts(3);
    e2e::Program program =
        e2e::Launch({.arguments = "/bankfile " + e2e::JoinPath(ProgramFolder(), "Pianos.QXBank"),
                     .programFiles = {{"Roland D50.QXInstrument", Definition(100)},
                                      {"Pianos.QXBank", Bank(100)}},
                     .freshRegistry = false});
    ASSERT_TRUE(program);
    HWND librarian = e2e::WaitForWindowOf(program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    e2e::Close(librarian);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "LibrarianInstrument"), 0u);
}

TEST(ShellLibraryStart, ABankOutsideTheProgramFolderIsACommandLineError) {
    ExpectCommandLineError({.arguments = "/bankfile Pianos.QXBank",
                            .workFiles = {{"Pianos.QXBank", Bank(100)}},
                            .programFiles = {{"Roland D50.QXInstrument", Definition(100)}}},
                           bankNotFound);
}

TEST(ShellLibraryStart, ABankWithoutAFittingDefinitionIsACommandLineError) {
    ExpectCommandLineError(
        {.arguments = "/bankfile " + e2e::JoinPath(ProgramFolder(), "Pianos.QXBank"),
         .programFiles = {{"Roland D50.QXInstrument", Definition(100)},
                          {"Pianos.QXBank", Bank(170)}}},
        noMatchingDefinition);
}

} // namespace
