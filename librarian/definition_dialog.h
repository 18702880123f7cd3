#pragma once
#include <windows.h>

// The instrument definition dialog ("EnterLibrarian"), the way into the Librarian. It ends with
// one of these.
inline constexpr INT_PTR definitionConfirmed = 0;
inline constexpr INT_PTR definitionCancelled = 99;
INT_PTR CALLBACK InstrumentDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the opener of the instrument definition dialog hands it as the lParam of DialogBoxParamA;
// the dialog reads it when it opens.
struct InstrumentChoice {
    // Confirm the chosen definition at once, without showing the dialog, when one was chosen
    // before and is still listed.
    bool automaticPass = false;
};
