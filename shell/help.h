#pragma once

// The help file "Talvane95.hlp" in the program's folder, shown by the system's help viewer.

// Help contexts: the Help buttons of the Manager, the Librarian, the Editor, the "Librarian
// options" dialog and the "Create/Edit SysEx Message" dialog.
inline constexpr int managerHelpContext = 1;
inline constexpr int librarianHelpContext = 2;
inline constexpr int editorHelpContext = 3;
inline constexpr int librarianOptionsHelpContext = 4;
inline constexpr int hexEditorHelpContext = 5;

// Opens the help file at `context`, owned by the current module window (also when a dialog asks),
// which is remembered as the window that last opened help.
void ShowHelp(int context);
// Closes the help viewer at exit, through the window that last opened the help file (nothing when
// help was never opened).
void CloseHelp();
