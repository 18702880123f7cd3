#include "editor/editor_window.h"

#include "editor/editor_state.h"
#include "editor/fetch_watch.h"
#include "editor/program_box.h"
#include "editor/program_dump.h"
#include "librarian/instrument_definition.h"
#include "librarian/program_messages.h"
#include "librarian/reply_assembly.h"
#include "librarian/string_language.h"
#include "midi/midi_state.h"
#include "shell/message_box.h"
#include "shell/module_keys.h"
#include "shell/module_window_steps.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/tooltips.h"

#include <cstdio>
#include <span>
#include <string>
#include <vector>

EditorWindowState editorWindow;

namespace {

constexpr UINT_PTR startupTimer = 2;     // beside editorSendTimer (1)
constexpr UINT startupTimerPeriod = 500; // milliseconds
constexpr UINT fetchWatchPeriod = 250;
// At closing, a change still held back goes out and the port is given this long to pass it on.
constexpr DWORD closingSendWait = 1000;

const char notRespondingText[] =
    "Your Korg M1 doesn't seem to be responding.\n\nIf you'd like to wait some more, do so. (If "
    "things start to work, the Korg's LCD display will change.)\n\nIf something else is wrong, "
    "click OK immediately; you'll be returned to the librarian. Make sure of the following:\n\n"
    "you do have a Korg M1 or M1R\nthe librarian is set up to work with its programs (not "
    "combinations)\nthe Korg is set to program mode (red light on PROG button)\nthe librarian "
    "is actually working at the moment(if not, check port settings, cables, etc)";
const char notRespondingCaption[] = "Couldn't update program list";

const char stalledText[] =
    "Program %02i didn't arrive from your Korg M1, although the programs before it did.\n\n"
    "You'll be returned to the librarian. The editor doesn't ask again, because an answer that "
    "came late could be taken for the wrong program, and your next change would then overwrite "
    "a program on the Korg.\n\nCheck the cables and that the Korg is still in program mode, then "
    "enter the editor again.";
const char stalledCaption[] = "Program didn't arrive";

const char wrongSizeText[] =
    "The editor can't work with the current instrument definition: its program size is %i "
    "bytes, and a Korg M1 program dump takes 170.\n\nYou'll be returned to the librarian. Choose "
    "the Korg M1 definition there (or set its program size to 170) before entering the editor.";
const char wrongSizeCaption[] = "Program Editor";

// The editor sends whole 170-byte dumps through the definition's send string, which inserts
// programSize bytes of them: any other size would send a wrong message or read past the dump.
bool RefuseDefinition(HWND window) {
    if (instrument.definition.programSize == programDumpSize)
        return false;
    char text[sizeof wrongSizeText + 16];
    std::snprintf(text, sizeof text, wrongSizeText, instrument.definition.programSize);
    ShowMessageBox(window, text, wrongSizeCaption, MB_ICONSTOP | MB_OK);
    editorWindow.ending = true;
    EndEditor(window, moduleLibrarian);
    return true;
}

void HandleDump(HWND window, std::span<const std::uint8_t> dump);

// Dumps that came while another was handled, in the order they came; a box in one of them holds
// the rest again.
void HandleHeldDumps(HWND window) {
    std::vector<std::uint8_t> held;
    while (!editorWindow.handlingDump && TakeQueuedReply(editorWindow.heldDumps, held))
        HandleDump(window, held);
}

void ResetWindowState() {
    const bool oscillatorPage = editorWindow.oscillatorPage;
    const DWORD lastSendTime = editorWindow.lastSendTime;
    editorWindow = EditorWindowState{};
    editorWindow.oscillatorPage = oscillatorPage;
    editorWindow.lastSendTime = lastSendTime;
    editor.selectedOscillator = 1;
    editor.selectedEffect = 1;
}

void OpenEditorWindow(HWND window) {
    ResetWindowState();
    // No dump is handled until the opening is complete.
    editorWindow.handlingDump = true;
    OpenModuleWindow(window, moduleEditor, ModuleWindowPlacing::later);
    if (RefuseDefinition(window))
        return;
    FillEditorLists(window);
    CreateEditorTooltips(window);
    ShowPage(window);
    PlaceModuleWindow(window);
    editorWindow.placed = true;
    AllocateInputBuffers();
    OpenInput(window);
    OpenOutput(window);
    if (!midi.inputOpen || !midi.outputOpen)
        ShowWindow(window, SW_SHOWMINIMIZED);

    editor.currentProgram = 0;
    editorWindow.listEnd = ListFetchEnd(instrument.definition.rangeEnd);
    editorWindow.fetchIndex = 0;
    editorWindow.answerIndex = 0;
    shell.busy = true;
    ShowBusyCursor();
    EnableWindow(window, FALSE);
    RequestEditorProgram(0);
    SetTimer(window, startupTimer, startupTimerPeriod, nullptr);
    SetTimer(window, editorFetchWatchTimer, fetchWatchPeriod, nullptr);
    editorWindow.handlingDump = false;
    HandleHeldDumps(window);
}

// Waits until the output has passed on every message handed to it, or the time is up.
void WaitForOutgoingMessages(DWORD limit) {
    const DWORD start = GetTickCount();
    for (;;) {
        bool pending = false;
        for (const OutgoingMessage& message : outgoing.inFlight)
            pending = pending || !(message.header.dwFlags & MHDR_DONE);
        if (!pending || GetTickCount() - start > limit)
            return;
        Sleep(10);
    }
}

void DestroyEditorWindow(HWND window) {
    editorWindow.closing = true;
    KillTimer(window, startupTimer);
    KillTimer(window, editorFetchWatchTimer);
    if (editorWindow.sendPending) {
        FlushPendingSend(window);
        WaitForOutgoingMessages(closingSendWait);
    }
    KillTimer(window, editorSendTimer);
    LeaveModule(moduleEditor);
    CloseInput();
    CloseOutput();
    FreeInputBuffers();
    ReleaseSentMessages();
    CloseModuleWindow(window, editorWindow.placed);
    shell.busy = false;
    if (editorWindow.graphWindow)
        DestroyWindow(editorWindow.graphWindow);
    editorWindow.graphWindow = nullptr;
    ForgetModuleTooltips(editorWindow.tooltipWindow);
}

void CreateGraphWindow() {
    editorWindow.graphWindow =
        CreateWindowExA(0, "QX_SysexGraph", "", WS_POPUP | WS_VISIBLE | WS_THICKFRAME,
                        settings.GraphX, settings.GraphY, settings.GraphW, settings.GraphH, nullptr,
                        nullptr, shell.instance, nullptr);
}

// Half a second after opening: the title picture goes (once the window has painted), the user
// hears about an instrument that has not answered at all, and the graph window opens.
void StartupCheck(HWND window) {
    if (!EndTitleTimer(window, startupTimer))
        return;
    if (editorWindow.ending)
        return;
    if (editorWindow.fetchIndex == 0) {
        EnableWindow(window, TRUE);
        SetForegroundWindow(window);
        editorWindow.startupMessageShowing = true;
        ShowMessageBox(window, notRespondingText, notRespondingCaption, MB_ICONEXCLAMATION | MB_OK);
        editorWindow.startupMessageShowing = false;
        if (editorWindow.fetchIndex == 0) {
            editorWindow.ending = true;
            EndEditor(window, moduleLibrarian);
            return;
        }
        // The answers began while the message was open; the list is still coming in.
        if (editorWindow.fetchIndex > 0)
            EnableWindow(window, FALSE);
    }
    CreateGraphWindow();
}

bool AwaitingAnswer() {
    return editorWindow.fetchIndex > 0 ||
           (editorWindow.fetchIndex == -1 && editorWindow.answerIndex >= 0);
}

// A dump that has not come in time is taken as lost: the editor gives up rather than ask again.
// While a box is open the user has the word, and the dump may still be handled under it.
void WatchFetch(HWND window) {
    if (editorWindow.ending || editorWindow.startupMessageShowing || editorWindow.handlingDump ||
        !AwaitingAnswer() || OwnedBoxOpen(window))
        return;
    if (!FetchOverdue(GetTickCount() - editorWindow.requestTime, editorWindow.requestLength,
                      programDumpSize))
        return;
    const int missing = editorWindow.answerIndex;
    editorWindow.ending = true;
    editorWindow.fetchIndex = -1;
    editorWindow.answerIndex = -1;
    KillTimer(window, editorFetchWatchTimer);
    shell.busy = false;
    ShowBusyCursor();
    EnableWindow(window, TRUE);
    SetForegroundWindow(window);
    char text[sizeof stalledText + 16];
    std::snprintf(text, sizeof text, stalledText, missing);
    ShowMessageBox(window, text, stalledCaption, MB_ICONEXCLAMATION | MB_OK);
    EndEditor(window, moduleLibrarian);
}

void ListDumpReceived(HWND window, std::span<const std::uint8_t> dump) {
    if (editorWindow.fetchIndex < editorWindow.listEnd)
        RequestEditorProgram(editorWindow.fetchIndex + 1);
    const std::uint8_t* data =
        ProgramDataInReply(dump.data(), static_cast<std::int32_t>(dump.size()));
    std::span<const std::uint8_t> stored;
    if (data)
        stored = dump.subspan(static_cast<std::size_t>(data - dump.data()));
    const std::string entry = ProgramListEntry(editorWindow.answerIndex, stored,
                                               FieldText(instrument.definition.nameOffsets));
    SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(entry.c_str()));
    if (editorWindow.fetchIndex == editorWindow.listEnd) {
        editorWindow.fetchIndex = -1;
        EnableWindow(window, TRUE);
        SetForegroundWindow(window);
        SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_SETCURSEL, editor.currentProgram, 0);
        shell.busy = false;
        ShowBusyCursor();
        // The program shown is fetched in full, as if the user had chosen it.
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_PROGRAM, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_EDITOR_PROGRAM)));
    } else {
        ++editorWindow.fetchIndex;
    }
    editorWindow.answerIndex = editorWindow.fetchIndex;
}

// Dumps are paired with requests by their order alone: while the user chooses programs faster
// than the instrument answers, only the answer to the last choice is the program to edit.
void ProgramDumpReceived(HWND window, std::span<const std::uint8_t> dump) {
    if (--editorWindow.answersOutstanding > 0)
        return;
    editorWindow.answersOutstanding = 0;
    UnpackProgramDump(dump);
    RefreshAll(window);
    editorWindow.answerIndex = -1;
}

void HandleDump(HWND window, std::span<const std::uint8_t> dump) {
    if (editorWindow.ending || editorWindow.answerIndex < 0)
        return;
    editorWindow.handlingDump = true;
    if (editorWindow.fetchIndex >= 0)
        ListDumpReceived(window, dump);
    else
        ProgramDumpReceived(window, dump);
    editorWindow.handlingDump = false;
}

void DumpReceived(HWND window, WPARAM length, LPARAM bytes) {
    const auto* dump = reinterpret_cast<const std::uint8_t*>(bytes);
    if (!dump)
        return;
    // A box in the handling (a request's error) lets the next dump in before this one is done.
    if (editorWindow.handlingDump) {
        QueueReply(editorWindow.heldDumps, dump, length);
        return;
    }
    HandleDump(window, {dump, length});
    HandleHeldDumps(window);
}

void ShortMessageReceived(HWND window, DWORD packed) {
    if (editorWindow.fetchIndex != -1 || editorWindow.ending || editorWindow.refreshing)
        return;
    const RemoteAction action =
        ReadRemoteMessage(editorWindow.dataEntry, packed, instrument.definition.channel);
    switch (action.kind) {
    case RemoteActionKind::none:
        break;
    case RemoteActionKind::selectProgram: {
        const LRESULT entries = SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_GETCOUNT, 0, 0);
        if (action.program >= entries || editorWindow.handlingProgramBox)
            break;
        SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_SETCURSEL, action.program, 0);
        editorWindow.handlingProgramBox = true;
        ChooseProgram(window, action.program);
        editorWindow.handlingProgramBox = false;
        break;
    }
    case RemoteActionKind::adjust:
        RemoteAdjust(window, action.value, action.step);
        break;
    }
}

void TimerTick(HWND window, WPARAM timer) {
    switch (timer) {
    case editorSendTimer:
        KillTimer(window, editorSendTimer);
        FlushPendingSend(window);
        break;
    case startupTimer:
        StartupCheck(window);
        break;
    case editorFetchWatchTimer:
        WatchFetch(window);
        break;
    }
}

} // namespace

void EndEditor(HWND window, int code) {
    editorWindow.closing = true;
    EndDialog(window, code);
}

void RequestEditorProgram(int program) {
    editorWindow.requestLength = RequestProgram(program, midi.outputOpen);
    // The request's error boxes come before it goes out: the wait starts when it has.
    editorWindow.requestTime = GetTickCount();
}

void InvalidateGraph() {
    if (editorWindow.graphWindow)
        InvalidateRect(editorWindow.graphWindow, nullptr, TRUE);
}

INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OpenEditorWindow(window);
        return TRUE;
    case WM_COMMAND:
        HandleEditorCommand(window, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case replyMessage:
        DumpReceived(window, wParam, lParam);
        return TRUE;
    case editorProgramChanged:
        SendEditedProgram(window);
        RefreshAll(window);
        return TRUE;
    case MM_MIM_LONGDATA:
        AcceptReplyBuffer(window, reinterpret_cast<MIDIHDR*>(lParam), programDumpSize);
        return TRUE;
    case MM_MIM_DATA:
        ShortMessageReceived(window, static_cast<DWORD>(lParam));
        return TRUE;
    case MM_MOM_DONE:
        ReleaseSentMessages();
        return TRUE;
    case WM_TIMER:
        TimerTick(window, wParam);
        return TRUE;
    case WM_KEYDOWN:
        HandleModuleKeyDown(window, wParam);
        return TRUE;
    case WM_MOUSEMOVE:
        ShowBusyCursor();
        return TRUE;
    case WM_CLOSE:
        EndEditor(window, moduleQuit);
        return TRUE;
    case WM_DESTROY:
        DestroyEditorWindow(window);
        return TRUE;
    }
    return FALSE;
}
