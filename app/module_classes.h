#pragma once
#include <windows.h>

// The three module windows (Manager, Librarian, Program Editor) and the window classes the
// program registers. Each module window is the dialog of a resource created as an instance of its
// module's class, so that it gets the module's icon, background and ModuleWindowProc.

// Loads the three module icons of shell.instance.
void LoadModuleIcons();
void DestroyModuleIcons();
// Registers "QX_SysEx", "QX_SysX2", "QX_SysX3", "QX_TimeTrack" and "QX_SysexGraph".
bool RegisterWindowClasses();
// Copies the three module dialog descriptions with their class names, once.
bool CopyModuleDialogs();
void ReleaseModuleDialogs();
// Shows the window of the module with this end code as a modal dialog without owner and
// returns the code it ends with; a code that names no module, or a window that cannot be
// created, gives 0 (quit).
int RunModuleWindow(int code);

// The instrument definition dialog over `owner` (none at start-up); true when a definition was
// confirmed, false when the user cancelled it or it could not be shown; with `automaticPass` it
// confirms at once a definition chosen before. The Manager's way into
// the Librarian runs it through moduleHooks.
bool ChooseInstrument(HWND owner, bool automaticPass);
