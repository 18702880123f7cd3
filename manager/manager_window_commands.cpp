#include "manager/hex_editor.h"
#include "manager/manager_window.h"

#include "manager/file_list.h"
#include "manager/file_list_box.h"
#include "manager/message_store.h"
#include "manager/syx_files.h"
#include "manager/syx_sending.h"
#include "midi/midi_state.h"
#include "shell/about.h"
#include "shell/first_time.h"
#include "shell/help.h"
#include "shell/list_controls.h"
#include "shell/message_box.h"
#include "shell/module_hooks.h"
#include "shell/module_keys.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shared_dialogs.h"
#include "shell/shell_state.h"

#include <string>
#include <vector>

namespace {

const char nothingToSaveText[] = "Nothing to save! First receive or create some sysex data.";
const char noFileToDeleteText[] = "You must select a file before you can delete it.";
const char deleteFailedText[] =
    "Delete attempt failed. Try closing Brevikorlando and using Windows to delete the file.";

void ShowError(HWND window, const char* text) {
    ShowMessageBox(window, text, "Error", MB_ICONSTOP | MB_OK);
}

// After a port change the lists show the devices in use, also when a change fell back to the
// device used before.
void SelectPortsInUse(HWND window) {
    const auto select = [window](int combo, const std::vector<int>& devices, int device) {
        for (std::size_t position = 0; position < devices.size(); ++position) {
            if (devices[position] == device)
                SendDlgItemMessageA(window, combo, CB_SETCURSEL, position, 0);
        }
    };
    select(IDC_PORTS_INPUT, midi.inputListDevices, settings.InputPort);
    select(IDC_PORTS_OUTPUT, midi.outputListDevices, settings.OutputPort);
}

// A new input port starts a new store; the output is closed around the change.
void ChangeInputPort(HWND window) {
    const int device = InputDeviceAtPosition(ComboSelection(window, IDC_PORTS_INPUT));
    CloseOutput();
    ChangeInputDevice(window, device);
    PortChosen(IDC_PORTS_INPUT);
    OpenOutputAgain(window);
    ResetStore();
    SelectPortsInUse(window);
    CheckPorts(window);
}

void ChangeOutputPort(HWND window) {
    ChangeOutputDevice(window, OutputDeviceAtPosition(ComboSelection(window, IDC_PORTS_OUTPUT)));
    PortChosen(IDC_PORTS_OUTPUT);
    SelectPortsInUse(window);
    CheckPorts(window);
}

void SaveStore(HWND window) {
    if (MessageCount() == 0) {
        ShowError(window, nothingToSaveText);
        return;
    }
    if (SaveStoreAs() == 1)
        ResetStore();
}

// Without a selected file, or with CTRL held, the user chooses the file first.
void OpenFile(HWND window) {
    if (ListSelection(window, IDC_MANAGER_FILE_LIST) < 0 || ControlKeyHeld()) {
        if (ChooseFile("Open") != 0)
            return;
    }
    const int selected = ListSelection(window, IDC_MANAGER_FILE_LIST);
    if (selected < 0)
        return;
    ResetStore();
    ReadFileIntoStore(FileListName(selected).c_str());
    shell.busy = false;
    ShowBusyCursor();
}

// Cancelling the file dialog sends the file that was selected before, if any.
void SendSelectedFile(HWND window) {
    if (TellWhyNothingCanBeSent(window))
        return;
    if (ListSelection(window, IDC_MANAGER_FILE_LIST) < 0 || ControlKeyHeld())
        ChooseFile("Send");
    const int selected = ListSelection(window, IDC_MANAGER_FILE_LIST);
    if (selected >= 0)
        SendFile(FileListName(selected).c_str());
}

void DeleteSelectedFile(HWND window) {
    const int selected = ListSelection(window, IDC_MANAGER_FILE_LIST);
    if (selected < 0) {
        ShowError(window, noFileToDeleteText);
        return;
    }
    ConfirmDelete(ListText(window, IDC_MANAGER_FILE_LIST, selected).c_str(),
                  FileListName(selected).c_str(), selected);
}

// With CTRL held a new message is made, whatever is selected.
void EditMessage(HWND window) {
    if (ControlKeyHeld())
        SendDlgItemMessageA(window, IDC_MANAGER_MESSAGE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1),
                            0);
    const HexEditorRequest request{window};
    DialogBoxParamA(shell.instance, "CREATE", window, HexEditorProc,
                    reinterpret_cast<LPARAM>(&request));
    // Whatever became of the dialog, the store is never left split.
    if (store.mode == StoreMode::split)
        CancelEdit();
}

// The way into the Librarian passes the instrument definition dialog, which confirms itself at
// once (automaticPass) when a definition was chosen before and CTRL is not held.
void EnterLibrarian(HWND window) {
    const bool automaticPass = settings.LibrarianInstrument != -1 && !ControlKeyHeld();
    EnterLibrarianFirstTime();
    // The dialog is the Librarian's; the program hands it over at start-up.
    if (moduleHooks.chooseInstrument != nullptr &&
        moduleHooks.chooseInstrument(window, automaticPass)) {
        // The definition's ports are the ones chosen now; no remembered device comes back.
        KeepDevicesInUse();
        // The input is closed, and what it returns stored, before the window ends: the dialog
        // loop drops the message it takes after EndDialog, and a buffer's notice dropped there
        // would be a message lost.
        CloseInput();
        EndDialog(window, moduleLibrarian);
    }
}

// The commands that read or empty the store, or leave the window.
bool UsesStore(int control, int notification) {
    switch (control) {
    case IDC_PORTS_INPUT:
        return notification == CBN_SELCHANGE;
    case IDC_MANAGER_MESSAGE_LIST:
        return notification == LBN_DBLCLK;
    case IDC_MANAGER_CLEAR:
    case IDC_MANAGER_SAVE_AS:
    case IDC_MANAGER_OPEN:
    case IDC_MANAGER_CREATE_EDIT:
    case IDC_MANAGER_LIBRARIAN:
        return true;
    }
    return false;
}

} // namespace

void HandleManagerCommand(HWND window, int control, int notification) {
    if (UsesStore(control, notification))
        TakeInReceivedInput(window);
    switch (control) {
    case IDC_PORTS_INPUT:
        if (notification == CBN_SELCHANGE)
            ChangeInputPort(window);
        break;
    case IDC_PORTS_OUTPUT:
        if (notification == CBN_SELCHANGE)
            ChangeOutputPort(window);
        break;
    case IDC_MANAGER_CLEAR:
        ResetStore();
        break;
    case IDC_MANAGER_SAVE_AS:
        SaveStore(window);
        break;
    case IDC_MANAGER_OPEN:
        OpenFile(window);
        break;
    case IDC_MANAGER_SEND:
        SendSelectedFile(window);
        break;
    case IDC_MANAGER_DELETE:
        DeleteSelectedFile(window);
        break;
    case IDC_MANAGER_CREATE_EDIT:
        EditMessage(window);
        break;
    case IDC_MANAGER_MESSAGE_LIST:
        if (notification == LBN_DBLCLK)
            EditMessage(window);
        break;
    case IDC_MANAGER_FILE_LIST:
        if (notification == LBN_DBLCLK)
            SendSelectedFile(window);
        break;
    case IDC_MANAGER_HELP:
        ShowHelp(managerHelpContext);
        break;
    case IDC_MANAGER_ABOUT:
        ShowAbout(window);
        break;
    case IDC_MANAGER_LIBRARIAN:
        EnterLibrarian(window);
        break;
    }
}

void ConfirmDelete(const char* label, const char* name, int index) {
    std::string text;
    if (label[0] == '*' || label[0] == '-')
        text = std::string("Are you sure you want to delete the file \"") + label +
               "\", underlying name \"" + name + "\"?";
    else
        text = std::string("Are you sure you want to delete the file \"") + name + "\"?";
    if (ShowMessageBox(shell.currentModuleWindow, text.c_str(), "Confirm Delete",
                       MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    if (!DeleteFileA(name)) {
        ShowMessageBox(shell.currentModuleWindow, deleteFailedText, "Error!",
                       MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    RemoveFileListEntry(index);
}
