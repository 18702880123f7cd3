// The "Librarian options" dialog: the way into the Librarian from the Manager, the automatic
// pass, Cancel, every check of OK, and where OK saves.
#include "librarian_e2e.h"

namespace {

using namespace librarian_e2e;

constexpr int kManagerLibrarianId = 3000;

std::vector<e2e::ScratchFile> TwoDefinitions() {
    Definition other;
    other.channel = 3;
    other.rangeEnd = 9;
    return {{"Korg M1.QXInstrument", DefinitionFile({})},
            {"Other Synth.QXInstrument", DefinitionFile(other)},
            {"Mine.QXBank", BankFile()}};
}

HWND WaitForOptions(const e2e::Program& program) {
    return e2e::WaitForWindowOf(program, {.className = "#32770", .caption = kOptionsCaption});
}

testing::AssertionResult ChooseModel(HWND dialog, const std::string& name) {
    HWND models = e2e::Control(dialog, modelId);
    const int index = IndexOf(e2e::ComboBoxItems(models), name);
    if (index < 0)
        return testing::AssertionFailure() << name << " is not listed";
    return e2e::SelectComboBoxItem(models, index);
}

std::string LibrarianCaption(const std::string& name) {
    return name + " - Quillfen Program Librarian";
}

TEST(LibrarianDefinition, FirstEntryAutomaticPassAndCancel) {
    e2e::Program program =
        e2e::Launch({.programFiles = TwoDefinitions(), .instrument = {.mode = "m1"}});
    ASSERT_TRUE(program);
    auto welcome = e2e::WaitForMessageBox(program, std::string("New user information"));
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(e2e::Answer(*welcome, IDOK));
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    // The first entry: the advice once, then the dialog, although CTRL is not held.
    ASSERT_TRUE(e2e::Press(manager, kManagerLibrarianId));
    auto advice = e2e::WaitForMessageBox(program, std::string("New user information"));
    ASSERT_TRUE(advice);
    EXPECT_TRUE(advice->text.starts_with("This seems to be the first time you've tried to enter "
                                         "the librarian"));
    ASSERT_TRUE(e2e::Answer(*advice, IDOK));
    HWND dialog = WaitForOptions(program);
    ASSERT_TRUE(dialog);
    const std::vector<std::string> models = e2e::ComboBoxItems(e2e::Control(dialog, modelId));
    ASSERT_EQ(models.size(), 3u);
    EXPECT_EQ(models.back(), "Define new instrument");
    const int m1 = IndexOf(models, "Korg M1");
    ASSERT_TRUE(ChooseModel(dialog, "Korg M1"));
    EXPECT_EQ(e2e::Text(e2e::Control(dialog, sizeId)), "170");
    EXPECT_EQ(e2e::Text(e2e::Control(dialog, offsetsId)), "6 7 8 9 10 11 12 14 15 16 ");
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(dialog, modelId)), m1);
    ASSERT_TRUE(e2e::Press(dialog, IDOK));
    HWND librarian = e2e::WaitForWindowOf(program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    EXPECT_EQ(e2e::Text(librarian), LibrarianCaption("Korg M1"));
    e2e::Close(librarian);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "LibrarianInstrument"), DWORD(m1));

    // The next time: no advice, no dialog.
    program = e2e::Launch(
        {.programFiles = TwoDefinitions(), .freshRegistry = false, .instrument = {.mode = "m1"}});
    ASSERT_TRUE(program);
    manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    ASSERT_TRUE(e2e::WaitUntilIdle(manager));
    ASSERT_TRUE(e2e::Press(manager, kManagerLibrarianId));
    librarian = e2e::WaitForWindowOf(program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    EXPECT_EQ(FindWindowOf(program, {.className = "#32770", .caption = kOptionsCaption}), nullptr);
    ASSERT_TRUE(e2e::Press(librarian, managerId)); // "Manager"
    manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    ASSERT_TRUE(e2e::WaitUntilIdle(manager));
    // With CTRL the dialog shows; another model, then Cancel, leaves Korg M1 current.
    {
        e2e::CtrlHeld ctrl(manager);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(manager, kManagerLibrarianId));
    }
    dialog = WaitForOptions(program);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(dialog, modelId)), m1);
    ASSERT_TRUE(ChooseModel(dialog, "Other Synth"));
    EXPECT_EQ(e2e::Text(e2e::Control(dialog, channelId)), "3");
    ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_TRUE(IsWindow(manager));
    ASSERT_TRUE(e2e::Press(manager, kManagerLibrarianId));
    librarian = e2e::WaitForWindowOf(program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    EXPECT_EQ(e2e::Text(librarian), LibrarianCaption("Korg M1"));
    EXPECT_EQ(e2e::ListBoxItems(e2e::Control(librarian, deviceListId)).size(), 100u);

    // The Editor's first entry asks first; No stays, and the question never comes again.
    ASSERT_TRUE(e2e::Press(librarian, editorId));
    advice = e2e::WaitForMessageBox(program, std::string("New user information"));
    ASSERT_TRUE(advice);
    EXPECT_EQ(advice->owner, librarian);
    EXPECT_EQ(advice->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_TRUE(advice->text.ends_with("Do you still want to enter the editor?")) << advice->text;
    ASSERT_TRUE(e2e::Answer(*advice, IDNO));
    EXPECT_TRUE(e2e::ValueExists(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime2"));
    ASSERT_TRUE(e2e::WaitUntilIdle(librarian));
    ASSERT_TRUE(e2e::Press(librarian, editorId));
    HWND editor = e2e::WaitForWindowOf(program, {.className = "QX_SysX3"});
    ASSERT_TRUE(editor);
    e2e::Close(editor);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "LibrarianInstrument"), DWORD(m1));
}

// The dialog from the Manager, with the shipped definition chosen.
struct OptionsDialog {
    e2e::Program program;
    HWND manager = nullptr;
    HWND dialog = nullptr;
};

OptionsDialog OpenOptions(int channel = 1) {
    OptionsDialog options;
    librarian_e2e::PresetSettings(0);
    options.program = e2e::Launch({.programFiles = {{"Korg M1.QXInstrument", DefinitionFile({})},
                                                    {"Mine.QXBank", BankFile()}},
                                   .freshRegistry = false,
                                   .instrument = {.mode = "m1", .channel = channel}});
    if (!options.program)
        return options;
    options.manager = e2e::WaitForWindowOf(options.program, {.className = "QX_SysEx"});
    if (!options.manager || !e2e::WaitUntilIdle(options.manager))
        return options;
    e2e::CtrlHeld ctrl(options.manager);
    if (!ctrl.held || !e2e::Press(options.manager, kManagerLibrarianId))
        return options;
    options.dialog = WaitForOptions(options.program);
    return options;
}

TEST(LibrarianDefinition, EveryCheckOfOkWithItsText) {
    OptionsDialog options = OpenOptions();
    ASSERT_TRUE(options.dialog);
    HWND dialog = options.dialog;
    const char* channelText = "You must enter a channel between 1 and 16.";
    const char* rangeText = "The program range start and end numbers must both be between 0 and "
                            "2048. The start number must be less than the end number. ";
    const char* offsetText =
        "The program offset number must be a valid number. This number will be added to the "
        "\"underlying\" program number for display purposes only. It has no effect on program "
        "operation apart from the display.\n\nUsually, this option can be left at zero.";
    const char* sizeText = "The program size must be a valid number, 32000 or less.";
    const char* requestText =
        "The program request string can include only valid hex digits (0-9, a-f, A-F), and the "
        "special characters !#[]-*+;,\n\nAlso, the total number of digits must be even. All hex "
        "digits count, as does !, when working this out, but # can be ignored - so can anything "
        "after the ; sign, and all sets of brackets [] with their contents.\n\n";
    const char* sendText =
        "The program send string can include only valid hex digits (0-9, a-f, A-F), and the "
        "special characters !#[]-*+Rr \n\nAlso, the total number of digits must be even. All hex "
        "digits count, as does !, when working this out, but # and % can be ignored - so can all "
        "sets of brackets [] and their contents.";
    const char* replyText =
        "A reply of 40 bytes (after the ; sign of the request string) cannot hold "
        "a program of 32000 bytes from byte 8. The reply size must be at least "
        "the offset plus the program size.";
    const struct {
        int field;
        const char* value;
        const char* text;
        int otherField = 0;
        const char* otherValue = "";
    } cases[] = {
        {channelId, "0", channelText},
        {channelId, "17", channelText},
        {channelId, "", channelText},
        {rangeStartId, "-1", rangeText},
        {rangeStartId, "5", rangeText, rangeEndId, "4"},
        {rangeEndId, "2049", rangeText},
        {rangeEndId, "", rangeText},
        {offsetId, "one", offsetText},
        {sizeId, "32001", sizeText},
        {sizeId, "-1", sizeText},
        {requestId, "F0 43 2! 7A # F7 1", requestText}, // an odd number of nibbles
        {requestId, "F0 43 2! 7A % F7", requestText},
        {sendId, "F0 43 2! 7A % 12 F7 ;", sendText},
        {sendId, "F0 43 2! 7A % 12 F", sendText},
        {requestId, "F0 43 2! 7A # F7 ;40,8", replyText},
    };
    // Valid values of every checked field: start and end 2048, size 32000 and a ten-nibble
    // request pass.
    const std::pair<int, const char*> valid[] = {{channelId, "16"},
                                                 {rangeStartId, "2048"},
                                                 {rangeEndId, "2048"},
                                                 {offsetId, "-1"},
                                                 {sizeId, "32000"},
                                                 {requestId, "F0 43 2! 7A # F7"},
                                                 {sendId, "C! # % F0 42 3! 19 11 00 # F7"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " \"" + c.value + "\"");
        for (const auto& [field, value] : valid)
            ASSERT_TRUE(e2e::SetText(e2e::Control(dialog, field), value));
        ASSERT_TRUE(e2e::SetText(e2e::Control(dialog, c.field), c.value));
        if (c.otherField) {
            ASSERT_TRUE(e2e::SetText(e2e::Control(dialog, c.otherField), c.otherValue));
        }
        ASSERT_TRUE(e2e::Press(dialog, IDOK));
        auto box = e2e::WaitForMessageBox(options.program);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, c.text);
        EXPECT_EQ(box->caption, c.field == channelId ? "Please correct your input"
                                                     : "Please correct your input.");
        EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Stop);
        EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
        ASSERT_TRUE(e2e::Answer(*box, IDOK));
        ASSERT_TRUE(e2e::WaitUntilGone(box->window));
        EXPECT_TRUE(IsWindow(dialog));
    }

    // The edits above made it a new instrument; OK with valid values asks for the new file.
    HWND models = e2e::Control(dialog, modelId);
    EXPECT_EQ(e2e::ComboBoxSelection(models), 1);
    EXPECT_EQ(e2e::ComboBoxItems(models).back(), "Define new instrument");
    const std::pair<int, const char*> m1[] = {
        {channelId, "1"},     {rangeStartId, "0"},
        {rangeEndId, "9"},    {offsetId, "0"},
        {sizeId, "170"},      {requestId, "C! # F0 42 3! 19 10 F7 ;170,0"},
        {offsetsId, "6,7,8"}, {sendId, "C! # % F0 42 3! 19 11 00 # F7"}};
    for (const auto& [field, value] : m1)
        ASSERT_TRUE(e2e::SetText(e2e::Control(dialog, field), value));
    ASSERT_TRUE(e2e::Press(dialog, IDOK));
    HWND save = manager_e2e::WaitForFileDialog(options.program, "Save As");
    ASSERT_TRUE(save);
    ASSERT_TRUE(manager_e2e::ChooseInFileDialog(save, e2e::JoinPath(ProgramFolder(), "Ten M1")));
    HWND librarian = e2e::WaitForWindowOf(options.program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    EXPECT_EQ(e2e::Text(librarian), LibrarianCaption("Ten M1"));
    EXPECT_EQ(e2e::ListBoxItems(e2e::Control(librarian, deviceListId)).size(), 10u);
    const std::string created = FileText(e2e::JoinPath(ProgramFolder(), "Ten M1.QXInstrument"));
    ASSERT_EQ(created.size(), 2048u);
    EXPECT_EQ(FieldOf(created, 8), 9);
    EXPECT_EQ(std::string(created.c_str() + 936), "6,7,8 "); // the closing space added
    EXPECT_EQ(FileText(e2e::JoinPath(ProgramFolder(), "Korg M1.QXInstrument")), DefinitionFile({}));
    e2e::Close(librarian);
    EXPECT_EQ(e2e::WaitForExit(options.program), 0u);
}

TEST(LibrarianDefinition, ChangingOnlyTheChannelRewritesTheChosenFile) {
    OptionsDialog options = OpenOptions(/*channel=*/5);
    ASSERT_TRUE(options.dialog);
    ASSERT_TRUE(e2e::SetText(e2e::Control(options.dialog, channelId), "5"));
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(options.dialog, modelId)), 0);
    ASSERT_TRUE(e2e::Press(options.dialog, IDOK));
    HWND librarian = e2e::WaitForWindowOf(options.program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    const std::string path = e2e::JoinPath(ProgramFolder(), "Korg M1.QXInstrument");
    EXPECT_EQ(FieldOf(FileText(path), 0), 5);
    EXPECT_EQ(FileText(path).substr(4), DefinitionFile({}).substr(4));
    // The instrument on channel 5 answers the definition now.
    EXPECT_TRUE(DeviceLinesAfter(options.program, librarian, 1, [] {
        auto lines = UnknownLines();
        lines[0] = Line(1, InstrumentName(0));
        return lines;
    }()));
    e2e::Close(librarian);
    EXPECT_EQ(e2e::WaitForExit(options.program), 0u);
}

} // namespace
