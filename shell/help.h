#pragma once

// The help file "Talvane95.chm" in the program's folder, an HTML Help manual shown by the
// system's HTML Help viewer. Its context map gives each Help button its own page.

// Help contexts: the Help buttons of the Manager, the Librarian, the Editor, the "Librarian
// options" dialog and the "Create/Edit SysEx Message" dialog.
inline constexpr int managerHelpContext = 1;
inline constexpr int librarianHelpContext = 2;
inline constexpr int editorHelpContext = 3;
inline constexpr int librarianOptionsHelpContext = 4;
inline constexpr int hexEditorHelpContext = 5;

// Opens the help file at `context`; a box owned by the current module window says so when it
// cannot. The viewer is a window of its own, owned by no module window, so it stays
// open when the user moves to another module. The debug trace records "Help context N".
void ShowHelp(int context);
// Closes the help viewer at exit (nothing when help was never opened).
void CloseHelp();
