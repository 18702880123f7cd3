#include "manager/hex_editor.h"

#include "manager/hex_text.h"
#include "manager/manager_window.h"
#include "manager/message_store.h"
#include "resources/manager_ids.h"
#include "shell/help.h"
#include "shell/list_controls.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

#include <vector>

namespace {

constexpr INT_PTR editorClosed = 0;
constexpr INT_PTR messageTooLong = 99;

const char tooLongToEditText[] =
    "Sorry; you can only edit sysex messages that are 10,000 bytes or less in length.";
const char textTooLongText[] = "Sorry; you can only create sysex messages that are 30,000 bytes "
                               "or less when stored as text.";
const char badCharacterText[] = "The hex data may consist only of 0123456789ABCDEF and spaces.";
const char oddDigitsText[] = "You must enter an exact number of hex pairs: eg 30 4F 2A, and not "
                             "8F 1E 4. Use '04' if necessary.";
const char dataEntryCaption[] = "Data entry error";

// The message selected in the Manager's list, or a new one behind all others.
int EditIndex(HWND managerWindow) {
    const int selected = ListSelection(managerWindow, IDC_MANAGER_MESSAGE_LIST);
    return selected < 0 ? MessageCount() : selected;
}

void OpenEditor(HWND dialog, const HexEditorRequest& request) {
    std::vector<unsigned char> message;
    switch (SplitForEdit(EditIndex(request.managerWindow), maxEditedMessageLength, message)) {
    case SplitOutcome::split:
        break;
    case SplitOutcome::tooLong:
        EndDialog(dialog, messageTooLong);
        ShowMessageBox(shell.currentModuleWindow, tooLongToEditText, "Error", MB_ICONSTOP | MB_OK);
        return;
    case SplitOutcome::storeFull: // the store has told the user
        EndDialog(dialog, messageTooLong);
        return;
    }
    if (!message.empty())
        SetDlgItemTextA(dialog, IDC_HEX_EDITOR_TEXT,
                        FormatHexText(message.data(), message.size()).c_str());
}

// Every refusal leaves the dialog open with the text as typed, to be corrected.
void StoreTypedMessage(HWND dialog) {
    const HWND field = GetDlgItem(dialog, IDC_HEX_EDITOR_TEXT);
    if (static_cast<std::size_t>(GetWindowTextLengthA(field)) > maxHexTextLength) {
        ShowMessageBox(dialog, textTooLongText, "Error", MB_ICONSTOP | MB_OK);
        return;
    }
    std::vector<char> text(hexTextBufferSize);
    const int length = GetWindowTextA(field, text.data(), static_cast<int>(text.size()));
    const HexTextReading reading =
        ReadHexText(text.data(), static_cast<std::size_t>(length > 0 ? length : 0));
    switch (reading.outcome) {
    case HexTextOutcome::message:
        break;
    case HexTextOutcome::empty:
        return;
    case HexTextOutcome::badCharacter:
        ShowMessageBox(dialog, badCharacterText, dataEntryCaption, MB_ICONSTOP | MB_OK);
        return;
    case HexTextOutcome::oddDigits:
        ShowMessageBox(dialog, oddDigitsText, dataEntryCaption, MB_ICONSTOP | MB_OK);
        return;
    }
    CommitEdit(reading.bytes.data(), static_cast<std::int32_t>(reading.bytes.size()));
    EndDialog(dialog, editorClosed);
}

} // namespace

// There is no handling of the system's cancel command: Escape does nothing, only the Cancel
// button leaves.
INT_PTR CALLBACK HexEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OpenEditor(dialog, *reinterpret_cast<const HexEditorRequest*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_HEX_EDITOR_OK:
            StoreTypedMessage(dialog);
            return TRUE;
        case IDC_HEX_EDITOR_CANCEL:
            CancelEdit();
            EndDialog(dialog, editorClosed);
            return TRUE;
        case IDC_HEX_EDITOR_HELP:
            ShowHelp(hexEditorHelpContext);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
