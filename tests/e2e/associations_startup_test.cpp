// The file associations as a user meets them at start-up: a .syx that another program owns (Yes,
// then Uninstall; No), and a program folder that moved. (A fresh system's first start is in
// shell_startup_test.)
#include "associations_e2e.h"
#include "harness/e2e.h"
#include "manager_e2e.h"

#include <string>

namespace {

using namespace associations_e2e;

const char ownedText[] =
    "Some other program is currently handling .SYX files.Unless this changes, Talvane won't get "
    "to deal with double-clicks or right-button clicks on these files (which represent standard "
    "System Exclusive data).\n\n"
    "If you'd like Talvane to handle these files, click Yes now (recommended). If you'd like to "
    "continue using the other program to handle .SYX files, click No.\n\n"
    "Would you like Talvane to handle .SYX files?";

const char uninstalledText[] =
    "The automated uninstall procedure is completed.\n\n"
    "If you have changed your mind and would like to re-install the program, then re-run "
    "Talvane95.exe immediately after OKing this box.\n\n"
    "If you still intend to remove the program, you'll need to delete all its files using "
    "Windows: Talvane95.exe, Talvane95.dat, Talvane95.chm, *.QXBank, *.QXInstrument, and any "
    "*.syx files that you don't still require. I'm sorry this program wasn't useful for you.\n\n"
    "Thanks for trying out Talvane 95.";

// A user who has run the program before, on a system where another program owns .syx.
void SyxOwnedByAnotherProgram() {
    ASSERT_NO_FATAL_FAILURE(manager_e2e::PresetSettings());
    ASSERT_TRUE(e2e::WriteString(HKEY_CLASSES_ROOT, ".syx", "", kOtherOwner));
}

// Starts the program and answers the consent box, after checking it.
e2e::Program StartAndAnswerConsent(int answer) {
    e2e::Program program = e2e::Launch({.freshRegistry = false});
    auto box = e2e::WaitForMessageBox(program, std::string(kConsentCaption));
    if (!box)
        return program;
    EXPECT_EQ(box->text, ownedText);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Exclamation);
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box->owner, nullptr);
    // Nothing is written while the user decides.
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, ".syx", ""), kOtherOwner);
    EXPECT_FALSE(e2e::KeyExists(HKEY_CLASSES_ROOT, ".QXBank"));
    EXPECT_TRUE(e2e::Answer(*box, answer));
    return program;
}

TEST(AssociationsStartup, YesTakesSyxOverAndUninstallGivesItBackAndRemovesEverything) {
    ASSERT_NO_FATAL_FAILURE(SyxOwnedByAnotherProgram());
    e2e::Program program = StartAndAnswerConsent(IDYES);
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    ExpectEntries(ExpectedEntries(program.programPath, program.programFolder));
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, "Talvane", "OldSYXApp"), kOtherOwner);
    // A verb added under the program's own key later goes with it.
    ASSERT_TRUE(e2e::WriteString(HKEY_CLASSES_ROOT, "Talvane\\Shell\\Print\\command", "", "p"));

    HWND uninstall = OpenWithCtrl(program, manager, 'U', "Uninstall");
    ASSERT_TRUE(uninstall);
    EXPECT_EQ(GetWindow(uninstall, GW_OWNER), manager);
    ASSERT_TRUE(e2e::Press(uninstall, IDOK));
    auto done = e2e::WaitForMessageBox(program, std::string("Uninstall completed"));
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text, uninstalledText);
    EXPECT_EQ(done->icon, e2e::MessageBoxIcon::Information);
    EXPECT_EQ(done->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(done->owner, uninstall);
    ASSERT_TRUE(e2e::Answer(*done, IDOK));
    // The uninstall ends the program; the exit recreates nothing.
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, ".syx", ""), kOtherOwner);
    for (const char* key :
         {"Talvane", ".QXInstrument", "TalvaneInstrument", ".QXBank", "TalvaneBank", ".syx\\Shell"})
        EXPECT_FALSE(e2e::KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        EXPECT_FALSE(e2e::KeyExists(root, "Software\\Quillfen"));
}

TEST(AssociationsStartup, NoLeavesSyxAloneForGoodAndEnterInUninstallCancels) {
    ASSERT_NO_FATAL_FAILURE(SyxOwnedByAnotherProgram());
    e2e::Program program = StartAndAnswerConsent(IDNO);
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    const auto refusal = e2e::ReadValue(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "DisableExtensions");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->type, DWORD(REG_NONE));
    EXPECT_TRUE(refusal->data.empty());
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, ".syx", ""), kOtherOwner);
    EXPECT_FALSE(e2e::KeyExists(HKEY_CLASSES_ROOT, "Talvane"));
    const auto entries = ExpectedEntries(program.programPath, program.programFolder);
    ExpectEntries(entries, ".QX");
    ExpectEntries(entries, "TalvaneInstrument");
    ExpectEntries(entries, "TalvaneBank");

    // CTRL+U, then Enter: Cancel is the default button, nothing is removed.
    HWND uninstall = OpenWithCtrl(program, manager, 'U', "Uninstall");
    ASSERT_TRUE(uninstall);
    EXPECT_EQ(LOWORD(SendMessageA(uninstall, DM_GETDEFID, 0, 0)), IDCANCEL);
    ASSERT_TRUE(e2e::WaitUntilIdle(uninstall));
    EXPECT_TRUE(
        e2e::SaveScreenshot(uninstall, e2e::JoinPath(e2e::ScratchFolder(), "uninstall.bmp")));
    ASSERT_TRUE(e2e::PressKey(uninstall, VK_RETURN));
    ASSERT_TRUE(e2e::WaitUntilGone(uninstall));
    EXPECT_TRUE(IsWindow(manager));
    ExpectEntries(entries, "TalvaneBank");
    EXPECT_TRUE(e2e::KeyExists(HKEY_CURRENT_USER, e2e::kSettingsKey));
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);

    // The question does not come back.
    e2e::Program again = e2e::Launch({.freshRegistry = false});
    ASSERT_TRUE(again);
    manager = e2e::WaitForWindowOf(again, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    EXPECT_TRUE(e2e::FindWindowsOf(again, {.className = "#32770"}).empty())
        << e2e::DescribeWindows(again);
    // Uninstall leaves the other program's .syx as it is.
    uninstall = OpenWithCtrl(again, manager, 'U', "Uninstall");
    ASSERT_TRUE(uninstall);
    ASSERT_TRUE(e2e::Press(uninstall, IDOK));
    auto done = e2e::WaitForMessageBox(again, std::string("Uninstall completed"));
    ASSERT_TRUE(done && e2e::Answer(*done, IDOK));
    EXPECT_EQ(e2e::WaitForExit(again), 0u);
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, ".syx", ""), kOtherOwner);
    EXPECT_FALSE(e2e::KeyExists(HKEY_CLASSES_ROOT, "TalvaneBank"));
}

TEST(AssociationsStartup, AMovedProgramRewritesSilentlyAndIntactAssociationsAreLeftAlone) {
    ASSERT_NO_FATAL_FAILURE(SyxOwnedByAnotherProgram());
    {
        e2e::Program program = StartAndAnswerConsent(IDYES);
        ASSERT_TRUE(program);
        HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
        ASSERT_TRUE(manager);
        e2e::Close(manager);
        EXPECT_EQ(e2e::WaitForExit(program), 0u);
    }
    // The same program from another folder.
    e2e::Program moved = e2e::Launch({.separateProgramFolder = true, .freshRegistry = false});
    ASSERT_TRUE(moved);
    HWND manager = e2e::WaitForWindowOf(moved, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    EXPECT_TRUE(e2e::FindWindowsOf(moved, {.className = "#32770"}).empty())
        << e2e::DescribeWindows(moved);
    ExpectEntries(ExpectedEntries(moved.programPath, moved.programFolder));
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, "Talvane", "OldSYXApp"), kOtherOwner);
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(moved), 0u);

    // Found intact, nothing is written at all, not even the library types.
    ASSERT_TRUE(e2e::WriteString(HKEY_CLASSES_ROOT, "TalvaneBank", "", "changed by the user"));
    ASSERT_TRUE(e2e::DeleteKeyTree(HKEY_CLASSES_ROOT, ".QXInstrument"));
    e2e::Program intact = e2e::Launch({.separateProgramFolder = true, .freshRegistry = false});
    ASSERT_TRUE(intact);
    manager = e2e::WaitForWindowOf(intact, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(intact), 0u);
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, "TalvaneBank", ""), "changed by the user");
    EXPECT_FALSE(e2e::KeyExists(HKEY_CLASSES_ROOT, ".QXInstrument"));
}

} // namespace
