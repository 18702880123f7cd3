#pragma once
#include <windows.h>

// What one module asks of another that it must not know. The program fills these at start-up
// with the other module's own functions.
struct ModuleHooks {
    // Runs the instrument definition dialog over `owner`; true when a definition was confirmed.
    // With `automaticPass` the dialog confirms at once a definition chosen before.
    bool (*chooseInstrument)(HWND owner, bool automaticPass) = nullptr;
};

extern ModuleHooks moduleHooks;
