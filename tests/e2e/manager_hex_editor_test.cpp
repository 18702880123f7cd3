// The hex message editor opened from the Manager: editing a received message, typing new ones,
// every refusal of what was typed, the length limits, and MIDI input that arrives while a
// message is being edited.
#include "manager_e2e.h"

#include <string>
#include <vector>

namespace {

using namespace manager_e2e;

const Bytes rolandMessage = {0xF0, 0x41, 0x10, 0x16, 0x12, 0xF7};

const char pairsText[] = "You must enter an exact number of hex pairs: eg 30 4F 2A, and not 8F "
                         "1E 4. Use '04' if necessary.";
const char characterText[] = "The hex data may consist only of 0123456789ABCDEF and spaces.";
const char tooLongToEditText[] =
    "Sorry; you can only edit sysex messages that are 10,000 bytes or less in length.";
const char textTooLongText[] = "Sorry; you can only create sysex messages that are 30,000 bytes "
                               "or less when stored as text.";

// Presses Create/Edit and waits for the editor, owned by the Manager.
HWND OpenEditor(const Manager& manager) {
    if (!e2e::Press(manager.window, createEditId)) {
        ADD_FAILURE() << "Create/Edit could not be pressed";
        return nullptr;
    }
    return e2e::WaitForWindowOf(manager.program,
                                {.className = "#32770", .caption = kHexEditorCaption});
}

// Types `text` and presses OK; the editor is expected to close.
testing::AssertionResult StoreText(HWND editor, const std::string& text) {
    auto typed = e2e::SetText(e2e::Control(editor, hexFieldId), text);
    if (!typed)
        return typed;
    auto pressed = e2e::Press(editor, hexOkId);
    if (!pressed)
        return pressed;
    return e2e::WaitUntilGone(editor);
}

// Types `text`, presses OK and expects the refusal `message`, after which the editor stays.
void ExpectRefusal(const Manager& manager, HWND editor, const std::string& text,
                   const std::string& caption, const std::string& message) {
    SCOPED_TRACE(text.substr(0, 20));
    ASSERT_TRUE(e2e::SetText(e2e::Control(editor, hexFieldId), text));
    ASSERT_TRUE(e2e::Press(editor, hexOkId));
    auto box = e2e::WaitForMessageBox(manager.program, caption);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, message);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Stop);
    EXPECT_EQ(box->owner, editor);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    ASSERT_TRUE(e2e::WaitUntilGone(box->window));
    EXPECT_TRUE(IsWindow(editor));
    EXPECT_EQ(e2e::Text(e2e::Control(editor, hexFieldId)), text);
}

// Saves the store in the program's own format and reads the messages back from the file.
std::vector<Bytes> SavedMessages(const Manager& manager, const std::string& name) {
    const std::string path = e2e::JoinPath(manager.program.workFolder, name);
    if (!e2e::Press(manager.window, saveAsId))
        return {};
    const HWND dialog = WaitForFileDialog(manager.program, "Save As");
    if (!dialog || !ChooseInFileDialog(dialog, path, 1) ||
        !e2e::WaitUntil([&] { return FileEntry(manager.window, "* " + name) >= 0; },
                        "the saved file is listed"))
        return {};
    return ReadTagged(e2e::ReadFileBytes(path).value_or("")).messages;
}

TEST(ManagerHexEditor, EditsReceivedMessagesAndTakesTypedOnes) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager({.workFiles = {{"roland.syx", AsText(rolandMessage)}}});
    ASSERT_TRUE(manager.window);
    const HWND messages = e2e::Control(manager.window, messagesId);
    ASSERT_TRUE(SelectFile(manager.window, "roland.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, sendId));
    ASSERT_TRUE(WaitForMessageLabels(manager.window, {"6 bytes [Roland]"}));

    // A double-click opens the received message as its text, with a space behind every byte;
    // OK without a change stores the same bytes as the user's own.
    ASSERT_TRUE(e2e::SelectListBoxItem(messages, 0));
    EXPECT_EQ(Caption(manager.window, createEditId), "Edit");
    ASSERT_TRUE(e2e::DoubleClickListBoxItem(messages, 0));
    HWND editor = e2e::WaitForWindowOf(manager.program,
                                       {.className = "#32770", .caption = kHexEditorCaption});
    ASSERT_TRUE(editor);
    EXPECT_EQ(GetWindow(editor, GW_OWNER), manager.window);
    EXPECT_EQ(e2e::Text(e2e::Control(editor, hexFieldId)), "F0 41 10 16 12 F7 ");
    ASSERT_TRUE(e2e::Press(editor, hexOkId));
    ASSERT_TRUE(e2e::WaitUntilGone(editor));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, {"6 user [Roland]"}));

    // Nothing selected: a new message after all others. Pairs need no spaces.
    ASSERT_TRUE(e2e::Ask(messages, LB_SETCURSEL, WPARAM(-1), 0));
    editor = OpenEditor(manager);
    ASSERT_TRUE(editor);
    EXPECT_EQ(e2e::Text(e2e::Control(editor, hexFieldId)), "");
    ASSERT_TRUE(StoreText(editor, "F07E7F0601F7"));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, {"6 user [Roland]", "6 user [7e]"}));

    // Refusals leave the editor open with the text as typed; an empty text and Escape do
    // nothing; Cancel leaves the store as it was.
    editor = OpenEditor(manager);
    ASSERT_TRUE(editor);
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(manager, editor, "F0 4", "Data entry error", pairsText));
    ASSERT_NO_FATAL_FAILURE(
        ExpectRefusal(manager, editor, "F0 G1", "Data entry error", characterText));
    for (const char* nothing : {"", "    "}) {
        ASSERT_TRUE(e2e::SetText(e2e::Control(editor, hexFieldId), nothing));
        ASSERT_TRUE(e2e::Press(editor, hexOkId));
        EXPECT_TRUE(e2e::StaysTrue(
            [&] {
                return IsWindow(editor) &&
                       !e2e::FindWindowOf(manager.program, {.caption = "Data entry error"});
            },
            "the editor stays, without a message", e2e::Milliseconds(300)));
    }
    ASSERT_TRUE(e2e::SetText(e2e::Control(editor, hexFieldId), "F0 11 F7"));
    ASSERT_TRUE(e2e::PressKey(e2e::Control(editor, hexFieldId), VK_ESCAPE));
    EXPECT_TRUE(e2e::StaysTrue([&] { return IsWindow(editor) != FALSE; }, "Escape does nothing",
                               e2e::Milliseconds(300)));
    ASSERT_TRUE(e2e::Press(editor, hexCancelId));
    ASSERT_TRUE(e2e::WaitUntilGone(editor));
    EXPECT_EQ(MessageLabels(manager.window),
              (std::vector<std::string>{"6 user [Roland]", "6 user [7e]"}));

    // CTRL+Create makes a new message even with one selected.
    ASSERT_TRUE(e2e::SelectListBoxItem(messages, 0));
    {
        e2e::CtrlHeld ctrl(manager.window);
        ASSERT_TRUE(ctrl.held);
        editor = OpenEditor(manager);
    }
    ASSERT_TRUE(editor);
    EXPECT_EQ(e2e::Text(e2e::Control(editor, hexFieldId)), "");
    ASSERT_TRUE(StoreText(editor, "f0 43 f7")); // the field takes capitals only
    EXPECT_TRUE(WaitForMessageLabels(manager.window,
                                     {"6 user [Roland]", "6 user [7e]", "3 user [Yamaha]"}));

    EXPECT_EQ(SavedMessages(manager, "typed.syx"),
              (std::vector<Bytes>{
                  rolandMessage, {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, {0xF0, 0x43, 0xF7}}));
    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

TEST(ManagerHexEditor, EditsMessagesUpToTenThousandBytes) {
    const std::vector<Bytes> stored = {Message(1200, 0x41), Message(10000, 0x42, 2),
                                       Message(10001, 0x43, 3)};
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager({.workFiles = {{"long.syx", TaggedFile('+', "long", stored)}}});
    ASSERT_TRUE(manager.window);
    const HWND messages = e2e::Control(manager.window, messagesId);
    ASSERT_TRUE(SelectFile(manager.window, "* long.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, openId));
    const std::vector<std::string> labels = {"1200 bytes [Roland]", "10000 bytes [Korg]",
                                             "10001 bytes [Yamaha]"};
    ASSERT_TRUE(WaitForMessageLabels(manager.window, labels));

    // 1,200 bytes are 3,600 characters, every byte in order.
    ASSERT_TRUE(e2e::SelectListBoxItem(messages, 0));
    HWND editor = OpenEditor(manager);
    ASSERT_TRUE(editor);
    const std::string text = e2e::Text(e2e::Control(editor, hexFieldId));
    ASSERT_EQ(text.size(), 3600u);
    EXPECT_EQ(text.substr(0, 12), "F0 41 0A 0F ");
    EXPECT_EQ(text.substr(3597), "F7 ");
    ASSERT_TRUE(e2e::Press(editor, hexCancelId));
    ASSERT_TRUE(e2e::WaitUntilGone(editor));

    // 10,000 bytes can be edited: 30,000 characters, just accepted on OK.
    ASSERT_TRUE(e2e::SelectListBoxItem(messages, 1));
    editor = OpenEditor(manager);
    ASSERT_TRUE(editor);
    EXPECT_EQ(e2e::Text(e2e::Control(editor, hexFieldId)).size(), 30000u);
    ASSERT_TRUE(e2e::Press(editor, hexOkId));
    ASSERT_TRUE(e2e::WaitUntilGone(editor));
    EXPECT_TRUE(WaitForMessageLabels(
        manager.window, {"1200 bytes [Roland]", "10000 user [Korg]", "10001 bytes [Yamaha]"}));

    // 10,001 bytes cannot: no editor stays open and the store is unchanged.
    ASSERT_TRUE(e2e::SelectListBoxItem(messages, 2));
    ASSERT_TRUE(e2e::Press(manager.window, createEditId));
    auto box = e2e::WaitForMessageBox(manager.program, std::string("Error"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, tooLongToEditText);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Stop);
    EXPECT_EQ(box->owner, manager.window);
    EXPECT_FALSE(e2e::FindWindowOf(manager.program, {.caption = kHexEditorCaption}));
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return !e2e::FindWindowOf(manager.program,
                                      {.caption = kHexEditorCaption, .visibleOnly = false});
        },
        "no editor is left"));
    EXPECT_EQ(MessageLabels(manager.window),
              (std::vector<std::string>{"1200 bytes [Roland]", "10000 user [Korg]",
                                        "10001 bytes [Yamaha]"}));

    // A text of more than 30,000 characters is refused, however many bytes it would give.
    ASSERT_TRUE(e2e::Ask(messages, LB_SETCURSEL, WPARAM(-1), 0));
    editor = OpenEditor(manager);
    ASSERT_TRUE(editor);
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(manager, editor, "F0 F7" + std::string(29996, ' '),
                                          "Error", textTooLongText));
    ASSERT_TRUE(e2e::Press(editor, hexCancelId));
    ASSERT_TRUE(e2e::WaitUntilGone(editor));

    EXPECT_EQ(SavedMessages(manager, "after.syx"), stored);
    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

TEST(ManagerHexEditor, InputArrivingDuringAnEditIsAddedAfterIt) {
    // Three messages of 3,000 bytes take about a second each on the wire, there and back.
    const std::vector<Bytes> burst = {Message(3000, 0x43, 1), Message(3000, 0x43, 2),
                                      Message(3000, 0x43, 3)};
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager({.workFiles = {{"burst.syx", TaggedFile('+', "burst", burst)},
                                                  {"roland.syx", AsText(rolandMessage)}},
                                    .instrument = {.mode = "loopback", .wireSpeed = true}});
    ASSERT_TRUE(manager.window);
    ASSERT_TRUE(SelectFile(manager.window, "roland.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, openId));
    ASSERT_TRUE(WaitForMessageLabels(manager.window, {"6 bytes [Roland]"}));

    ASSERT_TRUE(SelectFile(manager.window, "* burst.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, sendId));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(manager.window, messagesId), 0));
    HWND editor = OpenEditor(manager);
    ASSERT_TRUE(editor);
    // The whole burst comes back while the editor is open; none of it shows yet.
    EXPECT_TRUE(e2e::WaitForLog(
        manager.program.instrumentLog,
        [](const std::vector<e2e::LogEntry>& log) {
            return e2e::EventsNamed(log, "send").size() == 3;
        },
        "the instrument has sent the three messages back"));
    EXPECT_TRUE(IsWindow(editor));
    EXPECT_EQ(MessageLabels(manager.window), std::vector<std::string>{"6 bytes [Roland]"});

    ASSERT_TRUE(StoreText(editor, "F0 42 F7"));
    EXPECT_TRUE(
        WaitForMessageLabels(manager.window, {"3 user [Korg]", "3000 bytes [Yamaha]",
                                              "3000 bytes [Yamaha]", "3000 bytes [Yamaha]"}));
    std::vector<Bytes> expected = {{0xF0, 0x42, 0xF7}};
    expected.insert(expected.end(), burst.begin(), burst.end());
    EXPECT_EQ(SavedMessages(manager, "kept.syx"), expected);

    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

} // namespace
