#pragma once
#include <windows.h>

// Module end codes: which module the loop shows next.
enum ModuleCode { moduleQuit = 0, moduleManager = 1, moduleLibrarian = 2, moduleEditor = 3 };

// What every module shares: where the program lives, which module window is shown, the busy
// flag and the title loader's window.
struct ShellState {
    HINSTANCE instance = nullptr;
    char programPath[512] = {};
    char programFolder[512] = {};
    HICON moduleIcons[3] = {};
    int currentModule = 0;
    HWND currentModuleWindow = nullptr;
    HWND lastHelpWindow = nullptr;
    bool busy = false;
    HWND titleWindow = nullptr;
    bool firstPaint = false;
    bool automaticPass = false;
};

extern ShellState shell;

// Hourglass while the busy flag is set, the arrow otherwise. No window class has a cursor of its
// own, so module windows call this on every mouse move.
void ShowBusyCursor();
