#include "resources/shell_ids.h"
#include "shell/preferences_rules.h"
#include "shell/message_box.h"
#include "shell/settings_registry.h"
#include "shell/shared_dialogs.h"

// The Preferences box (CTRL+P in any module window): title picture, welcome sound, claiming .syx
// files and the tooltip level. The choices are stored at once; they act at the next module
// window (tooltips) or the next start (the rest).

const char syxClaimCaption[] = "Handle .SYX files";
const char syxClaimText[] =
    "Next time you load Talvane, the program will attempt to gain control of those files with a "
    ".SYX extension.\n\n"
    "If you enter the preferences box again before that, the appropriate checkbox will still not "
    "be checked, since the program has not yet acquired control over these files. You don't need "
    "to check it again.";

namespace {

constexpr INT_PTR preferencesAccepted = 0;
constexpr INT_PTR preferencesCancelled = 99;

void Tick(HWND dialog, int id, bool ticked) {
    CheckDlgButton(dialog, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool Ticked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void ShowChoice(HWND dialog, const PreferencesChoice& shown) {
    Tick(dialog, IDC_PREFERENCES_HANDLE_SYX, shown.handleSyx);
    EnableWindow(GetDlgItem(dialog, IDC_PREFERENCES_HANDLE_SYX), shown.handleSyxEnabled);
    Tick(dialog, IDC_PREFERENCES_TITLE_PICTURE, shown.titlePicture);
    Tick(dialog, IDC_PREFERENCES_WELCOME_SOUND, shown.titleSound);
    CheckRadioButton(dialog, IDC_PREFERENCES_TOOLTIPS_OFF, IDC_PREFERENCES_TOOLTIPS_MAXIMUM,
                     IDC_PREFERENCES_TOOLTIPS_OFF + shown.toolTips);
}

PreferencesChoice ReadChoice(HWND dialog) {
    PreferencesChoice choice;
    choice.titlePicture = Ticked(dialog, IDC_PREFERENCES_TITLE_PICTURE);
    choice.titleSound = Ticked(dialog, IDC_PREFERENCES_WELCOME_SOUND);
    choice.handleSyx = Ticked(dialog, IDC_PREFERENCES_HANDLE_SYX);
    choice.handleSyxEnabled =
        IsWindowEnabled(GetDlgItem(dialog, IDC_PREFERENCES_HANDLE_SYX)) != FALSE;
    choice.toolTips = toolTipsOff;
    for (int level = toolTipsOff; level <= toolTipsMaximum; ++level)
        if (Ticked(dialog, IDC_PREFERENCES_TOOLTIPS_OFF + level))
            choice.toolTips = level;
    return choice;
}

// Registry failures here are silent: a value that could not be written is simply as before.
void StoreChange(HKEY key, const SettingsChange& change) {
    switch (change.kind) {
    case SettingsChangeKind::deleteValue:
        RegDeleteValueA(key, change.name);
        break;
    case SettingsChangeKind::writeEmpty:
        RegSetValueExA(key, change.name, 0, REG_DWORD, nullptr, 0);
        break;
    case SettingsChangeKind::writeNumber: {
        const DWORD value = static_cast<DWORD>(change.value);
        RegSetValueExA(key, change.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        break;
    }
    }
}

void StoreChanges(const std::vector<SettingsChange>& changes) {
    for (SettingsScope scope : {SettingsScope::user, SettingsScope::machine}) {
        HKEY key =
            OpenSettingsKey(scope == SettingsScope::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
        if (!key)
            continue;
        for (const SettingsChange& change : changes)
            if (change.scope == scope)
                StoreChange(key, change);
        RegCloseKey(key);
    }
}

void Accept(HWND dialog) {
    const PreferencesOutcome outcome = AcceptPreferences(settings, ReadChoice(dialog));
    StoreChanges(outcome.changes);
    if (outcome.announceSyxClaim)
        ShowMessageBox(dialog, syxClaimText, syxClaimCaption, MB_OK | MB_ICONINFORMATION);
    EndDialog(dialog, preferencesAccepted);
}

} // namespace

INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ShowChoice(dialog, PreferencesShown(settings));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Accept(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, preferencesCancelled);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
