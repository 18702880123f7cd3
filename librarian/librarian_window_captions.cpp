#include "librarian/librarian_window.h"

#include "librarian/instrument_definition.h"
#include "shell/ctrl_captions.h"
#include "shell/list_controls.h"
#include "shell/module_keys.h"
#include "shell/settings.h"
#include "shell/tooltips.h"

namespace {

const SwitchedCaption saveCaption[] = {
    {IDC_LIBRARIAN_SAVE_AS, "<< Save As...", "Save selected program with a name you specify",
     "<< Save", "Save program into bank file (+CTRL...)"},
};
const SwitchedCaption allCaption[] = {
    {IDC_LIBRARIAN_UPDATE, "<< All", "Get all instrument's programs into bank file", "Update",
     "Update all program names from instrument (+CTRL...)"},
};
const SwitchedCaption instrumentCaption[] = {
    {IDC_LIBRARIAN_MANAGER, "Instrument...", "Choose a new instrument definition", "Manager",
     "Enter general Brevikorlando (+CTRL...)"},
};

// In the order the tools are registered; the button the definition does not use is gone.
const TipEntry librarianTips[] = {
    {IDC_LIBRARIAN_SAVE_AS, "Save selected program with a name you specify", false},
    {IDC_LIBRARIAN_COPY, "Copy selected program to selected place on instrument", false},
    {IDC_LIBRARIAN_UPDATE, "Update all program names from instrument (+CTRL...)", false},
    {IDC_LIBRARIAN_DELETE, "Delete selected program from the bank file", false},
    {IDC_LIBRARIAN_HELP, "Click for help and useful advice", false},
    {IDC_LIBRARIAN_BANK, "Select bank file to store programs", false},
    {IDC_LIBRARIAN_ABOUT, "Show program information", false},
    {IDC_LIBRARIAN_CLEAR_NAMES, "Make the program forget the names of programs on instrument",
     false},
    {IDC_LIBRARIAN_MANAGER, "Enter general Brevikorlando (+CTRL...)", false},
    {IDC_LIBRARIAN_EDITOR, "Enter program editor (Korg M1 only)", false},
    {IDC_LIBRARIAN_BANK_PROGRAMS, "Lists programs stored in current bank file", true},
    {IDC_LIBRARIAN_DEVICE_PROGRAMS, "Lists programs on instrument", true},
};

void Enable(HWND window, int control, bool wanted, bool& enabled) {
    if (wanted == enabled)
        return;
    EnableWindow(GetDlgItem(window, control), wanted);
    enabled = wanted;
}

} // namespace

void ApplyLibrarianCaptionStep(HWND window) {
    const bool device = HasListSelection(window, IDC_LIBRARIAN_DEVICE_PROGRAMS);
    const bool stored = HasListSelection(window, IDC_LIBRARIAN_BANK_PROGRAMS);
    const bool ctrl = ControlKeyHeld();
    const bool grabbing = instrument.definition.nameGrabbing != 0;
    Enable(window, IDC_LIBRARIAN_SAVE_AS, device, librarianWindow.saveEnabled);
    Enable(window, IDC_LIBRARIAN_COPY, device && stored, librarianWindow.copyEnabled);
    Enable(window, IDC_LIBRARIAN_DELETE, stored, librarianWindow.deleteEnabled);
    SwitchCaptions(window, saveCaption, ctrl || !grabbing, librarianWindow.saveAsCaption);
    SwitchCaptions(window, allCaption, ctrl && grabbing, librarianWindow.allCaption);
    SwitchCaptions(window, instrumentCaption, ctrl, librarianWindow.instrumentCaption);
}

void CreateLibrarianTooltips(HWND window) {
    librarianWindow.tooltipWindow = CreateModuleTooltips(window);
    AddTips(window, librarianTips);
}
