#include "shell/file_associations.h"
#include "shell/message_box.h"
#include "shell/shared_dialogs.h"

#include <initializer_list>

// The Uninstall dialog (CTRL+U in any module window): OK takes every registry entry of the
// program out and gives .syx back; the program files stay for the user to delete. Cancel is the
// default button, so Enter does not uninstall.

const char uninstallCompletedCaption[] = "Uninstall completed";
const char uninstallCompletedText[] =
    "The automated uninstall procedure is completed.\n\n"
    "If you have changed your mind and would like to re-install the program, then re-run "
    "Talvane95.exe immediately after OKing this box.\n\n"
    "If you still intend to remove the program, you'll need to delete all its files using "
    "Windows: Talvane95.exe, Talvane95.dat, Talvane95.chm, *.QXBank, *.QXInstrument, and any "
    "*.syx files that you don't still require. I'm sorry this program wasn't useful for you.\n\n"
    "Thanks for trying out Talvane 95.";

namespace {

constexpr INT_PTR uninstallRan = 0;
constexpr INT_PTR uninstallCancelled = 99;

// Deletes "Software\Quillfen\Talvane\2.0" under root, the deepest key first; a key that is
// missing, or still holds another program's keys, stays.
void DeleteSettingsKeys(HKEY root) {
    for (const char* key :
         {"Software\\Quillfen\\Talvane\\2.0", "Software\\Quillfen\\Talvane", "Software\\Quillfen"})
        RegDeleteKeyA(root, key);
}

void RunUninstall(HWND dialog) {
    RemoveFileAssociations();
    DeleteSettingsKeys(HKEY_LOCAL_MACHINE);
    DeleteSettingsKeys(HKEY_CURRENT_USER); // the next start is a first run
    RemoveProgramIdentifiers();
    ShowMessageBox(dialog, uninstallCompletedText, uninstallCompletedCaption,
                   MB_OK | MB_ICONINFORMATION);
    EndDialog(dialog, uninstallRan);
}

} // namespace

INT_PTR CALLBACK UninstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // Enter presses the focused button: the focus starts on Cancel too.
        SetFocus(GetDlgItem(dialog, IDCANCEL));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            RunUninstall(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, uninstallCancelled);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
