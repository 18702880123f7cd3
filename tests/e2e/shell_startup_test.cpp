// Start-up as the user meets it: the first start's welcome and file types, the tenth start's
// tooltip notice, the plain and CTRL starts, the hand-shake with the title picture and the exit
// steps.
#include "associations_e2e.h"
#include "harness/e2e.h"
#include "shell_stand_ins.h"

#include <atomic>
#include <string>
#include <thread>

namespace {

using namespace shell_e2e;

const char welcomeText[] =
    "Welcome to Quillfen Talvane 95! To get you up to speed right away, here's some advice.\n\n"
    "Be sure to use the help file - from the button in the top right of all main screens - any "
    "time if you're not sure how to do something, or why something is happening.\n\n"
    "The program is equipped with tooltips - small yellow rectangles that pop up to explain the "
    "purpose of a control that the mouse has paused over. If these annoy you, you can turn them "
    "off using the preferences dialog box, which is accessed by pressing CTRL+P from any main "
    "screen. This is also how you turn off the startup sound.\n\n"
    "If you really don't like the program, pressing CTRL+U to uninstall will automatically "
    "remove most parts of it from your system. This is explained in more detail when you press "
    "CTRL+U.\n\n"
    "In case you haven't got the idea yet - I like the CTRL key. When you hold it down, some "
    "buttons do different things. (The tooltips will explain, and indicate which controls this "
    "applies to.) This also works while the program is loading...\n\n"
    "Don't be alarmed if the program seems to disappear when switching between modules; it will "
    "be back shortly!\n\n"
    "Hope you enjoy using the program!";

const char reductionText[] =
    "Since you've now used this program a number of times, the tooltips (yellow pop-up "
    "information boxes) have been reduced in number and frequency.\n\n"
    "They are now set to the normal level. If you'd like to put them back the way they were "
    "before, or turn them off altogether, you can do so using the Preferences box (accessed by "
    "typing CTRL+P from any main screen).";

TEST(ShellStartup, TheFirstStartWelcomesTheUserAndWritesTheFirstRunValuesAndFileTypes) {
    e2e::Program program = e2e::Launch();
    ASSERT_TRUE(program);
    auto box = e2e::WaitForMessageBox(program, std::string("New user information"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, welcomeText);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Information);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box->owner, nullptr);
    // The first-run values are written before the box; the start is counted after it.
    for (const auto& value : firstRunValues)
        EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, value.name), value.value) << value.name;
    EXPECT_FALSE(e2e::ValueExists(HKEY_CURRENT_USER, e2e::kSettingsKey, "ToolTipsCountdown"));
    ASSERT_TRUE(e2e::Answer(*box, IDOK));

    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    // A system where no program owns .syx: every file type is written without a question.
    EXPECT_TRUE(e2e::FindWindowsOf(program, {.className = "#32770"}).empty())
        << e2e::DescribeWindows(program);
    associations_e2e::ExpectEntries(
        associations_e2e::ExpectedEntries(program.programPath, program.programFolder));
    EXPECT_FALSE(e2e::ValueExists(HKEY_CLASSES_ROOT, "Talvane", "OldSYXApp"));
    EXPECT_FALSE(e2e::ValueExists(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "DisableExtensions"));
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    // The Manager found no device 0 here and used the virtual instrument (the mapper) for this
    // run; the user chose no port, so the remembered device 0 is kept for when it is back.
    for (const auto& value : firstRunValues)
        EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, value.name), value.value) << value.name;
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTipsCountdown"), 9u);
    EXPECT_FALSE(e2e::ValueExists(HKEY_CURRENT_USER, e2e::kSettingsKey, "LibrarianInstrument"));
    EXPECT_FALSE(e2e::ValueExists(HKEY_CURRENT_USER, e2e::kSettingsKey, "TitleSoundDisabled"));
    EXPECT_TRUE(e2e::KeyExists(HKEY_LOCAL_MACHINE, e2e::kSettingsKey));
}

TEST(ShellStartup, TheTenthStartClosesTheTitleAndTonesTheTooltipsDown) {
    SettingsAfterStarts(9);
    TestLoaderWindow loader;
    e2e::Program program = e2e::Launch({.freshRegistry = false});
    ASSERT_TRUE(program);
    auto box = e2e::WaitForMessageBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Talvane 95");
    EXPECT_EQ(box->text, reductionText);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Information);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_EQ(loader.closes.load(), 1);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTips"), 1u);
    ASSERT_TRUE(e2e::Answer(*box, IDOK));

    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTips"), 1u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTipsCountdown"), 0u);
}

TEST(ShellStartup, TheEleventhStartCountsOnWithoutAnyNotice) {
    SettingsAfterStarts(10);
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "ToolTips", 1));
    e2e::Program program = e2e::Launch({.freshRegistry = false});
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    EXPECT_TRUE(e2e::FindWindowsOf(program, {.className = "#32770"}).empty());
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTipsCountdown"), DWORD(-1));
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTips"), 1u);
}

TEST(ShellStartup, OpenStartsLikeNoCommandLine) {
    SettingsAfterStarts(2);
    e2e::Program program = e2e::Launch({.arguments = "/open x.syx", .freshRegistry = false});
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    EXPECT_EQ(e2e::FindWindowsOf(program, {}).size(), 1u) << e2e::DescribeWindows(program);
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTipsCountdown"), 7u);
}

TEST(ShellStartup, ClosingTheManagerSavesTheSettingsAndDeletesTheStore) {
    SettingsAfterStarts(3);
    std::string scratchData = TemporaryFolder() + "~temp.syx";
    std::string scratchLengths = TemporaryFolder() + "~temp.lst";
    e2e::Program program = e2e::Launch({.freshRegistry = false});
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    RECT placed{};
    GetWindowRect(manager, &placed);
    EXPECT_EQ(placed.left, 30);
    EXPECT_EQ(placed.top, 30);
    // The user moves the window; the store files exist while the Manager is open.
    SetWindowPos(manager, nullptr, 210, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(e2e::FileExists(scratchData));
    EXPECT_TRUE(e2e::FileExists(scratchLengths));

    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "WindowX"), 210u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "WindowY"), 120u);
    EXPECT_FALSE(e2e::FileExists(scratchData));
    EXPECT_FALSE(e2e::FileExists(scratchLengths));
}

TEST(ShellStartup, TheFirstPaintedModuleWindowClosesTheTitleWindow) {
    SettingsAfterStarts(4);
    TestLoaderWindow loader;
    e2e::Program program = e2e::Launch({.freshRegistry = false});
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    // What the title loader does when it finds the module window.
    PostMessageA(manager, 0x22A5, reinterpret_cast<WPARAM>(loader.window.load()), 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return loader.closes.load() == 1; }, "title window closed"));
    EXPECT_TRUE(e2e::StaysTrue([&] { return loader.closes.load() == 1; }, "closed once",
                               e2e::Milliseconds(1200)));
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
}

TEST(ShellStartup, CtrlWithoutAChosenInstrumentStartsTheManager) {
    SettingsAfterStarts(5);
    e2e::CtrlHeld ctrl;
    ASSERT_TRUE(ctrl.held);
    e2e::Program program = e2e::Launch({.freshRegistry = false});
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
}

} // namespace
