// The Librarian's transfers against the virtual M1: names, fetching all programs into a bank,
// saving one program, copying a bank program to the instrument.
#include "librarian_e2e.h"

#include <algorithm>

namespace {

using namespace librarian_e2e;

std::string BankPath() {
    return e2e::JoinPath(ProgramFolder(), "Mine.QXBank");
}

e2e::LaunchOptions WithBank(std::vector<std::string> programs = {}) {
    return {.programFiles = {{"Korg M1.QXInstrument", DefinitionFile({})},
                             {"Mine.QXBank", BankFile(programs)}}};
}

void PressWithCtrl(HWND librarian, int button) {
    e2e::CtrlHeld ctrl(librarian);
    ASSERT_TRUE(ctrl.held);
    ASSERT_TRUE(e2e::Press(librarian, button));
}

TEST(LibrarianTransfers, UpdateAllAndSave) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    // The bank already holds a program named like the instrument's program 2.
    Librarian librarian = StartLibrarian(WithBank({InstrumentName(2)}));
    ASSERT_TRUE(librarian.window);
    HWND window = librarian.window;
    EXPECT_EQ(e2e::Text(window), "Korg M1 - Quillfen Program Librarian");
    // The opening request names line 0 and ends.
    std::vector<std::string> opened = UnknownLines();
    opened[0] = Line(1, InstrumentName(0));
    ASSERT_TRUE(DeviceLinesAfter(librarian, 1, opened));
    EXPECT_EQ(BankPrograms(window), std::vector<std::string>{InstrumentName(2)});
    EXPECT_EQ(e2e::Text(e2e::Control(window, updateId)), "Update");
    EXPECT_EQ(e2e::Text(e2e::Control(window, saveId)), "<< Save");
    EXPECT_EQ(GetDlgItem(window, clearNamesId), nullptr);

    // Update: every line named, nothing stored.
    ASSERT_TRUE(e2e::Press(window, updateId));
    ASSERT_TRUE(DeviceLinesAfter(librarian, 101, InstrumentLines()));
    EXPECT_EQ(BankNames(BankPath()).size(), 1u);

    // "<< All": every program but the one whose name the bank holds; that one stays as it was.
    const std::string before = FileText(BankPath()).substr(32004, 200);
    ASSERT_NO_FATAL_FAILURE(PressWithCtrl(window, updateId));
    ASSERT_TRUE(WaitForReplies(librarian, 201));
    EXPECT_EQ(BankPrograms(window).size(), 100u);
    EXPECT_TRUE(e2e::WaitUntil([&] { return BankNames(BankPath()).size() == 100; }, "100 stored"));
    EXPECT_EQ(FileText(BankPath()).substr(32004, 200), before);
    std::vector<std::string> expected;
    for (int program = 0; program < 100; ++program)
        expected.push_back(InstrumentName(program));
    std::vector<std::string> stored = BankNames(BankPath());
    std::sort(stored.begin(), stored.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(stored, expected);
    // A second "<< All" stores nothing more: the names exist. While it runs, "Instrument..." is
    // refused, and its end leaves the window disabled under a dialog opened meanwhile (CTRL+P).
    {
        e2e::CtrlHeld ctrl(window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(window, updateId));
        ASSERT_TRUE(e2e::Press(window, managerId));
        ASSERT_TRUE(e2e::PressKey(e2e::Control(window, updateId), 'P'));
    }
    HWND preferences =
        e2e::WaitForWindowOf(librarian.program, {.className = "#32770", .caption = "Preferences"});
    ASSERT_TRUE(preferences);
    EXPECT_FALSE(e2e::FindWindowOf(librarian.program, {.caption = kOptionsCaption}));
    ASSERT_TRUE(WaitForReplies(librarian.program, preferences, 301));
    EXPECT_FALSE(IsWindowEnabled(window));
    ASSERT_TRUE(e2e::Press(preferences, IDCANCEL));
    ASSERT_TRUE(e2e::WaitUntilGone(preferences));
    EXPECT_EQ(BankNames(BankPath()).size(), 100u);
    EXPECT_EQ(BankPrograms(window).size(), 100u);

    // Save of a program whose grabbed name exists: the long question; No stores nothing.
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(window, deviceListId), 6));
    ASSERT_TRUE(e2e::Press(window, saveId));
    auto question = e2e::WaitForMessageBox(librarian.program, std::string("Confirm Overwite"));
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text,
              "Are you sure you want to overwrite the instrument \"Piano 16' \"? \n\nIf you'd "
              "instead like to save under a different name, choose No here, then hold down Ctrl "
              "and click Save As.");
    EXPECT_EQ(question->icon, e2e::MessageBoxIcon::Question);
    EXPECT_EQ(question->buttons, (std::vector<int>{IDYES, IDNO}));
    ASSERT_TRUE(e2e::Answer(*question, IDNO));

    // Save As (CTRL): the name first. Cancel changes nothing; a new name is stored; an existing
    // name asks the short question.
    const struct {
        const char* typed;
        int button;
        std::size_t stored;
        const char* question;
    } saves[] = {
        {"Never stored", IDCANCEL, 100, nullptr},
        {"My Piano", IDOK, 101, nullptr},
        {"My Piano", IDOK, 101, "Are you sure you want to overwrite the instrument \"My Piano\"?"}};
    for (const auto& save : saves) {
        SCOPED_TRACE(save.typed);
        ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(window, deviceListId), 6));
        ASSERT_NO_FATAL_FAILURE(PressWithCtrl(window, saveId));
        HWND dialog = e2e::WaitForWindowOf(librarian.program,
                                           {.className = "#32770", .caption = "Save As..."});
        ASSERT_TRUE(dialog);
        EXPECT_EQ(e2e::Text(e2e::Control(dialog, 3000)), "Piano 16' ");
        ASSERT_TRUE(e2e::SetText(e2e::Control(dialog, 3000), save.typed));
        ASSERT_TRUE(e2e::Press(dialog, save.button));
        if (save.question) {
            auto box = e2e::WaitForMessageBox(librarian.program, std::string("Confirm Overwite"));
            ASSERT_TRUE(box);
            EXPECT_EQ(box->text, save.question);
            ASSERT_TRUE(e2e::Answer(*box, IDNO));
        }
        ASSERT_TRUE(e2e::WaitUntilGone(dialog));
        ASSERT_TRUE(e2e::WaitUntilIdle(window));
        EXPECT_EQ(BankPrograms(window).size(), save.stored);
        EXPECT_EQ(BankNames(BankPath()).size(), save.stored);
        EXPECT_EQ(DeviceLines(window)[6],
                  Line(7, save.button == IDOK ? "My Piano" : InstrumentName(6)));
    }
    e2e::Close(window);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

TEST(LibrarianTransfers, CopyToInstrument) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Librarian librarian = StartLibrarian(WithBank({"Strings 1"}));
    ASSERT_TRUE(librarian.window);
    HWND window = librarian.window;
    ASSERT_TRUE(WaitForReplies(librarian, 1));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(window, bankProgramsId), 0));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(window, deviceListId), 5));
    ASSERT_TRUE(e2e::Press(window, copyId));
    EXPECT_EQ(DeviceLines(window)[5], "006 Strings 1");
    // The program change, the dump into the edit buffer and the write request, for program 5.
    const auto sent = [&] {
        return e2e::EventsNamed(e2e::ReadInstrumentLog(librarian.program.instrumentLog).entries,
                                "recv");
    };
    ASSERT_TRUE(e2e::WaitUntil([&] { return sent().size() >= 2; }, "the copy sent"));
    std::vector<unsigned char> wire;
    const auto messages = sent();
    for (std::size_t i = 1; i < messages.size(); ++i)
        wire.insert(wire.end(), messages[i].bytes.begin(), messages[i].bytes.end());
    std::vector<unsigned char> expected = {0xC0, 0x05, 0xF0, 0x42, 0x30, 0x19, 0x40};
    ASSERT_GE(wire.size(), expected.size() + 8);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), wire.begin())) << e2e::HexText(wire);
    const std::vector<unsigned char> write = {0xF0, 0x42, 0x30, 0x19, 0x11, 0x00, 0x05, 0xF7};
    EXPECT_TRUE(std::equal(write.begin(), write.end(), wire.end() - 8)) << e2e::HexText(wire);
    // The instrument holds it now.
    ASSERT_TRUE(e2e::Press(window, updateId));
    std::vector<std::string> lines = InstrumentLines();
    lines[5] = Line(6, "Strings 1 ");
    // The opening reply, the instrument's two acknowledgements of the copy, 100 names.
    EXPECT_TRUE(DeviceLinesAfter(librarian, 103, lines));
    e2e::Close(window);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

} // namespace
