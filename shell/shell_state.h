#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// Module end codes: which module the loop shows next.
enum ModuleCode { moduleQuit = 0, moduleManager = 1, moduleLibrarian = 2, moduleEditor = 3 };

// What every module shares: where the program lives, which module window is shown, the busy
// flag and the title loader's window.
struct ShellState {
    HINSTANCE instance = nullptr;
    char programPath[512] = {};
    char programFolder[512] = {};
    HICON moduleIcons[3] = {}; // Manager, Librarian, Program Editor
    int currentModule = 0;
    HWND currentModuleWindow = nullptr;
    HHOOK messageHook = nullptr;
    bool messageHookPaused = false; // set aside while MIDI notices are taken
    // The tooltip window of the current module window (or of a dialog that has its own), which
    // the message hook feeds with the mouse; none while tooltips are off.
    HWND tooltipWindow = nullptr;
    bool busy = false;
    HWND titleWindow = nullptr;
    bool firstPaint = false;
    // The module dialog descriptions with their class names written in (Manager, Librarian,
    // Program Editor), made once at start-up.
    std::vector<std::uint8_t> moduleDialogs[3];
};

extern ShellState shell;

// Hourglass while the busy flag is set, the arrow otherwise. No window class has a cursor of its
// own, so module windows call this on every mouse move.
void ShowBusyCursor();
