#pragma once
#include <windows.h>

// The keys every module window answers, whichever of its controls has the focus (the message hook
// forwards them): CTRL+P opens the Preferences box, CTRL+U the Uninstall dialog; a completed
// uninstall ends the module window with 0, which ends the program.
void HandleModuleKeyDown(HWND window, WPARAM key);

// CTRL counts as held when the system reports it down at this moment.
bool ControlKeyHeld();
