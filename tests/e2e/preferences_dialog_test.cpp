// The Preferences box (CTRL+P): the title picture's presence-only value, the tooltip levels as
// the next module window shows them, claiming .syx files again, and Cancel.
#include "associations_e2e.h"
#include "harness/e2e.h"
#include "manager_e2e.h"

#include <commctrl.h>

#include <string>

namespace {

using namespace associations_e2e;

enum { titlePictureId = 3000, titleSoundId = 3001, handleSyxId = 3004, offId = 3006 };

const char syxClaimText[] =
    "Next time you load Talvane, the program will attempt to gain control of those files with a "
    ".SYX extension.\n\n"
    "If you enter the preferences box again before that, the appropriate checkbox will still not "
    "be checked, since the program has not yet acquired control over these files. You don't need "
    "to check it again.";

bool Ticked(HWND dialog, int id) {
    return SendMessageA(e2e::Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Tick(HWND dialog, int id, bool ticked) {
    SendMessageA(e2e::Control(dialog, id), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The tooltip radio buttons: 3006 Off, 3007 Normal, 3008 Maximum.
int TickedLevel(HWND dialog) {
    int level = -1;
    for (int i = 0; i < 3; ++i)
        if (Ticked(dialog, offId + i))
            level = level == -1 ? i : 99; // more than one ticked
    return level;
}

void TickLevel(HWND dialog, int level) {
    for (int i = 0; i < 3; ++i)
        Tick(dialog, offId + i, i == level);
}

HWND OpenPreferences(const manager_e2e::Manager& manager) {
    HWND dialog = OpenWithCtrl(manager.program, manager.window, 'P', "Preferences");
    EXPECT_TRUE(dialog);
    if (dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), manager.window);
    }
    return dialog;
}

void Accept(HWND dialog) {
    ASSERT_TRUE(e2e::Press(dialog, IDOK));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
}

void Quit(manager_e2e::Manager& manager) {
    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

struct Tooltips {
    bool exists = false;
    LRESULT initialDelay = 0;
    LRESULT tools = 0;
};

Tooltips TooltipsOf(const manager_e2e::Manager& manager) {
    Tooltips found;
    const auto windows = e2e::FindWindowsOf(
        manager.program, {.className = "tooltips_class32", .visibleOnly = false});
    if (windows.empty())
        return found;
    found.exists = true;
    found.initialDelay = SendMessageA(windows.front(), TTM_GETDELAYTIME, TTDT_INITIAL, 0);
    found.tools = SendMessageA(windows.front(), TTM_GETTOOLCOUNT, 0, 0);
    return found;
}

TEST(PreferencesDialog, TitlePictureAndTooltipLevelsAreStoredAndActInTheNextWindow) {
    ASSERT_NO_FATAL_FAILURE(manager_e2e::PresetSettings());
    manager_e2e::Manager manager = manager_e2e::StartManager();
    ASSERT_TRUE(manager.window);
    const Tooltips maximum = TooltipsOf(manager);
    ASSERT_TRUE(maximum.exists);

    // As it opens: the program took the free .syx at this start, so its box is ticked and greyed.
    HWND dialog = OpenPreferences(manager);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(Ticked(dialog, titlePictureId));
    EXPECT_TRUE(Ticked(dialog, titleSoundId));
    EXPECT_TRUE(Ticked(dialog, handleSyxId));
    EXPECT_FALSE(IsWindowEnabled(e2e::Control(dialog, handleSyxId)));
    EXPECT_EQ(TickedLevel(dialog), 2);
    EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDOK);
    ASSERT_TRUE(e2e::WaitUntilIdle(dialog));
    EXPECT_TRUE(
        e2e::SaveScreenshot(dialog, e2e::JoinPath(e2e::ScratchFolder(), "preferences.bmp")));
    Tick(dialog, titlePictureId, false);
    ASSERT_NO_FATAL_FAILURE(Accept(dialog));
    const auto off = e2e::ReadValue(HKEY_CURRENT_USER, e2e::kSettingsKey, "TitleGraphicTurnedOff");
    ASSERT_TRUE(off);
    EXPECT_EQ(off->type, DWORD(REG_DWORD));
    EXPECT_TRUE(off->data.empty());
    EXPECT_FALSE(e2e::ValueExists(HKEY_CURRENT_USER, e2e::kSettingsKey, "TitleSoundDisabled"));
    EXPECT_FALSE(e2e::ValueExists(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "DisableExtensions"));

    // Cancel changes nothing, whatever was ticked.
    dialog = OpenPreferences(manager);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(Ticked(dialog, titlePictureId));
    Tick(dialog, titlePictureId, true);
    TickLevel(dialog, 0);
    ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_TRUE(e2e::ValueExists(HKEY_CURRENT_USER, e2e::kSettingsKey, "TitleGraphicTurnedOff"));
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTips"), 2u);

    // Ticked again: the value goes; tooltips off from the next window on.
    dialog = OpenPreferences(manager);
    ASSERT_TRUE(dialog);
    Tick(dialog, titlePictureId, true);
    TickLevel(dialog, 0);
    ASSERT_NO_FATAL_FAILURE(Accept(dialog));
    EXPECT_FALSE(e2e::ValueExists(HKEY_CURRENT_USER, e2e::kSettingsKey, "TitleGraphicTurnedOff"));
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTips"), 0u);
    EXPECT_TRUE(TooltipsOf(manager).exists); // this window keeps its own
    Quit(manager);

    // Each level as the next Manager window shows it.
    Tooltips normal;
    for (int level = 0; level <= 2; ++level) {
        SCOPED_TRACE(level);
        manager = manager_e2e::StartManager();
        ASSERT_TRUE(manager.window);
        const Tooltips shown = TooltipsOf(manager);
        switch (level) {
        case 0:
            EXPECT_FALSE(shown.exists);
            break;
        case 1:
            ASSERT_TRUE(shown.exists);
            EXPECT_EQ(shown.initialDelay, 1000);
            normal = shown;
            break;
        case 2:
            ASSERT_TRUE(shown.exists);
            EXPECT_NE(shown.initialDelay, 1000);
            EXPECT_GT(shown.tools, normal.tools); // the extra tips
            EXPECT_EQ(shown.tools, maximum.tools);
            break;
        }
        if (level < 2) {
            dialog = OpenPreferences(manager);
            ASSERT_TRUE(dialog);
            EXPECT_EQ(TickedLevel(dialog), level);
            TickLevel(dialog, level + 1);
            ASSERT_NO_FATAL_FAILURE(Accept(dialog));
            EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "ToolTips"), DWORD(level + 1));
        }
        Quit(manager);
    }
}

TEST(PreferencesDialog, TickingHandleSyxClearsTheRefusalAndTheNextStartAsksAgain) {
    ASSERT_NO_FATAL_FAILURE(manager_e2e::PresetSettings());
    ASSERT_TRUE(e2e::WriteString(HKEY_CLASSES_ROOT, ".syx", "", kOtherOwner));
    ASSERT_TRUE(
        e2e::WriteValue(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "DisableExtensions", REG_NONE, {}));
    manager_e2e::Manager manager = manager_e2e::StartManager();
    ASSERT_TRUE(manager.window);

    HWND dialog = OpenPreferences(manager);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(Ticked(dialog, handleSyxId));
    EXPECT_TRUE(IsWindowEnabled(e2e::Control(dialog, handleSyxId)));
    Tick(dialog, handleSyxId, true);
    ASSERT_TRUE(e2e::Press(dialog, IDOK));
    auto box = e2e::WaitForMessageBox(manager.program, std::string("Handle .SYX files"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, syxClaimText);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Information);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box->owner, dialog);
    EXPECT_FALSE(e2e::ValueExists(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "DisableExtensions"));
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, ".syx", ""), kOtherOwner);

    // Until the next start the program does not own .syx: the box is unticked and enabled.
    dialog = OpenPreferences(manager);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(Ticked(dialog, handleSyxId));
    EXPECT_TRUE(IsWindowEnabled(e2e::Control(dialog, handleSyxId)));
    ASSERT_TRUE(e2e::Press(dialog, IDCANCEL));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    Quit(manager);

    e2e::Program again = e2e::Launch({.freshRegistry = false});
    ASSERT_TRUE(again);
    auto question = e2e::WaitForMessageBox(again, std::string(kConsentCaption));
    ASSERT_TRUE(question);
    ASSERT_TRUE(e2e::Answer(*question, IDYES));
    HWND window = e2e::WaitForWindowOf(again, {.className = "QX_SysEx"});
    ASSERT_TRUE(window);
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, ".syx", ""), "Talvane");
    EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, "Talvane", "OldSYXApp"), kOtherOwner);
    e2e::Close(window);
    EXPECT_EQ(e2e::WaitForExit(again), 0u);
}

} // namespace
