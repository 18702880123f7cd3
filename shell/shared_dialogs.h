#pragma once
#include <windows.h>

// The small dialogs that every module window opens, each modal and owned by the module window.

// "PREFERENCES" (CTRL+P): ends with 0 after OK, 99 after Cancel.
INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// "UNINSTALL" (CTRL+U): ends with 0 when the uninstall ran (the program then ends), 99 when
// cancelled.
INT_PTR CALLBACK UninstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// "ABOUT" (each module window's About button): ends with 0.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
