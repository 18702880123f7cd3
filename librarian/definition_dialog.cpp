#include "librarian/definition_dialog.h"

#include "librarian/bank_file.h"
#include "librarian/definition_files.h"
#include "librarian/instrument_definition.h"
#include "librarian/string_language.h"
#include "midi/midi_state.h"
#include "resources/librarian_ids.h"
#include "shell/help.h"
#include "shell/list_controls.h"
#include "shell/message_box.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/tooltips.h"

#include <cstdio>
#include <string>
#include <vector>

// The "Librarian options" dialog: chooses the instrument definition the Librarian works with and
// writes definitions. Editing a model field (size, range, strings, name grabbing, notes) turns the
// choice into "Define new instrument", so that OK saves a new file; the channel and the ports are
// the user's connection and are rewritten into the chosen file.

namespace {

const char newInstrumentEntry[] = "Define new instrument";
const char correctCaption[] = "Please correct your input.";

struct DefinitionDialogState {
    bool loading = false;
    std::int32_t openingLibrarianInstrument = -1;
    CurrentInstrument openingInstrument;
    int count = 0; // definition files listed; "Define new instrument" is at this position
    HWND keptTooltipWindow = nullptr;
};

DefinitionDialogState definitionDialog;

const TipEntry definitionTips[] = {
    {IDC_DEFINITION_CHANNEL, "Selects MIDI channel device is set to"},
    {IDC_DEFINITION_MODEL, "Selects instrument make and model"},
    {IDC_DEFINITION_SIZE,
     "Specifies the size in bytes of the SysEx data that makes up one program"},
    {IDC_DEFINITION_REQUEST, "Specifies the message sent to device to request a program"},
    {IDC_DEFINITION_SEND, "Specifies the message sent to device to change a program"},
    {IDC_DEFINITION_RANGE_END, "The highest program number (#) that's supported by the device"},
    {IDC_DEFINITION_RANGE_START, "The lowest program number (#) that's supported by the device"},
    {IDC_DEFINITION_PROGRAM_OFFSET, "Amount to add to program numbers, for display only"},
    {IDC_DEFINITION_NAME_GRABBING,
     "This option enables the extracting of program names from the SysEx data"},
    {IDC_DEFINITION_NAME_OFFSETS, "Specifies the offset in SysEx of each character (0=first byte)"},
    {IDC_DEFINITION_AUTO_UPDATE,
     "Forces an update (same as button) every time the librarian is entered"},
    {IDC_DEFINITION_NOTES, "Notes about this definition"},
    {IDC_PORTS_INPUT, "Selects input MIDI port that this device is attached to"},
    {IDC_PORTS_OUTPUT, "Selects MIDI output port that the device is connected to"},
};

// The model fields: any change of their text makes the choice a new instrument.
bool IsModelField(int control) {
    switch (control) {
    case IDC_DEFINITION_SIZE:
    case IDC_DEFINITION_RANGE_START:
    case IDC_DEFINITION_RANGE_END:
    case IDC_DEFINITION_PROGRAM_OFFSET:
    case IDC_DEFINITION_REQUEST:
    case IDC_DEFINITION_SEND:
    case IDC_DEFINITION_NAME_OFFSETS:
    case IDC_DEFINITION_NOTES:
        return true;
    }
    return false;
}

// The check messages and their captions; the channel's caption has no full stop.
struct InputCheck {
    const char* text;
    const char* caption;
};

const InputCheck channelCheck = {"You must enter a channel between 1 and 16.",
                                 "Please correct your input"};
const InputCheck rangeCheck = {
    "The program range start and end numbers must both be between 0 and 2048. The start number "
    "must be less than the end number. ",
    correctCaption};
const InputCheck offsetCheck = {
    "The program offset number must be a valid number. This number will be added to the "
    "\"underlying\" program number for display purposes only. It has no effect on program "
    "operation apart from the display.\n\nUsually, this option can be left at zero.",
    correctCaption};
const InputCheck sizeCheck = {"The program size must be a valid number, 32000 or less.",
                              correctCaption};
const InputCheck requestCheck = {
    "The program request string can include only valid hex digits (0-9, a-f, A-F), and the "
    "special characters !#[]-*+;,\n\nAlso, the total number of digits must be even. All hex "
    "digits count, as does !, when working this out, but # can be ignored - so can anything "
    "after the ; sign, and all sets of brackets [] with their contents.\n\n",
    correctCaption};
const InputCheck sendCheck = {
    "The program send string can include only valid hex digits (0-9, a-f, A-F), and the special "
    "characters !#[]-*+Rr \n\nAlso, the total number of digits must be even. All hex digits "
    "count, as does !, when working this out, but # and % can be ignored - so can all sets of "
    "brackets [] and their contents.",
    correctCaption};

const char shortReplyFormat[] =
    "A reply of %ld bytes (after the ; sign of the request string) cannot hold a program of %ld "
    "bytes from byte %ld. The reply size must be at least the offset plus the program size.";

void Refuse(HWND dialog, const InputCheck& check) {
    ShowMessageBox(dialog, check.text, check.caption, MB_ICONSTOP | MB_OK);
}

// Every reply would end its transfer: the program's bytes lie past the reply's end.
bool RefusedShortReply(HWND dialog, const InstrumentDefinition& definition) {
    const ReplyValues reply = DescribedReply(definition);
    if (static_cast<std::int64_t>(reply.replyDataOffset) + definition.programSize <=
        reply.expectedReplySize)
        return false;
    char text[sizeof shortReplyFormat + 40];
    std::snprintf(text, sizeof text, shortReplyFormat, static_cast<long>(reply.expectedReplySize),
                  static_cast<long>(definition.programSize),
                  static_cast<long>(reply.replyDataOffset));
    Refuse(dialog, {text, correctCaption});
    return true;
}

std::string FieldString(HWND dialog, int control) {
    const int length = GetWindowTextLengthA(GetDlgItem(dialog, control));
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
    GetDlgItemTextA(dialog, control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The list's entry, not the box's text: while the selection changes the box still shows the old
// one.
std::string SelectedModel(HWND dialog) {
    const int position = ComboSelection(dialog, IDC_DEFINITION_MODEL);
    return position < 0 ? std::string() : ComboText(dialog, IDC_DEFINITION_MODEL, position);
}

void SelectNewInstrument(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_DEFINITION_MODEL, CB_SETCURSEL, definitionDialog.count, 0);
}

void NameGrabbingClicked(HWND dialog) {
    if (!definitionDialog.loading)
        SelectNewInstrument(dialog);
    const BOOL grabbing = IsDlgButtonChecked(dialog, IDC_DEFINITION_NAME_GRABBING) == BST_CHECKED;
    for (int control : {IDC_DEFINITION_NAME_OFFSETS, IDC_DEFINITION_NAME_GRABBING_GROUP,
                        IDC_DEFINITION_NAME_OFFSETS_LABEL, IDC_DEFINITION_AUTO_UPDATE})
        EnableWindow(GetDlgItem(dialog, control), grabbing);
}

// Selects `position` in a port list, or its first entry when it has no such position; the
// definition then holds the position shown.
void SelectPort(HWND dialog, int combo, std::int32_t& position) {
    const LRESULT count = SendDlgItemMessageA(dialog, combo, CB_GETCOUNT, 0, 0);
    if (position < 0 || position >= count)
        position = 0;
    SendDlgItemMessageA(dialog, combo, CB_SETCURSEL, position, 0);
    position = ComboSelection(dialog, combo);
}

void ShowDefinition(HWND dialog) {
    InstrumentDefinition& definition = instrument.definition;
    definitionDialog.loading = true;
    SetDlgItemInt(dialog, IDC_DEFINITION_SIZE, static_cast<UINT>(definition.programSize), TRUE);
    SetDlgItemInt(dialog, IDC_DEFINITION_CHANNEL, static_cast<UINT>(definition.channel), TRUE);
    SetDlgItemInt(dialog, IDC_DEFINITION_RANGE_START, static_cast<UINT>(definition.rangeStart),
                  TRUE);
    SetDlgItemInt(dialog, IDC_DEFINITION_RANGE_END, static_cast<UINT>(definition.rangeEnd), TRUE);
    SetDlgItemInt(dialog, IDC_DEFINITION_PROGRAM_OFFSET, static_cast<UINT>(definition.numberOffset),
                  TRUE);
    SetDlgItemTextA(dialog, IDC_DEFINITION_REQUEST,
                    std::string(FieldText(definition.requestString)).c_str());
    SetDlgItemTextA(dialog, IDC_DEFINITION_SEND,
                    std::string(FieldText(definition.sendString)).c_str());
    SetDlgItemTextA(dialog, IDC_DEFINITION_NAME_OFFSETS,
                    std::string(FieldText(definition.nameOffsets)).c_str());
    SetDlgItemTextA(dialog, IDC_DEFINITION_NOTES, std::string(FieldText(definition.notes)).c_str());
    CheckDlgButton(dialog, IDC_DEFINITION_NAME_GRABBING,
                   definition.nameGrabbing ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_DEFINITION_AUTO_UPDATE,
                   definition.autoUpdate ? BST_CHECKED : BST_UNCHECKED);
    SelectPort(dialog, IDC_PORTS_INPUT, definition.midiInPort);
    SelectPort(dialog, IDC_PORTS_OUTPUT, definition.midiOutPort);
    NameGrabbingClicked(dialog);
    definitionDialog.loading = false;
}

void ModelSelectionChanged(HWND dialog) {
    const int position = ComboSelection(dialog, IDC_DEFINITION_MODEL);
    if (position == definitionDialog.count)
        return; // a new definition starts as a copy of the one shown
    if (position >= 0) {
        LoadInstrumentDefinition(DefinitionPath(shell.programFolder, SelectedModel(dialog)));
    }
    ShowDefinition(dialog);
}

void OpenDefinitionDialog(HWND dialog, const InstrumentChoice& choice) {
    definitionDialog.loading = false;
    definitionDialog.keptTooltipWindow = shell.tooltipWindow;
    FillPortLists(dialog);
    definitionDialog.openingLibrarianInstrument = settings.LibrarianInstrument;
    definitionDialog.openingInstrument = instrument;
    definitionDialog.count = 0;
    HWND models = GetDlgItem(dialog, IDC_DEFINITION_MODEL);
    for (const std::string& name : ListInstrumentDefinitions()) {
        SendMessageA(models, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ++definitionDialog.count;
    }
    SendMessageA(models, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(newInstrumentEntry));
    const std::int32_t chosen = settings.LibrarianInstrument;
    const bool chosenListed = chosen >= 0 && chosen < definitionDialog.count;
    SendMessageA(models, CB_SETCURSEL, chosenListed ? chosen : 0, 0);
    ModelSelectionChanged(dialog);
    if (choice.automaticPass && chosenListed) {
        EndDialog(dialog, definitionConfirmed);
        return;
    }
    CreateModuleTooltips(dialog);
    AddTips(dialog, definitionTips);
}

// The position of a definition in the list the next opening shows.
std::int32_t ListedPosition(const std::string& name) {
    const std::vector<std::string> names = ListInstrumentDefinitions();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<std::int32_t>(i);
    return -1;
}

bool ReadNumber(HWND dialog, int control, bool isSigned, std::int32_t& value) {
    BOOL translated = FALSE;
    value = static_cast<std::int32_t>(GetDlgItemInt(dialog, control, &translated, isSigned));
    return translated != FALSE;
}

// The OK button: every check in turn; the first that fails says so and keeps the dialog open.
void ConfirmDefinition(HWND dialog) {
    bank.rememberedPosition = 0;
    const int selected = ComboSelection(dialog, IDC_DEFINITION_MODEL);
    settings.LibrarianInstrument = selected;

    std::int32_t channel = 0;
    if (!ReadNumber(dialog, IDC_DEFINITION_CHANNEL, false, channel))
        channel = 0;
    if (channel < 1 || channel > 16)
        return Refuse(dialog, channelCheck);
    std::int32_t start = 0;
    std::int32_t end = 0;
    const bool startRead = ReadNumber(dialog, IDC_DEFINITION_RANGE_START, true, start);
    const bool endRead = ReadNumber(dialog, IDC_DEFINITION_RANGE_END, true, end);
    if (!startRead || !endRead || start > end || start < 0 || end < 0 ||
        start > highestProgramNumber || end > highestProgramNumber)
        return Refuse(dialog, rangeCheck);
    std::int32_t offset = 0;
    if (!ReadNumber(dialog, IDC_DEFINITION_PROGRAM_OFFSET, true, offset))
        return Refuse(dialog, offsetCheck);
    std::int32_t size = 0;
    // Read unsigned: a size the 32-bit field cannot hold reads as a negative number.
    if (!ReadNumber(dialog, IDC_DEFINITION_SIZE, false, size) || size < 0 ||
        size > largestProgramSize)
        return Refuse(dialog, sizeCheck);

    InstrumentDefinition& definition = instrument.definition;
    definition.channel = channel;
    definition.rangeStart = start;
    definition.rangeEnd = end;
    definition.numberOffset = offset;
    definition.programSize = size;
    definition.midiInPort = ComboSelection(dialog, IDC_PORTS_INPUT);
    definition.midiOutPort = ComboSelection(dialog, IDC_PORTS_OUTPUT);
    definition.nameGrabbing =
        IsDlgButtonChecked(dialog, IDC_DEFINITION_NAME_GRABBING) == BST_CHECKED;
    definition.autoUpdate = IsDlgButtonChecked(dialog, IDC_DEFINITION_AUTO_UPDATE) == BST_CHECKED;
    SetFieldText(definition.requestString, FieldString(dialog, IDC_DEFINITION_REQUEST));
    SetFieldText(definition.sendString, FieldString(dialog, IDC_DEFINITION_SEND));

    if (!CheckDefinitionString(FieldText(definition.requestString), StringKind::request))
        return Refuse(dialog, requestCheck);
    if (!CheckDefinitionString(FieldText(definition.sendString), StringKind::send))
        return Refuse(dialog, sendCheck);
    if (RefusedShortReply(dialog, definition))
        return;

    std::string offsets = FieldString(dialog, IDC_DEFINITION_NAME_OFFSETS)
                              .substr(0, sizeof definition.nameOffsets - 2);
    if (offsets.empty() || offsets.back() != ' ')
        offsets += ' ';
    SetFieldText(definition.nameOffsets, offsets);
    SetFieldText(definition.notes, FieldString(dialog, IDC_DEFINITION_NOTES));

    if (selected == definitionDialog.count || selected < 0) {
        if (!CreateInstrumentDefinition())
            return;
        // The new file takes its place in the list by directory order, which need not be last:
        // the next opening must find this definition, not whichever file sits at the old count.
        settings.LibrarianInstrument = ListedPosition(instrument.name);
    } else {
        SaveInstrumentDefinition(DefinitionPath(shell.programFolder, SelectedModel(dialog)));
    }
    EndDialog(dialog, definitionConfirmed);
}

void CancelDefinition(HWND dialog) {
    settings.LibrarianInstrument = definitionDialog.openingLibrarianInstrument;
    instrument = definitionDialog.openingInstrument;
    EndDialog(dialog, definitionCancelled);
}

void HandleDefinitionCommand(HWND dialog, int control, int notification) {
    switch (control) {
    case IDOK:
        ConfirmDefinition(dialog);
        return;
    case IDCANCEL:
        CancelDefinition(dialog);
        return;
    case IDC_DEFINITION_HELP:
        ShowHelp(librarianOptionsHelpContext);
        return;
    case IDC_DEFINITION_MODEL:
        if (notification == CBN_SELCHANGE)
            ModelSelectionChanged(dialog);
        return;
    case IDC_DEFINITION_NAME_GRABBING:
        if (notification == BN_CLICKED)
            NameGrabbingClicked(dialog);
        return;
    case IDC_DEFINITION_AUTO_UPDATE:
        if (notification == BN_CLICKED && !definitionDialog.loading)
            SelectNewInstrument(dialog);
        return;
    }
    if (IsModelField(control) && notification == EN_CHANGE && !definitionDialog.loading)
        SelectNewInstrument(dialog);
}

} // namespace

INT_PTR CALLBACK InstrumentDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        // Opened without a choice, the dialog waits for the user.
        const auto* choice = reinterpret_cast<const InstrumentChoice*>(lParam);
        OpenDefinitionDialog(dialog, choice ? *choice : InstrumentChoice{});
        return TRUE;
    }
    case WM_COMMAND:
        HandleDefinitionCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        // The dialog's own tooltip window goes with it; the window's tips come back.
        shell.tooltipWindow = definitionDialog.keptTooltipWindow;
        definitionDialog.keptTooltipWindow = nullptr;
        return TRUE;
    }
    return FALSE;
}
