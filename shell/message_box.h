#pragma once
#include <windows.h>

// Every message box of the program is shown here, so that each one is owned, placed over the
// title picture and lets the message hook see its keys the same way.
//
// The owner: `owner` when it is a live window (the dialog or module window the box belongs
// to), else the current module window when there is one, else none (the boxes of the start,
// which come before any module window). A box without a live owner thus still holds the module
// window disabled, as every module's own box does.
//
// Before the box shows, the title picture goes if it is still up: it stays on top of
// everything and would hide the box. A box runs a message loop of its own, so a message hook
// set aside meanwhile (MIDI notices being taken) is resumed for it and set aside again after.
//
// Returns what MessageBoxA returns.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);
