#pragma once
#include <windows.h>

// The instrument definition dialog ("EnterLibrarian"), the way into the Librarian. It ends with
// one of these.
inline constexpr INT_PTR definitionConfirmed = 0;
inline constexpr INT_PTR definitionCancelled = 99;
INT_PTR CALLBACK InstrumentDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
