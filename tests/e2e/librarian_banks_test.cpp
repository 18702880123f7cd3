// The bank side of the Librarian: switching banks, creating one, deleting a program, merging
// another bank; and the device list a definition without name grabbing keeps in its file.
#include "librarian_e2e.h"

namespace {

using namespace librarian_e2e;

std::string InProgramFolder(const std::string& name) {
    return e2e::JoinPath(ProgramFolder(), name);
}

testing::AssertionResult ChooseBank(HWND librarian, const std::string& name) {
    HWND banks = e2e::Control(librarian, bankComboId);
    const int index = IndexOf(e2e::ComboBoxItems(banks), name);
    if (index < 0)
        return testing::AssertionFailure() << name << " is not in the bank list";
    return e2e::SelectComboBoxItem(banks, index);
}

TEST(LibrarianBanks, SwitchCreateDeleteAndMerge) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Librarian librarian =
        StartLibrarian({.programFiles = {{"Korg M1.QXInstrument", DefinitionFile({})},
                                         {"Alpha.QXBank", BankFile({"A one", "A two"})},
                                         {"Beta.QXBank", BankFile()},
                                         {"Small.QXBank", BankFile({}, 100)}}});
    ASSERT_TRUE(librarian.window);
    HWND window = librarian.window;
    ASSERT_TRUE(WaitForReplies(librarian, 1));
    HWND banks = e2e::Control(window, bankComboId);
    std::vector<std::string> listed = e2e::ComboBoxItems(banks);
    ASSERT_EQ(listed.size(), 3u); // only banks of the definition's program size
    EXPECT_EQ(listed.back(), "Create new bank file");

    // Without CTRL the chosen bank becomes current: "<< All" stores into it.
    ASSERT_TRUE(ChooseBank(window, "Beta"));
    EXPECT_TRUE(BankPrograms(window).empty());
    {
        e2e::CtrlHeld ctrl(window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(window, updateId));
    }
    ASSERT_TRUE(WaitForReplies(librarian, 101));
    EXPECT_EQ(BankPrograms(window).size(), 100u);
    EXPECT_EQ(BankNames(InProgramFolder("Beta.QXBank")).size(), 100u);
    EXPECT_EQ(BankNames(InProgramFolder("Alpha.QXBank")).size(), 2u);

    // Delete asks first.
    const std::string first = BankPrograms(window).front();
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(window, bankProgramsId), 0));
    ASSERT_TRUE(e2e::Press(window, deleteId));
    auto box = e2e::WaitForMessageBox(librarian.program, std::string("Confirm Delete"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Are you sure you want to delete the program \"" + first + "\"?");
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Question);
    ASSERT_TRUE(e2e::Answer(*box, IDYES));
    ASSERT_TRUE(e2e::WaitUntilIdle(window));
    EXPECT_EQ(BankPrograms(window).size(), 99u);
    EXPECT_EQ(BankNames(InProgramFolder("Beta.QXBank")).size(), 99u);

    // With CTRL the chosen bank's programs are copied into the current one, which stays.
    {
        e2e::CtrlHeld ctrl(window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(ChooseBank(window, "Alpha"));
    }
    ASSERT_TRUE(e2e::WaitUntilIdle(window));
    EXPECT_EQ(BankPrograms(window).size(), 101u);
    EXPECT_EQ(e2e::ComboBoxItems(banks)[static_cast<std::size_t>(e2e::ComboBoxSelection(banks))],
              "Beta");
    EXPECT_EQ(BankNames(InProgramFolder("Beta.QXBank")).size(), 101u);
    EXPECT_EQ(BankNames(InProgramFolder("Alpha.QXBank")).size(), 2u);

    // "Create new bank file" asks for the name and makes an empty bank current.
    ASSERT_TRUE(ChooseBank(window, "Create new bank file"));
    HWND save = manager_e2e::WaitForFileDialog(librarian.program, "Create new bank file...");
    ASSERT_TRUE(save);
    ASSERT_TRUE(manager_e2e::ChooseInFileDialog(save, InProgramFolder("Gamma")));
    ASSERT_TRUE(e2e::WaitUntilGone(save));
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return e2e::ComboBoxItems(banks).size() == 4u && BankPrograms(window).empty(); },
        "the new bank current"));
    EXPECT_EQ(FileText(InProgramFolder("Gamma.QXBank")).size(), 32004u);
    e2e::Close(window);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

TEST(LibrarianBanks, WithoutNameGrabbingTheDeviceListIsKeptInTheDefinition) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Definition plain;
    plain.nameGrabbing = 0;
    Definition other = plain;
    other.rangeEnd = 9;
    const std::string path = InProgramFolder("Korg M1.QXInstrument");
    const e2e::LaunchOptions options = {
        .programFiles = {{"Korg M1.QXInstrument", DefinitionFile(plain)},
                         {"Other.QXInstrument", DefinitionFile(other)},
                         {"Mine.QXBank", BankFile({"Strings 1"})}}};
    std::vector<std::string> lines = UnknownLines();
    lines[2] = "003 Strings 1";
    {
        Librarian librarian = StartLibrarian(options);
        ASSERT_TRUE(librarian.window);
        HWND window = librarian.window;
        EXPECT_EQ(GetDlgItem(window, updateId), nullptr);
        EXPECT_EQ(e2e::Text(e2e::Control(window, saveId)), "<< Save As...");
        // The opening reply names nothing.
        ASSERT_TRUE(e2e::WaitForLog(
            librarian.program.instrumentLog,
            [](const auto& entries) { return !e2e::EventsNamed(entries, "send").empty(); },
            "the opening reply"));
        ASSERT_TRUE(e2e::WaitUntilIdle(window));
        ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(window, bankProgramsId), 0));
        ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(window, deviceListId), 2));
        ASSERT_TRUE(e2e::Press(window, copyId));
        EXPECT_EQ(DeviceLines(window), lines);
        e2e::Close(window);
        EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
    }
    std::string file = FileText(path);
    ASSERT_EQ(file.size(), 2048u + 4 + 100 * 30);
    EXPECT_EQ(FieldOf(file, 2048), 100);
    EXPECT_EQ(std::string(file.c_str() + 2052 + 2 * 30), "003 Strings 1");

    // The next opening shows the list kept; "Clear names" forgets it, and so does the file.
    e2e::LaunchOptions again = options;
    again.programFiles.erase(again.programFiles.begin()); // keep the definition as written
    {
        Librarian librarian = StartLibrarian(again);
        ASSERT_TRUE(librarian.window);
        EXPECT_TRUE(DeviceLinesAfter(librarian, 1, lines));
        ASSERT_TRUE(e2e::Press(librarian.window, clearNamesId));
        EXPECT_EQ(DeviceLines(librarian.window), UnknownLines());
        e2e::Close(librarian.window);
        EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
    }
    file = FileText(path);
    EXPECT_EQ(std::string(file.c_str() + 2052 + 2 * 30), "003 <Unknown>");

    // Another definition chosen from the Librarian: the old list is not written into its file.
    Librarian librarian = StartLibrarian(again);
    ASSERT_TRUE(librarian.window);
    {
        e2e::CtrlHeld ctrl(librarian.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(librarian.window, managerId)); // "Instrument..."
    }
    HWND dialog = e2e::WaitForWindowOf(librarian.program,
                                       {.className = "#32770", .caption = kOptionsCaption});
    ASSERT_TRUE(dialog);
    HWND models = e2e::Control(dialog, modelId);
    ASSERT_TRUE(e2e::SelectComboBoxItem(models, IndexOf(e2e::ComboBoxItems(models), "Other")));
    ASSERT_TRUE(e2e::Press(dialog, IDOK));
    ASSERT_TRUE(e2e::WaitUntilGone(librarian.window));
    HWND reopened = e2e::WaitForWindowOf(librarian.program, {.className = "QX_SysX2"});
    ASSERT_TRUE(reopened);
    EXPECT_EQ(e2e::Text(reopened), "Other - Quillfen Program Librarian");
    EXPECT_EQ(DeviceLines(reopened).size(), 10u);
    EXPECT_EQ(FileText(InProgramFolder("Other.QXInstrument")).size(), 2048u);
    e2e::Close(reopened);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
    EXPECT_EQ(FileText(InProgramFolder("Other.QXInstrument")).size(), 2048u + 4 + 300);
}

} // namespace
