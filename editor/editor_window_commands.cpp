#include "editor/editor_window.h"

#include "editor/control_map.h"
#include "editor/editor_state.h"
#include "editor/program_box.h"
#include "editor/program_dump.h"
#include "editor/remote_control.h"
#include "librarian/instrument_definition.h"
#include "librarian/program_messages.h"
#include "midi/midi_state.h"
#include "shell/about.h"
#include "shell/help.h"
#include "shell/list_controls.h"
#include "shell/shared_dialogs.h"
#include "shell/shell_state.h"

#include <string>

namespace {

// Program sends go out at most this often; changes in between go out together.
constexpr DWORD sendInterval = 200; // milliseconds
constexpr int programBoxTextRoom = 100;

// Notifications that mean the user changed or entered a control, and those that mean the user
// left it.
bool IsInputNotification(int notification) {
    switch (notification) {
    case BN_CLICKED: // time-track controls notify with 0 as well
    case CBN_SELCHANGE:
    case CBN_SETFOCUS:
    case EN_SETFOCUS:
    case EN_CHANGE:
        return true;
    default:
        return false;
    }
}

bool IsLeavingNotification(int notification) {
    return notification == EN_KILLFOCUS || notification == CBN_KILLFOCUS;
}

// A program is sent only while it is the one the instrument holds under currentProgram: not
// while the list is fetched, not while another program's dump is awaited, not after a fetch
// was given up.
bool MaySend() {
    return editorWindow.fetchIndex == -1 && editorWindow.answerIndex < 0 && !editorWindow.ending &&
           midi.outputOpen;
}

void SendNow(HWND window) {
    KillTimer(window, editorSendTimer);
    editorWindow.sendPending = false;
    if (!MaySend())
        return;
    InvalidateGraph();
    const ProgramDump dump = PackProgramDump(editor.program, instrument.definition.channel);
    editorWindow.lastSendTime = GetTickCount();
    SendProgram(editor.currentProgram, dump.data());
    SendRawMessage(programFollowUpMessage.data(),
                   static_cast<std::int32_t>(programFollowUpMessage.size()));
}

// The user edits the name in the program box's edit field: the number stays, the text stays 13
// characters long, and a changed name is sent.
void ProgramNameEdited(HWND window) {
    char typed[programBoxTextRoom] = {};
    GetDlgItemTextA(window, IDC_EDITOR_PROGRAM, typed, sizeof typed);
    const DWORD selection =
        static_cast<DWORD>(SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_GETEDITSEL, 0, 0));
    // The field showed the program's list entry until this change.
    const std::string entry = ComboText(window, IDC_EDITOR_PROGRAM, editor.currentProgram);
    const std::string programText = ProgramBoxText(editor.currentProgram, editor.program.name);
    const ProgramBoxCorrection corrected =
        CorrectProgramBoxText(entry.empty() ? programText : entry, typed, HIWORD(selection));
    if (corrected.text != typed || corrected.text != entry) {
        ReplaceProgramBoxEntry(window, editor.currentProgram, corrected.text);
        SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_SETEDITSEL, 0,
                            MAKELPARAM(corrected.caret, corrected.caret));
    }
    // Name bytes the box shows as spaces stay as they are until the name itself changes.
    if (corrected.text == programText)
        return;
    CopyNameFromBoxText(corrected.text, editor.program.name);
    SendEditedProgram(window);
}

void ProgramBoxCommand(HWND window, int notification) {
    if (editorWindow.fetchIndex != -1 || editorWindow.handlingProgramBox || editorWindow.ending)
        return;
    editorWindow.handlingProgramBox = true;
    if (notification == CBN_SELCHANGE) {
        const int selected = ComboSelection(window, IDC_EDITOR_PROGRAM);
        if (selected != CB_ERR)
            ChooseProgram(window, selected);
    } else if (notification == CBN_EDITCHANGE) {
        ProgramNameEdited(window);
    }
    editorWindow.handlingProgramBox = false;
}

void TogglePage(HWND window) {
    editorWindow.oscillatorPage = !editorWindow.oscillatorPage;
    ShowPage(window);
    if (!editorWindow.oscillatorPage)
        ShowEffectPanel(window);
}

void ReplaceProgram(HWND window, const M1Program& program) {
    editor.program = program;
    SendEditedProgram(window);
    RefreshAll(window);
}

void ClearEditedProgram(HWND window) {
    M1Program blank;
    ClearProgram(blank);
    ReplaceProgram(window, blank);
}

} // namespace

void ChooseProgram(HWND window, int program) {
    // A change still held back belongs to the program shown until now.
    FlushPendingSend(window);
    editor.currentProgram = program;
    editorWindow.answerIndex = program;
    ++editorWindow.answersOutstanding;
    RequestEditorProgram(program);
}

void SendEditedProgram(HWND window) {
    if (!MaySend())
        return;
    if (GetTickCount() - editorWindow.lastSendTime < sendInterval) {
        editorWindow.sendPending = true;
        SetTimer(window, editorSendTimer, sendInterval, nullptr);
        return;
    }
    SendNow(window);
}

void FlushPendingSend(HWND window) {
    if (editorWindow.sendPending)
        SendNow(window);
}

void RemoteAdjust(HWND window, int value, int step) {
    const HWND focus = GetFocus();
    const int control =
        focus && IsChild(window, focus) ? GetDlgCtrlID(focus) : editorWindow.focusedBox;
    const ControlMapEntry* entry = FindControlEntry(control);
    if (!entry || !AdjustByRemote(editor.program, *entry, editor.selectedOscillator, value, step))
        return;
    SendEditedProgram(window);
    RefreshAll(window);
}

void HandleEditorCommand(HWND window, int control, int notification) {
    switch (control) {
    case IDC_EDITOR_MANAGER:
        EndEditor(window, moduleManager);
        break;
    case IDC_EDITOR_LIBRARIAN:
        EndEditor(window, moduleLibrarian);
        break;
    case IDC_EDITOR_HELP:
        ShowHelp(editorHelpContext);
        break;
    case IDC_EDITOR_ABOUT:
        ShowAbout(window);
        break;
    case IDC_EDITOR_REVERT:
        ReplaceProgram(window, editor.backup);
        break;
    case IDC_EDITOR_CLEAR:
        ClearEditedProgram(window);
        break;
    case IDC_EDITOR_PAGE:
        TogglePage(window);
        break;
    case IDC_EDITOR_PROGRAM:
        ProgramBoxCommand(window, notification);
        break;
    case IDC_EDITOR_OSCILLATOR_1_VIEW:
    case IDC_EDITOR_OSCILLATOR_2_VIEW:
        if (editorWindow.refreshing || notification != BN_CLICKED)
            break;
        editor.selectedOscillator =
            IsDlgButtonChecked(window, IDC_EDITOR_OSCILLATOR_1_VIEW) ? 1 : 2;
        RefreshAll(window);
        break;
    case IDC_EDITOR_EFFECT_1_VIEW:
    case IDC_EDITOR_EFFECT_2_VIEW:
        if (editorWindow.refreshing || notification != BN_CLICKED)
            break;
        editor.selectedEffect = IsDlgButtonChecked(window, IDC_EDITOR_EFFECT_1_VIEW) ? 1 : 2;
        RefreshAll(window);
        break;
    default:
        if (notification == EN_SETFOCUS || notification == CBN_SETFOCUS)
            editorWindow.focusedBox = control;
        if (editorWindow.refreshing || editorWindow.closing)
            break;
        if (IsInputNotification(notification))
            StoreUserInput(window, control);
        else if (IsLeavingNotification(notification))
            CheckUserInput(window, control);
        break;
    }
}
