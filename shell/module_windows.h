#pragma once
#include <windows.h>

#include "shell/loader_protocol.h"

// What every module window shares: the window procedure of the three module classes with the
// title loader's hand-shake, the place each window stands, and the closing of the title. The
// classes themselves, the module table and the module loop are the program's (app/).

// The messages after which a module window with switching captions (Manager, Librarian) brings
// them up to date: what CTRL or a selection changed shows at once.
inline bool RunsCaptionStep(UINT message) {
    return message == WM_PAINT || message == WM_COMMAND || message == WM_KEYDOWN ||
           message == WM_KEYUP;
}

// The window procedure of the three module classes. It takes the title loader's hand-shake and
// closes the title window at the first paint, then hands every message to the dialog handling.
LRESULT CALLBACK ModuleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

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
