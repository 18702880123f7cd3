// The Manager on machines without a usable MIDI port: no device at all (a program folder without
// the virtual instrument leaves Wine with none, not even the mapper), a port another program
// holds (the instrument's fail-open mode), and a remembered port that is missing for one run.
#include "manager_e2e.h"

namespace {

using namespace manager_e2e;

const char noDeviceText[] = "This computer has no MIDI input or output device, so sysex data can "
                            "be neither received nor sent.\nFiles can still be opened, edited, "
                            "saved and deleted.";
const char sendWithoutDeviceText[] = "This computer has no MIDI output device, so nothing can be "
                                     "sent.";

std::optional<std::int32_t> Setting(const char* name) {
    const auto value = e2e::ReadSetting(HKEY_CURRENT_USER, name);
    return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value)) : std::nullopt;
}

TEST(ManagerPorts, WithNoMidiDeviceTheWindowOpensOnceToldAndFilesStillWork) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    const Bytes roland = Message(10, 0x41), korg = Message(20, 0x42);
    e2e::Program program =
        e2e::Launch({.workFiles = {{"two.syx", TaggedFile('+', "two", {roland, korg})},
                                   {"spare.syx", AsText(roland)}},
                     .withoutInstrument = true,
                     .freshRegistry = false});
    ASSERT_TRUE(program);
    auto told = e2e::WaitForMessageBox(program, std::string("No MIDI device"));
    ASSERT_TRUE(told);
    EXPECT_EQ(told->text, noDeviceText);
    EXPECT_EQ(told->icon, e2e::MessageBoxIcon::Information);
    ASSERT_TRUE(e2e::Answer(*told, IDOK));
    const HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    ASSERT_TRUE(e2e::WaitUntilIdle(manager));
    EXPECT_TRUE(e2e::StaysTrue([&] { return !IsIconic(manager) && NoBoxOpen(program); },
                               "the window stays open and nothing more is said",
                               e2e::Milliseconds(1000)));
    EXPECT_TRUE(e2e::ComboBoxItems(e2e::Control(manager, inputPortId)).empty());
    EXPECT_TRUE(e2e::ComboBoxItems(e2e::Control(manager, outputPortId)).empty());

    // Open, Send (which says why it cannot, each time), Delete, and minimizing and restoring.
    ASSERT_TRUE(SelectFile(manager, "* two.syx"));
    ASSERT_TRUE(e2e::Press(manager, openId));
    EXPECT_TRUE(WaitForMessageLabels(manager, {"10 bytes [Roland]", "20 bytes [Korg]"}));
    for (int attempt = 0; attempt < 2; ++attempt) {
        ASSERT_TRUE(e2e::Press(manager, sendId));
        auto box = e2e::WaitForMessageBox(program, std::string("Error"));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, sendWithoutDeviceText);
        ASSERT_TRUE(e2e::Answer(*box, IDOK));
    }
    ASSERT_TRUE(SelectFile(manager, "spare.syx"));
    ASSERT_TRUE(e2e::Press(manager, deleteId));
    auto confirm = e2e::WaitForMessageBox(program, std::string("Confirm Delete"));
    ASSERT_TRUE(confirm);
    ASSERT_TRUE(e2e::Answer(*confirm, IDYES));
    EXPECT_TRUE(e2e::WaitUntil([&] { return FileEntry(manager, "spare.syx") < 0; },
                               "the deleted file leaves the list"));
    EXPECT_FALSE(e2e::FileExists(e2e::JoinPath(program.workFolder, "spare.syx")));
    ASSERT_TRUE(e2e::Minimize(manager));
    ASSERT_TRUE(e2e::Restore(manager));
    EXPECT_TRUE(e2e::StaysTrue([&] { return !IsIconic(manager) && NoBoxOpen(program); },
                               "restored without a box", e2e::Milliseconds(500)));
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);

    // The remembered ports were missing for this run only: they are still the settings, and
    // with the device back the next start opens them, as a normal window.
    EXPECT_EQ(Setting("InputPort"), -1);
    EXPECT_EQ(Setting("OutputPort"), -1);
    Manager again = StartManager();
    ASSERT_TRUE(again.window);
    EXPECT_TRUE(e2e::WaitUntil([&] { return BothPortsOpen(again.program.instrumentLog); },
                               "both ports open"));
    EXPECT_FALSE(IsIconic(again.window));
    EXPECT_TRUE(NoBoxOpen(again.program));
    e2e::Close(again.window);
    EXPECT_EQ(e2e::WaitForExit(again.program), 0u);
}

// The failure is told once, by a box of the window; minimized, the window holds no port.
TEST(ManagerPorts, ABusyInputMinimizesOnceThenStaysClosedInTheRestoredWindow) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    e2e::Program program =
        e2e::Launch({.freshRegistry = false, .instrument = {.mode = "loopback", .failOpen = "in"}});
    ASSERT_TRUE(program);
    HWND owner = nullptr;
    const auto answerTheOneBox = [&](const char* when) {
        SCOPED_TRACE(when);
        auto box = e2e::WaitForMessageBox(program, std::string("Error"));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, kInputFailureText);
        EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Exclamation);
        owner = box->owner;
        ASSERT_TRUE(e2e::Answer(*box, IDOK));
        EXPECT_TRUE(e2e::StaysTrue([&] { return NoBoxOpen(program); }, "no second box",
                                   e2e::Milliseconds(500)));
    };
    ASSERT_NO_FATAL_FAILURE(answerTheOneBox("opening"));
    const HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    EXPECT_EQ(owner, manager);
    // The dialog loop shows the window normally once as it starts, and the window minimizes
    // itself again at once; what counts is that it settles minimized.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return bool(e2e::StaysTrue([&] { return IsIconic(manager) != FALSE; }, "minimized",
                                       e2e::Milliseconds(500)));
        },
        "minimized for half a second"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return EventCount(program.instrumentLog, "close-out") == 1; },
                               "the output it opened is closed again"));

    // Restoring tries once more; the same port failing again leaves the window restored with
    // the input closed (its list shows no choice) and the output open.
    ASSERT_TRUE(e2e::Delivered(e2e::Deliver(manager, WM_SYSCOMMAND, SC_RESTORE, 0), "restoring"));
    ASSERT_NO_FATAL_FAILURE(answerTheOneBox("restoring"));
    EXPECT_TRUE(e2e::StaysTrue([&] { return !IsIconic(manager); }, "the window stays restored",
                               e2e::Milliseconds(1000)));
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager, inputPortId)), -1);
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager, outputPortId)), 0);
    EXPECT_TRUE(PortOpen(program.instrumentLog, "out"));
    EXPECT_FALSE(PortOpen(program.instrumentLog, "in"));

    // Choosing the input in its list tries it again: one box, and the window stays.
    ASSERT_TRUE(e2e::SelectComboBoxItem(e2e::Control(manager, inputPortId), 0));
    ASSERT_NO_FATAL_FAILURE(answerTheOneBox("choosing the port"));
    EXPECT_FALSE(IsIconic(manager));
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager, inputPortId)), -1);
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
}

TEST(ManagerPorts, ARememberedPortMissingForARunIsKeptUnlessTheUserChoosesAnother) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "InputPort", 5));
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "OutputPort", 7));
    for (const bool chooseInput : {false, true}) {
        SCOPED_TRACE(chooseInput ? "input chosen" : "nothing chosen");
        Manager manager = StartManager();
        ASSERT_TRUE(manager.window);
        // The listed device stands in, shown in both lists, and the window works normally.
        EXPECT_FALSE(IsIconic(manager.window));
        EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager.window, inputPortId)), 0);
        EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(manager.window, outputPortId)), 0);
        EXPECT_TRUE(e2e::WaitUntil([&] { return BothPortsOpen(manager.program.instrumentLog); },
                                   "both ports open"));
        if (chooseInput) {
            ASSERT_TRUE(e2e::SelectComboBoxItem(e2e::Control(manager.window, inputPortId), 0));
        }
        e2e::Close(manager.window);
        EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
        EXPECT_EQ(Setting("InputPort"), chooseInput ? -1 : 5);
        EXPECT_EQ(Setting("OutputPort"), 7);
    }
}

} // namespace
