#include "editor/editor_window.h"

#include "editor/control_map.h"
#include "editor/control_values.h"
#include "editor/editor_state.h"
#include "editor/effect_tables.h"
#include "editor/effect_type.h"
#include "editor/effect_values.h"
#include "editor/multisounds.h"
#include "editor/program_box.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"
#include "shell/tooltips.h"

#include <optional>
#include <string>

namespace {

struct ControlRange {
    int first;
    int last;
};

// The two pages: the controls of each, by their ID ranges (controls, then labels and frames).
const ControlRange programPage[] = {
    {IDC_EDITOR_MODE_SINGLE, IDC_EDITOR_CUTOFF_MG_SYNC},
    {IDC_EDITOR_JOYSTICK_MARK_BOTTOM, IDC_EDITOR_EFFECT_OPTIONS_GROUP}};
const ControlRange oscillatorPage[] = {
    {IDC_EDITOR_OSCILLATOR_1_VIEW, IDC_EDITOR_OSC_AMP_RELEASE_TRACK},
    {IDC_EDITOR_OSC_CUTOFF_GROUP, IDC_EDITOR_OSC_OCTAVE_LABEL}};

// The tips of the controls that are not in the control map.
const TipEntry editorTips[] = {
    {IDC_EDITOR_EFFECT_1_VIEW, "View settings for Effect 1"},
    {IDC_EDITOR_EFFECT_2_VIEW, "View settings for Effect 2"},
    {IDC_EDITOR_OSCILLATOR_1_VIEW, "View settings for Oscillator 1"},
    {IDC_EDITOR_OSCILLATOR_2_VIEW, "View settings for Oscillator 2"},
    {IDC_EDITOR_REVERT, "Revert to old version of this program"},
    {IDC_EDITOR_CLEAR, "Start with a blank program"},
    {IDC_EDITOR_PROGRAM, "Select program to edit"},
    {IDC_EDITOR_PAGE, "Change between the two pages of program settings"},
    {IDC_EDITOR_HELP, "Click for help and useful advice"},
    {IDC_EDITOR_ABOUT, "Show program information"},
    {IDC_EDITOR_MANAGER, "Enter general Brevikorlando"},
    {IDC_EDITOR_LIBRARIAN, "Enter librarian"},
};

// Boxes that only a double program uses.
const int oscillator2Controls[] = {IDC_EDITOR_OSCILLATOR_2_VIEW, IDC_EDITOR_OSC_INTERVAL,
                                   IDC_EDITOR_OSC_DETUNE, IDC_EDITOR_OSC_DELAY};

constexpr int editTextRoom = 100;

bool IsEffectBox(int control) {
    return control >= IDC_EDITOR_EFFECT_PARAMETER_1 &&
           control < IDC_EDITOR_EFFECT_PARAMETER_1 + effectSlotCount;
}

bool IsComboKind(int kind) {
    return kind == controlEffectType || kind == controlMultisound || kind == controlMultisoundSpare;
}

bool IsButtonKind(int kind) {
    return IsRadioKind(kind) || kind == controlOutput || kind == controlBit0 ||
           kind == controlBit1 || kind == controlBit7 || kind == controlMgEnable ||
           kind == controlParallel;
}

// What the window shows in one control, in the terms of the parameter rules.
ControlState ReadControl(HWND window, int control, int kind) {
    ControlState state;
    const HWND item = GetDlgItem(window, control);
    state.enabled = IsWindowEnabled(item) != FALSE;
    state.visible = IsWindowVisible(item) != FALSE;
    if (IsTimeTrackKind(kind)) {
        state.tracking =
            SwitchState(static_cast<int>(SendMessageA(item, timeTrackGetTracking, 0, 0)));
        state.velocity =
            SwitchState(static_cast<int>(SendMessageA(item, timeTrackGetVelocity, 0, 0)));
    } else if (IsComboKind(kind)) {
        state.selection = static_cast<int>(SendMessageA(item, CB_GETCURSEL, 0, 0));
    } else if (IsButtonKind(kind)) {
        state.ticked = SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
    } else {
        char text[editTextRoom] = {};
        GetWindowTextA(item, text, sizeof text);
        state.text = text;
    }
    return state;
}

// Puts what the rules changed into the control; text is set only when it differs, so the caret
// of a box being typed in stays where it is.
void WriteControl(HWND window, int control, int kind, const ControlState& before,
                  const ControlState& after) {
    const HWND item = GetDlgItem(window, control);
    if (IsTimeTrackKind(kind)) {
        SendMessageA(item, timeTrackSetStates, static_cast<WPARAM>(after.tracking + 1),
                     static_cast<LPARAM>(after.velocity + 1));
    } else if (IsComboKind(kind)) {
        if (after.selection != before.selection)
            SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(after.selection), 0);
    } else if (IsButtonKind(kind)) {
        if (after.ticked != before.ticked)
            SendMessageA(item, BM_SETCHECK, after.ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (after.text != before.text) {
        SetWindowTextA(item, after.text.c_str());
    }
    if (after.enabled != before.enabled)
        EnableWindow(item, after.enabled);
}

void ShowMessage(HWND window, int control, const InputMessage& message) {
    switch (message.style) {
    case MessageStyle::inputError:
        ShowMessageBox(window, message.text.c_str(), message.caption.c_str(), MB_ICONSTOP | MB_OK);
        SetFocus(GetDlgItem(window, control));
        break;
    case MessageStyle::programError:
        ShowMessageBox(window, message.text.c_str(), message.caption.c_str(), MB_OK);
        break;
    case MessageStyle::fatal:
        FatalAppExitA(0, message.text.c_str());
        break;
    }
}

void ShowMappedControl(HWND window, const ControlMapEntry& entry) {
    const ControlState before = ReadControl(window, entry.controlId, entry.kind);
    ControlState after = before;
    const std::optional<InputMessage> message =
        ShowControl(entry, editor.program, editor.selectedOscillator, after);
    WriteControl(window, entry.controlId, entry.kind, before, after);
    if (message)
        ShowMessage(window, entry.controlId, *message);
}

// The six effect boxes: the values of the selected effect; on the program settings page also the
// slot labels, the tips, and the boxes of empty slots hidden.
void ShowEffectSlots(HWND window) {
    const bool programPageShowing = !editorWindow.oscillatorPage;
    for (int slot = 1; slot <= effectSlotCount; ++slot) {
        const int box = IDC_EDITOR_EFFECT_PARAMETER_1 + slot - 1;
        const EffectSlot& layout = EffectSlotOf(editor.program, editor.selectedEffect, slot);
        if (programPageShowing) {
            SetDlgItemTextA(window, IDC_EDITOR_EFFECT_PARAMETER_1_LABEL + slot - 1, layout.label);
            ShowWindow(GetDlgItem(window, box), layout.label[0] != '\0' ? SW_SHOW : SW_HIDE);
            UpdateTip(window, box, layout.help);
        }
        ControlState state;
        state.text = ReadControl(window, box, controlNumber).text;
        const std::string before = state.text;
        const std::optional<InputMessage> message =
            ShowEffectValue(editor.program, editor.selectedEffect, slot, state);
        if (state.text != before)
            SetDlgItemTextA(window, box, state.text.c_str());
        if (message)
            ShowMessage(window, box, *message);
    }
}

void FollowStore(HWND window, int control, const StoreOutcome& outcome) {
    if (outcome.message)
        ShowMessage(window, control, *outcome.message);
    if (outcome.panBox != 0) {
        const HWND pan = GetDlgItem(window, outcome.panBox);
        EnableWindow(pan, outcome.panBoxEnabled);
        if (outcome.panBoxEnabled)
            SetFocus(pan);
    }
    if (outcome.changed)
        SendEditedProgram(window);
    if (outcome.redisplayAll) {
        RefreshAll(window);
    } else if (outcome.effectTypesApplied) {
        ShowEffectPanel(window);
        InvalidateGraph();
    }
}

void ShowRanges(HWND window, const ControlRange (&ranges)[2], int show) {
    for (const ControlRange& range : ranges) {
        for (int control = range.first; control <= range.last; ++control) {
            const HWND item = GetDlgItem(window, control);
            if (item)
                ShowWindow(item, show);
        }
    }
}

void ShowProgramBoxText(HWND window) {
    const std::string text = ProgramBoxText(editor.currentProgram, editor.program.name);
    const LRESULT entries = SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_GETCOUNT, 0, 0);
    if (editor.currentProgram < entries) {
        // The list keeps the name the program has now, as the instrument has it after the send.
        ReplaceProgramBoxEntry(window, editor.currentProgram, text);
    } else {
        SetDlgItemTextA(window, IDC_EDITOR_PROGRAM, text.c_str());
    }
}

} // namespace

void ReplaceProgramBoxEntry(HWND window, int index, const std::string& text) {
    SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_DELETESTRING, index, 0);
    SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_INSERTSTRING, index,
                        reinterpret_cast<LPARAM>(text.c_str()));
    SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_SETCURSEL, index, 0);
}

void FillEditorLists(HWND window) {
    SendDlgItemMessageA(window, IDC_EDITOR_PROGRAM, CB_RESETCONTENT, 0, 0);
    for (const char* name : multisoundNames)
        SendDlgItemMessageA(window, IDC_EDITOR_OSC_MULTISOUND, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(name));
    for (const EffectType& type : effectTypes) {
        for (int combo : {IDC_EDITOR_EFFECT_1_TYPE, IDC_EDITOR_EFFECT_2_TYPE})
            SendDlgItemMessageA(window, combo, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(type.name));
    }
}

void CreateEditorTooltips(HWND window) {
    editorWindow.tooltipWindow = CreateModuleTooltips(window);
    for (const ControlMapEntry& entry : controlMap)
        AddTip(window, entry.controlId, entry.tooltip);
    // The effect boxes get the help of their slot when an effect type is shown.
    for (int slot = 0; slot < effectSlotCount; ++slot)
        AddTip(window, IDC_EDITOR_EFFECT_PARAMETER_1 + slot, "");
    AddTips(window, editorTips);
}

void ShowPage(HWND window) {
    const bool oscillators = editorWindow.oscillatorPage;
    ShowRanges(window, oscillators ? programPage : oscillatorPage, SW_HIDE);
    ShowRanges(window, oscillators ? oscillatorPage : programPage, SW_SHOW);
    SetDlgItemTextA(window, IDC_EDITOR_PAGE,
                    oscillators ? "Program settings" : "Oscillator settings");
}

void ShowEffectPanel(HWND window) {
    const bool refreshing = editorWindow.refreshing;
    editorWindow.refreshing = true;
    ShowEffectSlots(window);
    editorWindow.refreshing = refreshing;
}

void RefreshAll(HWND window) {
    editorWindow.refreshing = true;
    ShowProgramBoxText(window);
    const bool doubleMode = editor.program.oscMode == 1;
    for (int control : oscillator2Controls)
        EnableWindow(GetDlgItem(window, control), doubleMode);
    if (!doubleMode)
        editor.selectedOscillator = 1;
    CheckRadioButton(window, IDC_EDITOR_OSCILLATOR_1_VIEW, IDC_EDITOR_OSCILLATOR_2_VIEW,
                     IDC_EDITOR_OSCILLATOR_1_VIEW - 1 + editor.selectedOscillator);
    CheckRadioButton(window, IDC_EDITOR_EFFECT_1_VIEW, IDC_EDITOR_EFFECT_2_VIEW,
                     IDC_EDITOR_EFFECT_1_VIEW - 1 + editor.selectedEffect);
    // A type that cannot run beside the other effect's gives way to "No Effect", which then
    // applies like any type; the control map shows the new type below.
    if (ApplyEffectType(editor.program, editor.selectedEffect) ==
        EffectTypeResult::replacedByNoEffect)
        ApplyEffectType(editor.program, editor.selectedEffect);
    ShowEffectSlots(window);
    for (const ControlMapEntry& entry : controlMap)
        ShowMappedControl(window, entry);
    editorWindow.refreshing = false;
    InvalidateGraph();
}

void StoreUserInput(HWND window, int control) {
    if (IsEffectBox(control)) {
        const ControlState box = ReadControl(window, control, controlNumber);
        FollowStore(window, control,
                    StoreEffectValue(editor.program, editor.selectedEffect,
                                     control - IDC_EDITOR_EFFECT_PARAMETER_1 + 1, box));
        return;
    }
    const ControlMapEntry* entry = FindControlEntry(control);
    if (!entry)
        return;
    const ControlState state = ReadControl(window, control, entry->kind);
    FollowStore(window, control,
                StoreControl(editor.program, control, state, editor.selectedOscillator));
}

void CheckUserInput(HWND window, int control) {
    std::optional<InputMessage> message;
    if (IsEffectBox(control)) {
        const ControlState box = ReadControl(window, control, controlNumber);
        message = CheckEffectValue(editor.program, editor.selectedEffect,
                                   control - IDC_EDITOR_EFFECT_PARAMETER_1 + 1, box);
    } else if (const ControlMapEntry* entry = FindControlEntry(control)) {
        message = CheckControl(control, ReadControl(window, control, entry->kind));
    }
    if (message)
        ShowMessage(window, control, *message);
}
