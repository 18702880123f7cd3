// The Librarian switches of the command line against a program folder of definition and bank
// files. (Their error boxes and the CTRL variants are shown end to end.)
#include "support/windows_test_support.h"

#include "librarian/bank_file.h"
#include "librarian/instrument_definition.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace wintest;

namespace {

std::string Definition(std::int32_t programSize) {
    InstrumentDefinition record{};
    record.channel = 1;
    record.rangeEnd = 99;
    record.programSize = programSize;
    std::string bytes(sizeof record, '\0');
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

std::string Bank(std::int32_t programSize) {
    std::string bytes(4 + 32000, '\0');
    std::memcpy(bytes.data(), &programSize, 4);
    return bytes;
}

// The files of the folder with this extension in the order the system lists them.
std::vector<std::string> Listing(const std::string& folder, const char* extension) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*" + extension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

int PositionOf(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

class ShellCommandLineStart : public ::testing::Test {
  protected:
    std::string folder;

    void SetUp() override {
        folder = ScratchFolder("talvane-command-line");
        std::strcpy(shell.programFolder, folder.c_str());
        WriteBytes(folder + "\\Roland D50.QXInstrument", Definition(100));
        WriteBytes(folder + "\\Korg M1.QXInstrument", Definition(170));
        WriteBytes(folder + "\\Korg M1 copy.QXInstrument", Definition(170));
        WriteBytes(folder + "\\D50 sounds.QXBank", Bank(100));
        WriteBytes(folder + "\\M1 pianos.QXBank", Bank(170));
        WriteBytes(folder + "\\M1 strings.QXBank", Bank(170));
        WriteBytes(folder + "\\M1 brass.QXBank", Bank(170));
        settings.LibrarianInstrument = -1;
        bank.rememberedPosition = 0;
    }
};

TEST_F(ShellCommandLineStart, ADefinitionStartsTheLibrarianAndBecomesTheChosenOne) {
    StartChoice start =
        StartFromCommandLine(ReadCommandLine("/librarian " + folder + "\\korg m1.qxinstrument"));
    EXPECT_EQ(start.outcome, StartOutcome::runModules);
    EXPECT_EQ(start.firstModule, moduleLibrarian);
    EXPECT_EQ(instrument.name, "Korg M1");
    EXPECT_EQ(instrument.definition.programSize, 170);
    EXPECT_EQ(settings.LibrarianInstrument,
              PositionOf(Listing(folder, ".QXInstrument"), "Korg M1.QXInstrument"));
}

TEST_F(ShellCommandLineStart, ADefinitionFromAnotherFolderIsUsedButNotChosen) {
    std::string elsewhere = ScratchFolder("talvane-command-line-elsewhere");
    WriteBytes(elsewhere + "\\Yamaha DX7.QXInstrument", Definition(155));
    StartChoice start =
        StartFromCommandLine(ReadCommandLine("/l " + elsewhere + "\\Yamaha DX7.QXInstrument"));
    EXPECT_EQ(start.firstModule, moduleLibrarian);
    EXPECT_EQ(instrument.name, "Yamaha DX7");
    EXPECT_EQ(instrument.definition.programSize, 155);
    EXPECT_EQ(settings.LibrarianInstrument, -1);
}

TEST_F(ShellCommandLineStart, ABankChoosesTheFirstFittingDefinitionOrTheCurrentOne) {
    std::vector<std::string> definitions = Listing(folder, ".QXInstrument");
    int m1 = PositionOf(definitions, "Korg M1.QXInstrument");
    int copy = PositionOf(definitions, "Korg M1 copy.QXInstrument");
    std::string argument = "/bankfile " + folder + "\\M1 strings.QXBank";

    StartFromCommandLine(ReadCommandLine(argument));
    EXPECT_EQ(settings.LibrarianInstrument, std::min(m1, copy));

    settings.LibrarianInstrument = std::max(m1, copy);
    StartFromCommandLine(ReadCommandLine(argument));
    EXPECT_EQ(settings.LibrarianInstrument, std::max(m1, copy));
    EXPECT_EQ(instrument.name,
              definitions[static_cast<std::size_t>(std::max(m1, copy))].substr(
                  0, definitions[static_cast<std::size_t>(std::max(m1, copy))].size() -
                         std::strlen(".QXInstrument")));

    // A current choice that does not fit the bank does not count.
    settings.LibrarianInstrument = PositionOf(definitions, "Roland D50.QXInstrument");
    StartFromCommandLine(ReadCommandLine(argument));
    EXPECT_EQ(settings.LibrarianInstrument, std::min(m1, copy));
    EXPECT_EQ(instrument.definition.programSize, 170);
}

TEST_F(ShellCommandLineStart, TheBankIsRememberedAtItsPlaceAmongTheFittingBanks) {
    std::vector<std::string> banks = Listing(folder, ".QXBank");
    for (std::string name :
         {"M1 pianos.QXBank", "M1 strings.QXBank", "M1 brass.QXBank", "D50 sounds.QXBank"}) {
        bool m1 = name.rfind("M1", 0) == 0;
        int expected = 0;
        for (int i = 0; i < PositionOf(banks, name); ++i)
            expected += banks[static_cast<std::size_t>(i)].rfind("M1", 0) == 0 ? m1 : !m1;
        StartFromCommandLine(ReadCommandLine("/bankfile " + folder + "\\" + name));
        EXPECT_EQ(bank.rememberedPosition, expected) << name;
        EXPECT_EQ(instrument.definition.programSize, m1 ? 170 : 100) << name;
    }
}

} // namespace
