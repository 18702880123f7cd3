// The editor window while a box of its own is open: a request string with an error shows one in
// the request step, and the instrument's dumps and the timers come in under it.
#include "support/windows_test_support.h"

#include "editor/editor_window.h"
#include "librarian/instrument_definition.h"
#include "librarian/program_messages.h"
#include "librarian/string_language.h"
#include "shell/module_windows.h"
#include "shell/shell_state.h"

namespace {

LRESULT CALLBACK StandInEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditorWindowProc(window, message, wParam, lParam)
               ? 0
               : DefWindowProcA(window, message, wParam, lParam);
}

TEST(EditorWindowBoxes, DumpsAreHeldAndTheFetchWatchWaitsWhileABoxIsOpen) {
    InstrumentDefinition& definition = instrument.definition = {};
    definition.rangeEnd = 1;
    definition.programSize = 170;
    SetFieldText(definition.requestString, "F0 [#00]");
    const HWND window = wintest::CreateStandInWindow(
        "Editor", StandInEditor, {{"COMBOBOX", IDC_EDITOR_PROGRAM, CBS_DROPDOWN}});
    shell.currentModuleWindow = window;
    editorWindow.listEnd = 1;
    editorWindow.fetchIndex = editorWindow.answerIndex = 0;
    const std::string dump(170, '\0');
    const auto deliver = [&] {
        SendMessageA(window, replyMessage, dump.size(), reinterpret_cast<LPARAM>(dump.data()));
    };
    bool watchFired = false;
    wintest::DialogAnswers boxes({
        // Program 1's dump comes while the box of the request for it is open.
        {stringErrorCaption,
         [&](HWND box) {
             deliver();
             wintest::Press(box, IDOK);
         }},
        // The list is complete and program 0 is asked for in full; its request's box stays open
        // longer than a dump may take.
        {stringErrorCaption,
         [&](HWND box) {
             Sleep(2300);
             SendMessageTimeoutA(window, WM_TIMER, editorFetchWatchTimer, 0, 0, 1000, nullptr);
             if (HWND stalled = FindWindowA("#32770", "Program didn't arrive")) {
                 watchFired = true;
                 wintest::Press(stalled, IDOK);
             }
             wintest::Press(box, IDOK);
         }},
    });
    deliver();
    wintest::PumpMessages();
    boxes.Finish();
    EXPECT_EQ(wintest::ComboBoxLines(GetDlgItem(window, IDC_EDITOR_PROGRAM)),
              (std::vector<std::string>{"00 ", "01 "}));
    EXPECT_FALSE(watchFired);
    // The request went out as its box closed: its dump is not overdue yet.
    wintest::MessageBoxWatch watch;
    SendMessageA(window, WM_TIMER, editorFetchWatchTimer, 0);
    EXPECT_TRUE(watch.Take().empty());
    DestroyWindow(window);
}

} // namespace
