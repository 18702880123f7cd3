#pragma once
#include <windows.h>

// The three module windows (Manager, Librarian, Program Editor) and the window classes the
// program registers. Each module window is the dialog of a resource created as an instance of its
// module's class, so that it gets the module's icon, background and ModuleWindowProc.

// Posted by the title loader to the first module window it finds; wParam is its title window.
inline constexpr UINT titleWindowMessage = 0x22A5;

// The messages after which a module window with switching captions (Manager, Librarian) brings
// them up to date: what CTRL or a selection changed shows at once.
inline bool RunsCaptionStep(UINT message) {
    return message == WM_PAINT || message == WM_COMMAND || message == WM_KEYDOWN ||
           message == WM_KEYUP;
}

// The dialog procedures of the three modules; each ends its window with the code of the module
// to show next.
INT_PTR CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LibrarianWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The instrument definition dialog ("EnterLibrarian") ends with one of these.
inline constexpr INT_PTR definitionConfirmed = 0;
inline constexpr INT_PTR definitionCancelled = 99;
INT_PTR CALLBACK InstrumentDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The Program Editor's envelope graph window and time-track control.
LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TimeTrackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure of the three module classes. It takes the title loader's hand-shake and
// closes the title window at the first paint, then hands every message to the dialog handling.
LRESULT CALLBACK ModuleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

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

// Each module window calls these when it opens and when it is destroyed: every module window
// stands where the last one stood.
void PlaceModuleWindow(HWND window);
void RememberModuleWindowPosition(HWND window);
// A dialog or message box that the module window owns (About, Preferences, the definition
// dialog, a question, an error) is open over it: the window stays disabled and its watches wait
// until the box closes.
bool OwnedBoxOpen(HWND window);
// At a module window's timer tick: closes the title window once the module window has painted.
void CloseTitleWindow();
// Closes the title loader's window, found by its class, before the program shows a box of its
// own while the title picture may still be up.
void CloseLoaderWindow();
