#pragma once

// What the opener of the instrument definition dialog ("EnterLibrarian", InstrumentDialogProc)
// hands it as the lParam of DialogBoxParamA; the dialog reads it when it opens.
struct InstrumentChoice {
    // Confirm the chosen definition at once, without showing the dialog, when one was chosen
    // before and is still listed.
    bool automaticPass = false;
};
