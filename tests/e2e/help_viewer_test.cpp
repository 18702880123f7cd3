// Help and About from the windows that have them: the About box is titled by its module and only
// OK closes it; each Help button opens the HTML Help viewer at its own context (the debug trace
// records the number), the viewer outlives a module switch and closes with the program.
#include "harness/e2e.h"
#include "manager_e2e.h"
#include "librarian_entry.h"
#include "shell_stand_ins.h"

#include <string>

namespace {

using namespace manager_e2e;

constexpr const char* kViewerClass = "HH Parent";

// Presses a Help button; the viewer is built while the program handles the click.
void PressHelp(HWND window, int id) {
    const e2e::Delivery pressed =
        e2e::Deliver(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(e2e::Control(window, id)), e2e::Milliseconds(10000));
    EXPECT_NE(pressed, e2e::Delivery::Failed) << e2e::Name(pressed);
}

bool TraceHas(const shell_e2e::TestNotepad& notepad, const std::string& line) {
    return notepad.Text().find(line) != std::string::npos;
}

TEST(HelpViewer, AboutIsTitledByItsModuleAndEachHelpButtonOpensItsContextForGood) {
    shell_e2e::TestNotepad notepad;
    ASSERT_NO_FATAL_FAILURE(PresetSettings(/*librarianInstrument=*/0));
    ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime1", 1));
    Manager manager = StartManager({.programFiles = {ShippedM1Definition()}});
    ASSERT_TRUE(manager.window);

    ASSERT_TRUE(e2e::Press(manager.window, aboutId));
    HWND about = e2e::WaitForWindowOf(
        manager.program,
        {.className = "#32770", .caption = std::string("About QX Brevikorlando 95")});
    ASSERT_TRUE(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), manager.window);
    EXPECT_EQ(e2e::Text(e2e::Control(about, 300)), "OK");
    ASSERT_TRUE(e2e::WaitUntilIdle(about));
    EXPECT_TRUE(e2e::SaveScreenshot(about, e2e::JoinPath(e2e::ScratchFolder(), "about.bmp")));
    // Escape and the close box send Cancel, which the box ignores.
    EXPECT_NE(e2e::Deliver(about, WM_COMMAND, IDCANCEL, 0), e2e::Delivery::WindowGone);
    EXPECT_TRUE(e2e::StaysTrue([&] { return IsWindow(about) != FALSE; }, "the About box stays",
                               e2e::Milliseconds(300)));
    ASSERT_TRUE(e2e::Press(about, 300));
    ASSERT_TRUE(e2e::WaitUntilGone(about));

    PressHelp(manager.window, helpId);
    HWND viewer = e2e::WaitForWindowOf(manager.program, {.className = kViewerClass});
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(e2e::WaitUntil([&] { return TraceHas(notepad, "Help context 1"); }, "context 1"));
    // Owned by no module window, so that a module switch does not take it away.
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), nullptr);

    ASSERT_TRUE(e2e::Press(manager.window, createEditId));
    HWND hexEditor = e2e::WaitForWindowOf(
        manager.program, {.className = "#32770", .caption = std::string(kHexEditorCaption)});
    ASSERT_TRUE(hexEditor);
    PressHelp(hexEditor, hexHelpId);
    EXPECT_TRUE(e2e::WaitUntil([&] { return TraceHas(notepad, "Help context 5"); }, "context 5"));
    EXPECT_EQ(e2e::FindWindowsOf(manager.program, {.className = kViewerClass}).size(), 1u);
    ASSERT_TRUE(e2e::Press(hexEditor, hexCancelId));
    ASSERT_TRUE(e2e::WaitUntilGone(hexEditor));

    // The definition chosen before lets the Librarian button pass straight into the Librarian.
    ASSERT_TRUE(e2e::Press(manager.window, librarianId));
    ASSERT_TRUE(e2e::WaitUntilGone(manager.window));
    HWND librarian = librarian_entry::WaitForLibrarianWindow(manager.program);
    ASSERT_TRUE(librarian);
    EXPECT_TRUE(IsWindow(viewer));

    // Leaving the program closes the viewer; the process ends normally.
    e2e::Close(librarian);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
    EXPECT_TRUE(e2e::WaitUntilAllEnded(manager.program));
}

} // namespace
