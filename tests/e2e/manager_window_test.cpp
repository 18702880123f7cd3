// The Manager window as the user meets it: its look, the ports that close when it is minimized
// and open again when it is restored, the CTRL captions, and the buttons that only answer with a
// message.
#include "librarian_e2e.h"
#include "manager_e2e.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace manager_e2e;

// Three messages of three makers, in a file of the program's own format.
const std::vector<Bytes> threeMessages = {
    {0xF0, 0x41, 0x10, 0x16, 0x12, 0x00, 0x01, 0x02, 0x03, 0xF7},
    Message(300, 0x43, 1),
    {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},
};
const std::vector<std::string> threeLabels = {"10 bytes [Roland]", "300 bytes [Yamaha]",
                                              "6 bytes [7e]"};

TEST(ManagerWindow, ShowsReceivedMessagesBesideTheFilesOfTheFolder) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager(
        {.workFiles = {{"three.syx", TaggedFile('+', "three", threeMessages)},
                       {"bank.syx", TaggedFile('-', "Strings and pads", {Message(40, 0x42)})},
                       {"dump.syx", AsText(Message(20, 0x41))}}});
    ASSERT_TRUE(manager.window);
    EXPECT_EQ(e2e::Text(manager.window), "Quillfen Brevikorlando 95");
    auto files = FileLabels(manager.window); // in the order the folder lists them
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"* three.syx", "- Strings and pads", "dump.syx"}));
    EXPECT_EQ(e2e::ComboBoxItems(e2e::Control(manager.window, inputPortId)),
              std::vector<std::string>{"Talvane Virtual Instrument"});
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager.window, inputPortId)), 0);
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager.window, outputPortId)), 0);

    ASSERT_TRUE(SelectFile(manager.window, "* three.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, sendId));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, threeLabels));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(manager.window, messagesId), 1));
    ASSERT_TRUE(e2e::WaitUntilIdle(manager.window));
    EXPECT_TRUE(
        e2e::SaveScreenshot(manager.window, e2e::JoinPath(e2e::ScratchFolder(), "manager.bmp")));

    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

TEST(ManagerWindow, TheFirstStartMarksTheManagerEnteredAndUsesTheListedPorts) {
    e2e::Program program = e2e::Launch({.instrument = {.mode = "loopback"}});
    ASSERT_TRUE(program);
    auto welcome = e2e::WaitForMessageBox(program, std::string("New user information"));
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(e2e::Answer(*welcome, IDOK));
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    EXPECT_TRUE(e2e::WaitUntil(
        [] { return e2e::ValueExists(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime0"); },
        "the Manager's first entry is marked"));
    // The first run names device 0, which this machine does not have: the window opens with the
    // only device listed, the virtual instrument, instead of minimizing itself for good.
    EXPECT_FALSE(IsIconic(manager));
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager, inputPortId)), 0);
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager, outputPortId)), 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return BothPortsOpen(program.instrumentLog); },
                               "both ports are open"));
    EXPECT_TRUE(NoBoxOpen(program));
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
}

TEST(ManagerWindow, CtrlChangesTheCaptionsAtOnceAndBack) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings(/*librarianInstrument=*/0));
    Manager manager = StartManager({.workFiles = {{"dump.syx", AsText(Message(20, 0x41))}}});
    ASSERT_TRUE(manager.window);
    const int buttons[] = {createEditId, openId, sendId, librarianId};
    const auto captions = [&] {
        std::vector<std::string> shown;
        for (int button : buttons)
            shown.push_back(Caption(manager.window, button));
        return shown;
    };
    // Nothing selected; a definition was chosen before.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return captions() ==
                   std::vector<std::string>{"Create", "<< Open...", "Send...", "Librarian"};
        },
        "the captions with nothing selected"));

    ASSERT_TRUE(SelectFile(manager.window, "dump.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, sendId)); // "Send": at once, no dialog
    ASSERT_TRUE(WaitForMessageLabels(manager.window, {"20 bytes [Roland]"}));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(manager.window, messagesId), 0));
    const std::vector<std::string> plain = {"Edit", "<< Open", "Send", "Librarian"};
    const std::vector<std::string> withCtrl = {"Create", "<< Open...", "Send...", "Librarian..."};
    EXPECT_EQ(captions(), plain);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        {
            e2e::CtrlHeld ctrl(manager.window);
            ASSERT_TRUE(ctrl.held);
            EXPECT_TRUE(e2e::WaitUntil([&] { return captions() == withCtrl; }, "the CTRL captions",
                                       e2e::Milliseconds(1000)));
        }
        EXPECT_TRUE(e2e::WaitUntil([&] { return captions() == plain; }, "the plain captions",
                                   e2e::Milliseconds(1000)));
    }
    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

TEST(ManagerWindow, CtrlSendAndCtrlOpenAskForTheFileFirst) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    const Bytes dump = Message(20, 0x41);
    Manager manager = StartManager({.workFiles = {{"dump.syx", AsText(dump)}}});
    ASSERT_TRUE(manager.window);
    ASSERT_TRUE(SelectFile(manager.window, "dump.syx"));

    // CTRL+Open, cancelled: the store stays as it is.
    {
        e2e::CtrlHeld ctrl(manager.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(manager.window, openId));
    }
    HWND dialog = WaitForFileDialog(manager.program, "Open");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_TRUE(e2e::StaysTrue([&] { return MessageLabels(manager.window).empty(); },
                               "nothing is opened", e2e::Milliseconds(300)));

    // CTRL+Send: the dialog comes first; cancelled, the file selected before is sent (from the
    // folder the list shows, whichever folder the dialog looked into).
    {
        e2e::CtrlHeld ctrl(manager.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(manager.window, sendId));
    }
    dialog = WaitForFileDialog(manager.program, "Send");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(
        e2e::EventsNamed(e2e::ReadInstrumentLog(manager.program.instrumentLog).entries, "recv")
            .empty());
    ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
    EXPECT_TRUE(e2e::WaitForLog(
        manager.program.instrumentLog,
        [&](const auto& log) {
            const auto received = e2e::EventsNamed(log, "recv");
            return received.size() == 1 && received[0].bytes == dump;
        },
        "the selected file is sent"));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, {"20 bytes [Roland]"}));

    // Double-clicking a file sends it as well.
    ASSERT_TRUE(e2e::DoubleClickListBoxItem(e2e::Control(manager.window, filesId), 0));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, {"20 bytes [Roland]", "20 bytes [Roland]"}));
    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

TEST(ManagerWindow, SaveAsWithNothingToSaveSaysSo) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager();
    ASSERT_TRUE(manager.window);
    ASSERT_TRUE(e2e::Press(manager.window, saveAsId));
    auto box = e2e::WaitForMessageBox(manager.program, std::string("Error"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Nothing to save! First receive or create some sysex data.");
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Stop);
    EXPECT_EQ(box->owner, manager.window);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    ASSERT_TRUE(e2e::WaitUntilGone(box->window));
    EXPECT_FALSE(e2e::FindWindowOf(manager.program, {.caption = "Save As"}));
    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

// Presses Delete and answers the question; returns its text.
std::string AnswerDelete(const Manager& manager, int answer) {
    if (!e2e::Press(manager.window, deleteId)) {
        ADD_FAILURE() << "Delete could not be pressed";
        return {};
    }
    auto box = e2e::WaitForMessageBox(manager.program, std::string("Confirm Delete"));
    if (!box)
        return {};
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Question);
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box->owner, manager.window);
    EXPECT_TRUE(e2e::Answer(*box, answer));
    EXPECT_TRUE(e2e::WaitUntilGone(box->window));
    return box->text;
}

TEST(ManagerWindow, DeleteAsksFirstAndSaysWhenItFails) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager(
        {.workFiles = {{"bank.syx", TaggedFile('-', "Strings and pads", {Message(40, 0x42)})},
                       {"dump.syx", AsText(Message(20, 0x41))},
                       {"kept.syx", AsText(Message(20, 0x41))}}});
    ASSERT_TRUE(manager.window);
    const std::string work = manager.program.workFolder;

    ASSERT_TRUE(e2e::Press(manager.window, deleteId));
    auto box = e2e::WaitForMessageBox(manager.program, std::string("Error"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "You must select a file before you can delete it.");
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Stop);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    ASSERT_TRUE(e2e::WaitUntilGone(box->window));

    // A file of the program's own format is named by its label and its file name; No keeps it.
    ASSERT_TRUE(SelectFile(manager.window, "- Strings and pads"));
    EXPECT_EQ(AnswerDelete(manager, IDNO),
              "Are you sure you want to delete the file \"- Strings and pads\", underlying name "
              "\"bank.syx\"?");
    EXPECT_TRUE(e2e::FileExists(e2e::JoinPath(work, "bank.syx")));
    EXPECT_GE(FileEntry(manager.window, "- Strings and pads"), 0);
    EXPECT_EQ(AnswerDelete(manager, IDYES),
              "Are you sure you want to delete the file \"- Strings and pads\", underlying name "
              "\"bank.syx\"?");
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::FileExists(e2e::JoinPath(work, "bank.syx")); },
                               "the file is deleted"));
    EXPECT_EQ(FileEntry(manager.window, "- Strings and pads"), -1);
    EXPECT_EQ(FileLabels(manager.window).size(), 2u);

    // A file that another program holds open cannot be deleted: the user is told, and the file
    // stays listed.
    const std::string dumpPath = e2e::JoinPath(work, "dump.syx");
    HANDLE held = CreateFileA(dumpPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SelectFile(manager.window, "dump.syx"));
    EXPECT_EQ(AnswerDelete(manager, IDYES),
              "Are you sure you want to delete the file \"dump.syx\"?");
    box = e2e::WaitForMessageBox(manager.program, std::string("Error!"));
    CloseHandle(held);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text,
              "Delete attempt failed. Try closing Brevikorlando and using Windows to delete the "
              "file.");
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Exclamation);
    EXPECT_EQ(box->owner, manager.window);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    EXPECT_TRUE(e2e::FileExists(dumpPath));
    EXPECT_GE(FileEntry(manager.window, "dump.syx"), 0);
    EXPECT_EQ(FileLabels(manager.window).size(), 2u);

    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

TEST(ManagerWindow, MinimizedItLetsThePortsGoAndRestoredTakesThemAgain) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager({.workFiles = {{"dump.syx", AsText(Message(20, 0x41))}}});
    ASSERT_TRUE(manager.window);
    const std::string& log = manager.program.instrumentLog;
    ASSERT_TRUE(e2e::WaitUntil([&] { return BothPortsOpen(log); }, "both ports are open"));

    ASSERT_TRUE(e2e::Minimize(manager.window));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !PortOpen(log, "in") && !PortOpen(log, "out"); },
                               "both ports are closed"));
    ASSERT_TRUE(e2e::Restore(manager.window));
    EXPECT_TRUE(e2e::WaitUntil([&] { return BothPortsOpen(log); }, "both ports are open again"));
    // The ports work again.
    ASSERT_TRUE(SelectFile(manager.window, "dump.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, sendId));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, {"20 bytes [Roland]"}));

    // Choosing an output port keeps the store; choosing an input port starts a new one, and the
    // output is closed and opened again around the change. The device in use is not opened
    // again.
    const size_t inputOpens = EventCount(log, "open-in");
    const size_t outputOpens = EventCount(log, "open-out");
    ASSERT_TRUE(e2e::SelectComboBoxItem(e2e::Control(manager.window, outputPortId), 0));
    EXPECT_EQ(MessageLabels(manager.window), std::vector<std::string>{"20 bytes [Roland]"});
    EXPECT_EQ(EventCount(log, "open-out"), outputOpens);
    ASSERT_TRUE(e2e::SelectComboBoxItem(e2e::Control(manager.window, inputPortId), 0));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, {}));
    EXPECT_TRUE(e2e::WaitUntil([&] { return EventCount(log, "open-out") == outputOpens + 1; },
                               "the output is opened again"));
    EXPECT_EQ(EventCount(log, "open-in"), inputOpens);
    EXPECT_TRUE(BothPortsOpen(log));
    EXPECT_FALSE(IsIconic(manager.window));

    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
    EXPECT_FALSE(PortOpen(log, "in"));
    EXPECT_FALSE(PortOpen(log, "out"));
}

TEST(ManagerWindow, TheLibrarianButtonPassesTheDefinitionDialog) {
    // No definition chosen yet: the first entry's advice, then the definition dialog, which the
    // user leaves; the Manager stays.
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    {
        Manager manager = StartManager();
        ASSERT_TRUE(manager.window);
        EXPECT_EQ(Caption(manager.window, librarianId), "Librarian...");
        ASSERT_TRUE(e2e::Press(manager.window, librarianId));
        auto advice = e2e::WaitForMessageBox(manager.program, std::string("New user information"));
        ASSERT_TRUE(advice);
        EXPECT_EQ(advice->icon, e2e::MessageBoxIcon::Information);
        EXPECT_EQ(advice->owner, manager.window);
        EXPECT_TRUE(advice->text.starts_with("This seems to be the first time you've tried to "
                                             "enter the librarian, so here's some advice.\n\n"))
            << advice->text;
        EXPECT_TRUE(e2e::ValueExists(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime1"));
        ASSERT_TRUE(e2e::Answer(*advice, IDOK));
        HWND dialog = e2e::WaitForWindowOf(
            manager.program, {.className = "#32770", .caption = std::string("Librarian options")});
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(manager.window) != FALSE; },
                                   "the definition dialog is left"));
        EXPECT_TRUE(e2e::StaysTrue(
            [&] { return IsWindow(manager.window) && IsWindowEnabled(manager.window); },
            "the Manager stays", e2e::Milliseconds(500)));
        e2e::Close(manager.window);
        EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
    }
    // A definition chosen before: the dialog confirms itself, and the Librarian opens; with CTRL
    // held it does not.
    ASSERT_NO_FATAL_FAILURE(PresetSettings(/*librarianInstrument=*/0));
    ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime1", 1));
    Manager manager =
        StartManager({.programFiles = {{"Korg M1.QXInstrument", librarian_e2e::DefinitionFile({})},
                                       {"Mine.QXBank", librarian_e2e::BankFile()}},
                      .instrument = {.mode = "m1"}});
    ASSERT_TRUE(manager.window);
    {
        e2e::CtrlHeld ctrl(manager.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(manager.window, librarianId));
    }
    HWND dialog = e2e::WaitForWindowOf(
        manager.program, {.className = "#32770", .caption = std::string("Librarian options")});
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
    EXPECT_TRUE(e2e::StaysTrue([&] { return IsWindow(manager.window) != FALSE; },
                               "the Manager stays", e2e::Milliseconds(500)));
    ASSERT_TRUE(e2e::Press(manager.window, librarianId));
    EXPECT_TRUE(e2e::WaitUntilGone(manager.window));
    HWND librarian = e2e::WaitForWindowOf(manager.program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    e2e::Close(librarian);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

TEST(ManagerWindow, CtrlPAndCtrlUOpenTheirDialogsFromAnyControl) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager();
    ASSERT_TRUE(manager.window);
    const struct {
        int key;
        const char* caption;
        int control;
    } keys[] = {{'P', "Preferences", clearId}, {'U', "Uninstall", filesId}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.caption);
        {
            e2e::CtrlHeld ctrl(manager.window);
            ASSERT_TRUE(ctrl.held);
            ASSERT_TRUE(e2e::PressKey(e2e::Control(manager.window, key.control), key.key));
        }
        HWND dialog = e2e::WaitForWindowOf(
            manager.program, {.className = "#32770", .caption = std::string(key.caption)});
        ASSERT_TRUE(dialog);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), manager.window);
        ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
        ASSERT_TRUE(e2e::WaitUntilGone(dialog));
        EXPECT_TRUE(IsWindow(manager.window));
    }
    // Without CTRL the letters do nothing.
    ASSERT_TRUE(e2e::PressKey(e2e::Control(manager.window, clearId), 'P'));
    EXPECT_TRUE(e2e::StaysTrue(
        [&] { return e2e::FindWindowsOf(manager.program, {.className = "#32770"}).empty(); },
        "no dialog", e2e::Milliseconds(300)));
    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

} // namespace
