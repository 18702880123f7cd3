#include "librarian/librarian_window.h"

#include "librarian/bank_file.h"
#include "librarian/bank_list.h"
#include "librarian/definition_dialog.h"
#include "librarian/definition_files.h"
#include "librarian/program_transfers.h"
#include "shell/about.h"
#include "shell/first_time.h"
#include "shell/help.h"
#include "shell/list_controls.h"
#include "shell/message_box.h"
#include "shell/module_keys.h"
#include "shell/module_windows.h"
#include "shell/shell_state.h"

#include <string>

namespace {

// Replies are paired with requests only by their order, so a second transfer while one waits
// would file the first one's replies under the second one's lines.
bool RefusedWhileTransferRuns() {
    if (!TransferRunning())
        return false;
    MessageBeep(MB_OK);
    return true;
}

void ManagerOrInstrument(HWND window) {
    if (!librarianWindow.instrumentCaption) {
        EndDialog(window, moduleManager);
        return;
    }
    // Another definition would check the replies still coming against its sizes.
    if (RefusedWhileTransferRuns())
        return;
    SaveDeviceList(GetDlgItem(window, IDC_LIBRARIAN_DEVICE_PROGRAMS));
    ChooseNewDefinition(window);
}

void EnterEditor(HWND window) {
    if (EnterEditorFirstTime())
        EndDialog(window, moduleEditor);
}

void SaveSelected(HWND window) {
    const int line = ListSelection(window, IDC_LIBRARIAN_DEVICE_PROGRAMS);
    if (line < 0 || RefusedWhileTransferRuns())
        return;
    SaveDeviceProgram(line);
}

void CopySelected(HWND window) {
    const int line = ListSelection(window, IDC_LIBRARIAN_DEVICE_PROGRAMS);
    const int stored = ListSelection(window, IDC_LIBRARIAN_BANK_PROGRAMS);
    if (line < 0 || stored < 0 || RefusedWhileTransferRuns())
        return;
    CopyToInstrument(window, line, ListText(window, IDC_LIBRARIAN_BANK_PROGRAMS, stored).c_str());
}

void Update() {
    if (RefusedWhileTransferRuns())
        return;
    UpdateNames(librarianWindow.allCaption);
}

void DeleteSelected(HWND window) {
    const int stored = ListSelection(window, IDC_LIBRARIAN_BANK_PROGRAMS);
    if (stored < 0)
        return;
    const std::string name = ListText(window, IDC_LIBRARIAN_BANK_PROGRAMS, stored);
    const std::string question = "Are you sure you want to delete the program \"" + name + "\"?";
    if (ShowMessageBox(window, question.c_str(), "Confirm Delete", MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    DeleteProgram(name);
    SendDlgItemMessageA(window, IDC_LIBRARIAN_BANK_PROGRAMS, LB_DELETESTRING, stored, 0);
}

// Without CTRL the chosen bank becomes the current one. With CTRL the chosen bank's programs are
// copied into the current bank, which stays current and is reloaded to show them.
void SwitchBank(HWND window) {
    HWND banks = GetDlgItem(window, IDC_LIBRARIAN_BANK);
    // The programs still coming go into the bank they were asked for.
    if (RefusedWhileTransferRuns()) {
        SendMessageA(banks, CB_SETCURSEL, bank.currentPosition, 0);
        return;
    }
    const LRESULT chosen = SendMessageA(banks, CB_GETCURSEL, 0, 0);
    if (!ControlKeyHeld()) {
        CloseBank(window);
        OpenSelectedBank(window);
        return;
    }
    if (chosen != CB_ERR && chosen != bank.currentPosition) {
        const std::string name = ComboText(window, IDC_LIBRARIAN_BANK, static_cast<int>(chosen));
        MergeBank(window, BankPath(shell.programFolder, name));
    }
    SendMessageA(banks, CB_SETCURSEL, bank.currentPosition, 0);
    CloseBank(window);
    OpenSelectedBank(window);
}

} // namespace

bool ChooseNewDefinition(HWND window) {
    InstrumentChoice choice{false};
    if (DialogBoxParamA(shell.instance, "EnterLibrarian", window, InstrumentDialogProc,
                        reinterpret_cast<LPARAM>(&choice)) != definitionConfirmed)
        return false;
    librarianWindow.definitionReplaced = true;
    EndDialog(window, moduleLibrarian);
    return true;
}

void HandleLibrarianCommand(HWND window, int control, int notification) {
    switch (control) {
    case IDC_LIBRARIAN_MANAGER:
        ManagerOrInstrument(window);
        break;
    case IDC_LIBRARIAN_EDITOR:
        EnterEditor(window);
        break;
    case IDC_LIBRARIAN_CLEAR_NAMES:
        FillUnknownDeviceLines(window);
        break;
    case IDC_LIBRARIAN_SAVE_AS:
        SaveSelected(window);
        break;
    case IDC_LIBRARIAN_DELETE:
        DeleteSelected(window);
        break;
    case IDC_LIBRARIAN_COPY:
        CopySelected(window);
        break;
    case IDC_LIBRARIAN_UPDATE:
        Update();
        break;
    case IDC_LIBRARIAN_BANK:
        if (notification == CBN_SELCHANGE)
            SwitchBank(window);
        break;
    case IDC_LIBRARIAN_HELP:
        ShowHelp(librarianHelpContext);
        break;
    case IDC_LIBRARIAN_ABOUT:
        ShowAbout(window);
        break;
    case IDC_LIBRARIAN_BANK_PROGRAMS:
        if (notification == LBN_DBLCLK && librarianWindow.copyEnabled)
            CopySelected(window);
        break;
    case IDC_LIBRARIAN_DEVICE_PROGRAMS:
        if (notification == LBN_DBLCLK)
            SaveSelected(window);
        break;
    }
}
