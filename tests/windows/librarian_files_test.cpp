// Definition and bank files through the Windows layer: listings of the program folder, the
// save-file dialogs and the overwrite question (answered by a second thread, as a user would),
// and the list boxes the Librarian window fills.
#include "support/windows_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "librarian/bank_file.h"
#include "librarian/bank_list.h"
#include "librarian/definition_files.h"
#include "librarian/device_list.h"
#include "librarian/file_creation.h"
#include "resources/librarian_ids.h"
#include "librarian/instrument_definition.h"
#include "shell/shell_state.h"

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using namespace wintest;

namespace {

// ---- The program folder of each test ----

class LibrarianFiles : public ::testing::Test {
  protected:
    std::string folder;

    void SetUp() override {
        folder = TestScratchFolder("talvane-librarian-");
        std::strcpy(shell.programFolder, folder.c_str());
        shell.currentModuleWindow = nullptr;
        instrument = CurrentInstrument{};
        ClearBankIndex();
        bank = BankState{};
    }

    void TearDown() override {
        ClearBankIndex();
        RemoveFolder(folder);
    }

    std::string PathOf(const std::string& name) const { return folder + "\\" + name; }
    void WriteFile(const std::string& name, const Bytes& bytes) const {
        WriteBytes(PathOf(name), bytes);
    }
    Bytes ReadFile(const std::string& name) const { return ReadBytes(PathOf(name)); }

    bool Exists(const std::string& name) const {
        return GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    void WriteBank(const std::string& name, std::int32_t programSize,
                   const std::vector<std::string>& names) const {
        Bytes image(static_cast<std::size_t>(
                        BankRecordOffset(static_cast<std::int32_t>(names.size()), programSize)),
                    0);
        std::memcpy(image.data(), &programSize, 4);
        for (std::size_t i = 0; i < names.size(); ++i) {
            image[4 + i] = 1;
            std::size_t offset = static_cast<std::size_t>(
                BankRecordOffset(static_cast<std::int32_t>(i), programSize));
            std::memcpy(&image[offset], names[i].c_str(), names[i].size());
            std::fill_n(image.begin() + offset + bankNameSize, programSize,
                        static_cast<std::uint8_t>(i + 1));
        }
        WriteFile(name, image);
    }
};

// ---- Definitions ----

TEST_F(LibrarianFiles, ListsTheDefinitionFilesByBaseName) {
    WriteFile("Korg M1.QXInstrument", Bytes(2048));
    WriteFile("D-50 v1.2.QXInstrument", Bytes(2048));
    WriteFile("Bank.QXBank", Bytes(4));
    WriteFile("readme.txt", Bytes(4));
    CreateDirectoryA(PathOf("Folder.QXInstrument").c_str(), nullptr);
    EXPECT_THAT(ListInstrumentDefinitions(), UnorderedElementsAre("Korg M1", "D-50 v1.2"));
    std::strcpy(shell.programFolder, PathOf("missing").c_str());
    EXPECT_TRUE(ListInstrumentDefinitions().empty());
}

TEST_F(LibrarianFiles, CreatingADefinitionCompletesAShortenedExtension) {
    instrument.definition.programSize = 170;
    SetFieldText(instrument.definition.requestString, "F0 F7");
    DialogAnswers answers({{"Save As", EnterFileName(PathOf("Piano.QXI"))}});
    EXPECT_TRUE(CreateInstrumentDefinition());
    EXPECT_THAT(answers.Finish(), ElementsAre(::testing::Field(&SeenDialog::title, "Save As")));
    EXPECT_TRUE(Exists("Piano.QXInstrument"));
    EXPECT_FALSE(Exists("Piano.QXI"));
    Bytes file = ReadFile("Piano.QXInstrument");
    ASSERT_EQ(file.size(), 2048u);
    EXPECT_EQ(std::memcmp(file.data(), &instrument.definition, 2048), 0);
    EXPECT_EQ(instrument.name, "Piano");
}

TEST_F(LibrarianFiles, APlainNameGetsTheDefaultExtension) {
    DialogAnswers answers({{"Save As", EnterFileName("Organ")}});
    EXPECT_TRUE(CreateInstrumentDefinition());
    answers.Finish();
    EXPECT_TRUE(Exists("Organ.QXInstrument"));
    EXPECT_EQ(instrument.name, "Organ");
}

TEST_F(LibrarianFiles, CancellingTheDialogWritesNothing) {
    instrument.name = "Before";
    DialogAnswers answers({{"Save As", PressButton(IDCANCEL)}});
    EXPECT_FALSE(CreateInstrumentDefinition());
    answers.Finish();
    EXPECT_TRUE(ListInstrumentDefinitions().empty());
    EXPECT_EQ(instrument.name, "Before");
}

TEST_F(LibrarianFiles, AnExistingFileIsReplacedOnlyAfterYes) {
    WriteFile("Piano.QXInstrument", Bytes(2100, 0xEE));
    instrument.definition.channel = 9;
    {
        DialogAnswers answers({{"Save As", EnterFileName(PathOf("Piano.QXInstrument"))},
                               {"Are you sure...", PressButton(IDNO)}});
        EXPECT_FALSE(CreateInstrumentDefinition());
        const std::vector<SeenDialog>& seen = answers.Finish();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, fileInUseQuestion);
        EXPECT_EQ(ReadFile("Piano.QXInstrument"), Bytes(2100, 0xEE));
    }
    DialogAnswers answers({{"Save As", EnterFileName(PathOf("Piano.QXInstrument"))},
                           {"Are you sure...", PressButton(IDYES)}});
    EXPECT_TRUE(CreateInstrumentDefinition());
    answers.Finish();
    Bytes file = ReadFile("Piano.QXInstrument");
    ASSERT_EQ(file.size(), 2048u) << "a new definition holds the record only";
    EXPECT_EQ(file[0], 9);
}

TEST_F(LibrarianFiles, DeviceListGoesThroughTheListBox) {
    WriteFile("Synth.QXInstrument", Bytes(2048));
    instrument.name = "Synth";
    HWND list = CreateWindowA("LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    // No section yet: the list stays as filled.
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("00 <Unknown>"));
    LoadDeviceList(list);
    EXPECT_THAT(ListBoxLines(list), ElementsAre("00 <Unknown>"));

    std::string line29 = "0001 " + std::string(24, 'n');
    std::string line34 = "0002 " + std::string(29, 'm');
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : {line29, line34, std::string("0003 <Unknown>")})
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SaveDeviceList(list);
    EXPECT_EQ(ReadFile("Synth.QXInstrument").size(), 2048u + 4 + 3 * 30);

    // The list shows one line per program of the range: a saved list is cut or padded to it.
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("0004 <Unknown>"));
    LoadDeviceList(list);
    EXPECT_THAT(ListBoxLines(list),
                ElementsAre(line29, line34.substr(0, 30), "0003 <Unknown>", "0004 <Unknown>"));
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("something else"));
    LoadDeviceList(list);
    EXPECT_THAT(ListBoxLines(list), ElementsAre(line29));
    DestroyWindow(list);
}

// ---- Banks ----

class LibrarianBanks : public LibrarianFiles {
  protected:
    HWND window = nullptr;
    HWND combo = nullptr;
    HWND programs = nullptr;

    void SetUp() override {
        LibrarianFiles::SetUp();
        window = CreateStandInWindow("Librarian", nullptr,
                                     {{"COMBOBOX", IDC_LIBRARIAN_BANK, CBS_DROPDOWNLIST},
                                      {"LISTBOX", IDC_LIBRARIAN_BANK_PROGRAMS, LBS_SORT}});
        combo = GetDlgItem(window, IDC_LIBRARIAN_BANK);
        programs = GetDlgItem(window, IDC_LIBRARIAN_BANK_PROGRAMS);
        shell.currentModuleWindow = window;
        instrument.definition.programSize = 4;
    }

    void TearDown() override {
        shell.currentModuleWindow = nullptr;
        DestroyWindow(window);
        LibrarianFiles::TearDown();
    }

    void Select(int position) { SendMessageA(combo, CB_SETCURSEL, position, 0); }
};

TEST_F(LibrarianBanks, OnlyBanksOfTheDefinitionsProgramSizeAreListed) {
    WriteBank("Fits.QXBank", 4, {});
    WriteBank("Other size.QXBank", 8, {});
    WriteFile("Broken.QXBank", {4, 0});
    WriteBank("Also.fits.QXBank", 4, {});
    EXPECT_EQ(ListBankFiles(combo), 2);
    std::vector<std::string> lines = ComboBoxLines(combo);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 2),
                UnorderedElementsAre("Fits", "Also.fits"));
    EXPECT_EQ(lines[2], createBankEntry);
    EXPECT_EQ(bank.count, 2);
}

TEST_F(LibrarianBanks, OpeningABankFillsTheProgramList) {
    WriteBank("Fits.QXBank", 4, {"Strings", "Brass", "Alto"});
    ASSERT_EQ(ListBankFiles(combo), 1);
    EXPECT_FALSE(OpenSelectedBank(window)) << "nothing selected";
    Select(0);
    ASSERT_TRUE(OpenSelectedBank(window));
    EXPECT_THAT(ListBoxLines(programs), ElementsAre("Alto", "Brass", "Strings"));
    EXPECT_EQ(bank.currentPosition, 0);
    EXPECT_EQ(FindProgram("Brass"), 1);

    const std::uint8_t data[] = {9, 9, 9, 9};
    EXPECT_EQ(StoreProgram("Bass", data, -1), 3);
    EXPECT_THAT(ListBoxLines(programs), ElementsAre("Alto", "Bass", "Brass", "Strings"));
    EXPECT_EQ(StoreProgram("Bass", data, 3), 3);
    EXPECT_EQ(ListBoxLines(programs).size(), 4u) << "a known slot adds no line";

    CloseBank(window);
    EXPECT_TRUE(ListBoxLines(programs).empty());
    EXPECT_EQ(FindProgram("Bass"), -1);
    ASSERT_TRUE(OpenSelectedBank(window));
    EXPECT_EQ(FindProgram("Bass"), 3);
}

TEST_F(LibrarianBanks, CreatingABankFromTheList) {
    WriteBank("Fits.QXBank", 4, {"Strings"});
    ASSERT_EQ(ListBankFiles(combo), 1);
    Select(1);
    DialogAnswers answers({{"Create new bank file...", EnterFileName(PathOf("Voices.QXB"))}});
    ASSERT_TRUE(OpenSelectedBank(window));
    answers.Finish();
    EXPECT_TRUE(Exists("Voices.QXBank"));
    Bytes file = ReadFile("Voices.QXBank");
    ASSERT_EQ(file.size(), 32004u);
    EXPECT_EQ(file[0], 4);
    EXPECT_THAT(ComboBoxLines(combo), ElementsAre("Fits", "Voices", createBankEntry));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(bank.count, 2);
    EXPECT_EQ(bank.currentPosition, 1);
    EXPECT_TRUE(ListBoxLines(programs).empty());
    EXPECT_EQ(StoreProgram("First", nullptr, -1), 0);
    EXPECT_EQ(ReadFile("Voices.QXBank")[4], 1);
}

TEST_F(LibrarianBanks, WithNoFittingBankTheCreateDialogComesFirst) {
    WriteBank("Other.QXBank", 8, {});
    ASSERT_EQ(ListBankFiles(combo), 0);
    EXPECT_THAT(ComboBoxLines(combo), ElementsAre(createBankEntry));
    Select(0);
    DialogAnswers answers({{"Create new bank file...", PressButton(IDCANCEL)}});
    EXPECT_FALSE(OpenSelectedBank(window));
    EXPECT_EQ(answers.Finish().size(), 1u);
    EXPECT_EQ(bank.count, 0);
    // With no bank a store is reported, not silently lost.
    DialogAnswers failed({{bankWriteFailedCaption, PressButton(IDOK)}});
    EXPECT_EQ(StoreProgram("Lost", nullptr, -1), bankWriteFailed);
    ASSERT_EQ(failed.Finish().size(), 1u);
    EXPECT_EQ(failed.Finish()[0].text, bankWriteFailedText);
}

TEST_F(LibrarianBanks, CreatingOverAnExistingBankAsksFirst) {
    WriteBank("Voices.QXBank", 4, {"Kept"});
    ASSERT_EQ(ListBankFiles(combo), 1);
    Select(1);
    DialogAnswers answers({{"Create new bank file...", EnterFileName(PathOf("Voices.QXBank"))},
                           {"Are you sure...", PressButton(IDNO)}});
    EXPECT_FALSE(OpenSelectedBank(window));
    const std::vector<SeenDialog>& seen = answers.Finish();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, fileInUseQuestion);
    EXPECT_EQ(ComboBoxLines(combo).size(), 2u);
    EXPECT_GT(ReadFile("Voices.QXBank").size(), 32004u);
}

TEST_F(LibrarianBanks, AFullBankSaysSo) {
    instrument.definition.programSize = 0;
    std::vector<std::string> names;
    for (int i = 0; i < bankSlotCount; ++i)
        names.push_back("P" + std::to_string(i));
    WriteBank("Full.QXBank", 0, names);
    WriteBank("Source.QXBank", 0, {"P5", "New one"});
    ASSERT_EQ(ListBankFiles(combo), 2);
    auto lines = ComboBoxLines(combo);
    Select(static_cast<int>(std::find(lines.begin(), lines.end(), "Full") - lines.begin()));
    ASSERT_TRUE(OpenSelectedBank(window));
    EXPECT_EQ(ListBoxLines(programs).size(), 32000u);

    DialogAnswers answers({{bankFullCaption, PressButton(IDOK)}});
    EXPECT_EQ(StoreProgram("One more", nullptr, -1), bankFull);
    const std::vector<SeenDialog>& seen = answers.Finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, bankFullText);

    DialogAnswers merge({{bankFullCaption, PressButton(IDOK)}});
    MergeBank(window, PathOf("Source.QXBank"));
    EXPECT_EQ(merge.Finish().size(), 1u);
}

TEST_F(LibrarianBanks, MergeThenReloadShowsTheCopiedPrograms) {
    WriteBank("Current.QXBank", 4, {"Strings"});
    WriteBank("Source.QXBank", 4, {"Strings", "Piano", "Organ"});
    ASSERT_EQ(ListBankFiles(combo), 2);
    auto lines = ComboBoxLines(combo);
    Select(static_cast<int>(std::find(lines.begin(), lines.end(), "Current") - lines.begin()));
    ASSERT_TRUE(OpenSelectedBank(window));
    MergeBank(window, PathOf("Source.QXBank"));
    MergeBank(window, PathOf("Missing.QXBank"));
    CloseBank(window);
    ASSERT_TRUE(OpenSelectedBank(window));
    EXPECT_THAT(ListBoxLines(programs), ElementsAre("Organ", "Piano", "Strings"));
}

} // namespace
