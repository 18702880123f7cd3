// The pictures of the help manual: every window of the program as a user meets it, saved as
// BMP files into the folder TALVANE_SCREENSHOTS names (else the scratch folder). Run by
// tools/make-screenshots, which turns them into the PNG files of docs/help/images.
#include "editor_e2e.h"
#include "librarian_e2e.h"
#include "loader_e2e.h"
#include "harness/mouse.h"
#include "manager_e2e.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string PicturePath(const char* name) {
    const char* folder = std::getenv("TALVANE_SCREENSHOTS");
    return e2e::JoinPath(folder ? folder : e2e::ScratchFolder(), name);
}

// Wine paints controls that were just shown some time after the queue is idle.
void Picture(HWND window, const char* name) {
    ASSERT_TRUE(window) << name;
    ASSERT_TRUE(e2e::WaitUntilIdle(window));
    // A dialog's owner can come back in front of it when CTRL is let go.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(1000);
    EXPECT_TRUE(e2e::SaveScreenshot(window, PicturePath(name)));
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND Dialog(const e2e::Program& program, const std::string& caption) {
    return e2e::WaitForWindowOf(program, {.className = "#32770", .caption = caption});
}

void CloseDialog(HWND dialog, int button) {
    ASSERT_TRUE(e2e::Press(dialog, button));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
}

void PictureWithCtrlKey(const manager_e2e::Manager& manager, char key, const char* caption,
                        const char* name) {
    {
        e2e::CtrlHeld ctrl(manager.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::PressKey(e2e::Control(manager.window, manager_e2e::clearId), key));
    }
    HWND dialog = Dialog(manager.program, caption);
    Picture(dialog, name);
    CloseDialog(dialog, IDCANCEL);
}

TEST(Screenshots, TitleWindow) {
    // Up only while the main program starts: caught as soon as it has painted.
    for (int start = 0; start < 3; ++start) {
        loader_e2e::SettingsOfAReturningUser();
        e2e::Program program = e2e::Launch({.program = "Talvane95.exe", .freshRegistry = false});
        ASSERT_TRUE(program);
        HWND title = nullptr;
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (title = loader_e2e::FindTitle(program)) != nullptr; }, "the title"));
        Sleep(300);
        const e2e::Image image = e2e::CaptureWindow(title);
        if (IsWindowVisible(title) && image) {
            EXPECT_TRUE(e2e::SaveBitmap(image, PicturePath("title-window.bmp")));
            return;
        }
    }
    ADD_FAILURE() << "the title went before its picture was taken";
}

TEST(Screenshots, ManagerAndItsDialogs) {
    using namespace manager_e2e;
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    const std::vector<Bytes> messages = {
        {0xF0, 0x41, 0x10, 0x16, 0x12, 0x00, 0x01, 0x02, 0x03, 0xF7},
        Message(300, 0x43, 1),
        Message(170, 0x42, 2),
        {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}};
    Manager manager = StartManager(
        {.workFiles = {{"sounds.syx", TaggedFile('+', "My sounds", messages)},
                       {"bank.syx", TaggedFile('-', "Strings and pads", {Message(40, 0x42)})},
                       {"dump.syx", AsText(Message(20, 0x41))}}});
    ASSERT_TRUE(manager.window);
    ASSERT_TRUE(SelectFile(manager.window, "* sounds.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, sendId));
    ASSERT_TRUE(e2e::WaitUntil([&] { return MessageLabels(manager.window).size() == 4; },
                               "the messages come back"));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(manager.window, messagesId), 0));
    Picture(manager.window, "manager-window.bmp");

    ASSERT_TRUE(e2e::Press(manager.window, createEditId)); // "Edit": the selected message
    HWND hex = Dialog(manager.program, kHexEditorCaption);
    Picture(hex, "hex-editor.bmp");
    CloseDialog(hex, 301);

    PictureWithCtrlKey(manager, 'P', "Preferences", "preferences.bmp");
    PictureWithCtrlKey(manager, 'U', "Uninstall", "uninstall.bmp");
    ASSERT_TRUE(e2e::Press(manager.window, aboutId));
    HWND about = Dialog(manager.program, "About QX Brevikorlando 95");
    Picture(about, "about.bmp");
    CloseDialog(about, 300);
}

TEST(Screenshots, LibrarianAndItsDialogs) {
    using namespace librarian_e2e;
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Librarian librarian = StartLibrarian(
        {.programFiles = {{"Korg M1.QXInstrument", DefinitionFile({})},
                          {"My sounds.QXBank", BankFile({"Warm Pad", "Piano 16'", "Strings 1",
                                                         "Brass Hit", "Choir"})}}});
    ASSERT_TRUE(librarian.window);
    ASSERT_TRUE(e2e::Press(librarian.window, updateId));
    ASSERT_TRUE(DeviceLinesAfter(librarian, 101, InstrumentLines()));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(librarian.window, deviceListId), 6));
    Picture(librarian.window, "librarian-window.bmp");

    {
        e2e::CtrlHeld ctrl(librarian.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(librarian.window, saveId)); // "<< Save As..."
    }
    HWND saveAs = Dialog(librarian.program, "Save As...");
    Picture(saveAs, "librarian-save-as.bmp");
    CloseDialog(saveAs, IDCANCEL);

    {
        e2e::CtrlHeld ctrl(librarian.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(librarian.window, managerId)); // "Instrument..."
    }
    HWND options = Dialog(librarian.program, kOptionsCaption);
    Picture(options, "definition-dialog.bmp");
    CloseDialog(options, IDCANCEL);
}

TEST(Screenshots, EditorPagesAndGraph) {
    using namespace editor_e2e;
    PresetSettings();
    for (const char* curve : {"GraphAmp1", "GraphPitch1", "GraphCutoff1"})
        ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, curve, 1));
    Editor editor = StartEditor();
    ASSERT_TRUE(editor.window);
    ASSERT_TRUE(WaitUntilEditing(editor));
    Picture(editor.window, "editor-page1.bmp");

    // Some time-track switches on: a red (positive) upper half, a blue (negative) lower half.
    ASSERT_TRUE(e2e::Press(editor.window, pageId));
    ASSERT_TRUE(e2e::WaitUntilIdle(editor.window));
    const struct {
        int control;
        bool upper;
        int clicks;
    } switches[] = {{ampTimeTrackAttackId, true, 1}, {3250, false, 2}, {3246, true, 1}};
    for (const auto& s : switches) {
        RECT rect{};
        GetWindowRect(e2e::Control(editor.window, s.control), &rect);
        const int height = rect.bottom - rect.top;
        const POINT at{(rect.left + rect.right) / 2,
                       rect.top + (s.upper ? height / 4 : 3 * height / 4)};
        for (int click = 0; click < s.clicks; ++click) {
            const std::size_t dumps = DumpsReceived(editor.program).size();
            e2e::ClickMouse(at);
            ASSERT_TRUE(WaitForDumps(editor.program, dumps + 1));
        }
    }
    e2e::MoveMouse({0, 0}); // no tip over the picture
    Picture(editor.window, "editor-page2.bmp");
    Picture(e2e::WaitForWindowOf(editor.program, {.className = "QX_SysexGraph"}),
            "graph-window.bmp");
}

} // namespace
