#include "shell/first_time.h"

#include "shell/message_box.h"
#include "shell/settings.h"
#include "shell/settings_registry.h"
#include "shell/shell_state.h"

#include <cstdio>

const char librarianAdviceText[] =
    "This seems to be the first time you've tried to enter the librarian, so here's some "
    "advice.\n\n"
    "Probably, your particular instrument(s) won't have instrument definitions yet. However, just "
    "because they're not included in this distribution doesn't mean they haven't been written.\n\n"
    "Failing that, you can try to define your own instrument, which might be a bit difficult. See "
    "the help file for more details.\n\n"
    "If you don't think you're capable of creating a definition yourself, you can send me some "
    "photocopies of your instrument manual and I'll have a go. Again, see the help file for more "
    "information.";

const char editorAdviceText[] =
    "This seems to be the first time you've tried to enter the editor, so here's some advice.\n\n"
    "Unless you have a Korg M1 or 100% compatible (i.e. M1R), give up now, since this isn't going "
    "to work. The editor is designed only for this particular instrument.\n\n"
    "Assuming you do have an M1, ensure it's turned on and set to Program mode, before you enter "
    "the editor. While in the editor, don't try to change mode, or things will stop working. In "
    "addition, the librarian section of this program must be configured to use your M1.\n\n"
    "Do you still want to enter the editor?";

namespace {

const char adviceCaption[] = "New user information";

// Index into settings.firstEntry and the digit of the marker's name.
enum FirstEntryModule { managerEntry = 0, librarianEntry = 1, editorEntry = 2 };

// True when this is the module's first entry; the marker is written and the flag cleared.
bool MarkFirstEntry(FirstEntryModule module) {
    if (!settings.firstEntry[module])
        return false;
    char name[16];
    std::snprintf(name, sizeof name, "FirstTime%d", static_cast<int>(module));
    const HKEY key = OpenSettingsKey(HKEY_LOCAL_MACHINE);
    if (key) {
        const DWORD marker = 1;
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&marker),
                       sizeof marker);
        RegCloseKey(key);
    }
    settings.firstEntry[module] = false;
    return true;
}

} // namespace

void EnterManagerFirstTime() {
    MarkFirstEntry(managerEntry);
}

void EnterLibrarianFirstTime() {
    if (MarkFirstEntry(librarianEntry))
        ShowMessageBox(shell.currentModuleWindow, librarianAdviceText, adviceCaption,
                       MB_ICONINFORMATION | MB_OK);
}

bool EnterEditorFirstTime() {
    if (!MarkFirstEntry(editorEntry))
        return true;
    return ShowMessageBox(shell.currentModuleWindow, editorAdviceText, adviceCaption,
                          MB_ICONINFORMATION | MB_YESNO) == IDYES;
}
