#pragma once
#include "editor/remote_control.h"
#include "editor/time_track.h"
#include "librarian/transfer_logic.h"
#include "resources/editor_ids.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The Program Editor window: the dialog "EDITOR" as a window of class "QX_SysX3". It fetches the
// instrument's program list, shows one program on two pages (program settings, oscillator
// settings) and sends the whole program back after every accepted change. Beside it floats the
// envelope graph window, which it creates and keeps current. EditorWindowProc ends the window
// with 0 (quit), 1 (Manager) or 2 (Librarian).
INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The graph window tells the editor that a dragged envelope point changed the program.
inline constexpr UINT editorProgramChanged = WM_USER + 200;

// The timer that sends a change held back by the 200 ms rule, and the one that watches for a
// dump that does not come (the start-up check's timer is in editor_window.cpp).
inline constexpr UINT_PTR editorSendTimer = 1;
inline constexpr UINT_PTR editorFetchWatchTimer = 3;

// The window's part of the editor state; the program itself and its backup are in `editor`.
struct EditorWindowState {
    HWND graphWindow = nullptr;
    HWND tooltipWindow = nullptr;
    int fetchIndex = -1;  // while the list is fetched: the program requested last
    int answerIndex = -1; // the program whose dump is awaited
    // Single programs asked for and not answered yet: the user may choose faster than the
    // instrument answers.
    int answersOutstanding = 0;
    int listEnd = 0;             // the last program of the list
    bool oscillatorPage = false; // kept for the whole run of the program
    bool refreshing = false;
    bool handlingDump = false;
    // Dumps that came while another was handled, in the order they came.
    ReplyQueue heldDumps;
    bool handlingProgramBox = false;
    // The start-up check's message is open: the fetch is left alone until the user answers.
    bool startupMessageShowing = false;
    // A fetch was given up, and the window is on its way back to the Librarian.
    bool ending = false;
    // The window is closing: controls losing the focus as it goes are not checked.
    bool closing = false;
    // The window stands where the last module window stood; only then is its place kept.
    bool placed = false;
    DWORD lastSendTime = 0; // kept for the whole run of the program
    bool sendPending = false;
    DWORD requestTime = 0;
    std::int32_t requestLength = 0;
    DataEntryAssembly dataEntry;
    // The box that gained the focus last: the instrument's controllers act on it while another
    // program is active and the editor has no focus of its own.
    int focusedBox = 0;
};

extern EditorWindowState editorWindow;

// Ends the window with a module code (0 quit, 1 Manager, 2 Librarian).
void EndEditor(HWND window, int code);

// The parts of the window, one file each.
// Controls (editor_window_controls.cpp): the lists, the tooltips, the pages and every control
// filled from the program.
void FillEditorLists(HWND window);
void CreateEditorTooltips(HWND window);
void ShowPage(HWND window);
void RefreshAll(HWND window);
// Puts `text` in place of the program box's entry `index` and selects it.
void ReplaceProgramBoxEntry(HWND window, int index, const std::string& text);
// The effect panel for the selected effect's type: slot labels, boxes and tips, then values.
void ShowEffectPanel(HWND window);
// Reads a mapped control (or an effect box) and stores it; a change is sent.
void StoreUserInput(HWND window, int control);
void CheckUserInput(HWND window, int control);

// Commands (editor_window_commands.cpp).
void HandleEditorCommand(HWND window, int control, int notification);
void ChooseProgram(HWND window, int program);
void SendEditedProgram(HWND window);
// Sends a change that is still held back by the 200 ms rule at once.
void FlushPendingSend(HWND window);
void RemoteAdjust(HWND window, int value, int step);
// Asks for program `program` and notes when, for the fetch watch.
void RequestEditorProgram(int program);
// Has the graph window repaint the program.
void InvalidateGraph();
