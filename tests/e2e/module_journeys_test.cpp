// Journeys across the modules a user makes in one sitting: Help and About from the Librarian, its
// options dialog and the Editor; and the Editor coming back on the page it was left on.
#include "editor_e2e.h"
#include "librarian_e2e.h"
#include "shell_stand_ins.h"

#include <string>

namespace {

// Help and About have the Manager's control numbers in every module window.
using manager_e2e::aboutId;
using manager_e2e::helpId;
constexpr int kAboutOkId = 300;
constexpr int kEditorLibrarianId = 3000;

e2e::LaunchOptions WithM1Definition() {
    return {.programFiles = {{"Korg M1.QXInstrument", librarian_e2e::DefinitionFile({})},
                             {"Mine.QXBank", librarian_e2e::BankFile()}},
            .freshRegistry = false,
            .instrument = {.mode = "m1"}};
}

// Enters the Editor from the Librarian and waits until its list and first program are in: the
// Editor fetches them again at every entry.
HWND EnterEditor(const e2e::Program& program, HWND librarian) {
    const int before = editor_e2e::DumpsSent(program);
    if (!e2e::WaitUntilIdle(librarian) || !e2e::Press(librarian, librarian_e2e::editorId))
        return nullptr;
    HWND window = e2e::WaitForWindowOf(program, {.className = editor_e2e::kEditorClass});
    if (!window)
        return nullptr;
    // WaitUntilEditing wants an Editor; this one borrows the program's log only.
    editor_e2e::Editor view;
    view.program.instrumentLog = program.instrumentLog;
    view.window = window;
    EXPECT_TRUE(editor_e2e::WaitUntilEditing(view, before + 101));
    return window;
}

struct Place {
    const char* name;
    int helpContext;
    const char* aboutTitle; // null where there is no About button
};

// Help opens the one viewer at the place's context; About is titled by the module and closes
// with OK.
void CheckHelpAndAbout(const e2e::Program& program, const shell_e2e::TestNotepad& notepad,
                       HWND window, const Place& place) {
    SCOPED_TRACE(place.name);
    ASSERT_TRUE(e2e::WaitUntilIdle(window));
    const std::string line = "Help context " + std::to_string(place.helpContext);
    const e2e::Delivery pressed = e2e::Deliver(
        window, WM_COMMAND, MAKEWPARAM(helpId, BN_CLICKED),
        reinterpret_cast<LPARAM>(e2e::Control(window, helpId)), e2e::Milliseconds(10000));
    EXPECT_NE(pressed, e2e::Delivery::Failed) << e2e::Name(pressed);
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return notepad.Text().find(line) != std::string::npos; }, line));
    EXPECT_TRUE(e2e::WaitForWindowOf(program, {.className = "HH Parent"}));
    EXPECT_EQ(e2e::FindWindowsOf(program, {.className = "HH Parent"}).size(), 1u);
    if (!place.aboutTitle)
        return;
    ASSERT_TRUE(e2e::Press(window, aboutId));
    HWND about = e2e::WaitForWindowOf(
        program, {.className = "#32770", .caption = std::string(place.aboutTitle)});
    ASSERT_TRUE(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), window);
    ASSERT_TRUE(e2e::Press(about, kAboutOkId));
    ASSERT_TRUE(e2e::WaitUntilGone(about));
}

TEST(ModuleJourneys, HelpAndAboutFromTheLibrarianItsOptionsAndTheEditor) {
    const Place places[] = {
        {"Librarian options", 4, nullptr},
        {"Librarian", 2, "About QX Program Librarian 95"},
        {"Editor", 3, "About QX Program Editor 95"},
    };
    shell_e2e::TestNotepad notepad;
    ASSERT_NO_FATAL_FAILURE(librarian_e2e::PresetSettings(0));
    e2e::Program program = e2e::Launch(WithM1Definition());
    ASSERT_TRUE(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    ASSERT_TRUE(e2e::WaitUntilIdle(manager));
    {
        e2e::CtrlHeld ctrl(manager);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(manager, manager_e2e::librarianId));
    }
    HWND options = e2e::WaitForWindowOf(
        program, {.className = "#32770", .caption = librarian_e2e::kOptionsCaption});
    ASSERT_TRUE(options);
    ASSERT_NO_FATAL_FAILURE(CheckHelpAndAbout(program, notepad, options, places[0]));
    ASSERT_TRUE(e2e::Press(options, IDOK));
    HWND librarian = e2e::WaitForWindowOf(program, {.className = "QX_SysX2"});
    ASSERT_TRUE(librarian);
    ASSERT_NO_FATAL_FAILURE(CheckHelpAndAbout(program, notepad, librarian, places[1]));
    HWND editor = EnterEditor(program, librarian);
    ASSERT_TRUE(editor);
    ASSERT_NO_FATAL_FAILURE(CheckHelpAndAbout(program, notepad, editor, places[2]));

    e2e::Close(editor);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
}

TEST(ModuleJourneys, TheEditorOpensOnThePageItWasLeftOn) {
    using editor_e2e::ampLevelId;
    using editor_e2e::pageId;
    ASSERT_NO_FATAL_FAILURE(librarian_e2e::PresetSettings());
    librarian_e2e::Librarian librarian = librarian_e2e::StartLibrarian(WithM1Definition());
    ASSERT_TRUE(librarian.window);
    HWND editor = EnterEditor(librarian.program, librarian.window);
    ASSERT_TRUE(editor);
    ASSERT_TRUE(e2e::Press(editor, pageId));
    EXPECT_TRUE(IsWindowVisible(e2e::Control(editor, ampLevelId)));

    ASSERT_TRUE(e2e::Press(editor, kEditorLibrarianId));
    ASSERT_TRUE(e2e::WaitUntilGone(editor));
    HWND back = e2e::WaitForWindowOf(librarian.program, {.className = "QX_SysX2"});
    ASSERT_TRUE(back);
    editor = EnterEditor(librarian.program, back);
    ASSERT_TRUE(editor);
    EXPECT_EQ(e2e::Text(e2e::Control(editor, pageId)), "Program settings");
    EXPECT_TRUE(IsWindowVisible(e2e::Control(editor, ampLevelId)));
    EXPECT_FALSE(IsWindowVisible(e2e::Control(editor, editor_e2e::aftertouchCutoffId)));

    e2e::Close(editor);
    EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
}

} // namespace
