#include "librarian/librarian_window.h"

#include "librarian/instrument_definition.h"
#include "shell/ctrl_captions.h"
#include "shell/list_controls.h"
#include "shell/module_keys.h"
#include "shell/settings.h"
#include "shell/tooltips.h"

namespace {

const SwitchedCaption saveCaption[] = {
    {saveButton, "<< Save As...", "Save selected program with a name you specify", "<< Save",
     "Save program into bank file (+CTRL...)"},
};
const SwitchedCaption allCaption[] = {
    {updateButton, "<< All", "Get all instrument's programs into bank file", "Update",
     "Update all program names from instrument (+CTRL...)"},
};
const SwitchedCaption instrumentCaption[] = {
    {managerButton, "Instrument...", "Choose a new instrument definition", "Manager",
     "Enter general Brevikorlando (+CTRL...)"},
};

// In the order the tools are registered; the button the definition does not use is gone.
const TipEntry librarianTips[] = {
    {saveButton, "Save selected program with a name you specify", false},
    {copyButton, "Copy selected program to selected place on instrument", false},
    {updateButton, "Update all program names from instrument (+CTRL...)", false},
    {deleteProgramButton, "Delete selected program from the bank file", false},
    {librarianHelpButton, "Click for help and useful advice", false},
    {bankCombo, "Select bank file to store programs", false},
    {librarianAboutButton, "Show program information", false},
    {clearNamesButton, "Make the program forget the names of programs on instrument", false},
    {managerButton, "Enter general Brevikorlando (+CTRL...)", false},
    {editorButton, "Enter program editor (Korg M1 only)", false},
    {bankProgramList, "Lists programs stored in current bank file", true},
    {deviceList, "Lists programs on instrument", true},
};

void Enable(HWND window, int control, bool wanted, bool& enabled) {
    if (wanted == enabled)
        return;
    EnableWindow(GetDlgItem(window, control), wanted);
    enabled = wanted;
}

} // namespace

void ApplyLibrarianCaptionStep(HWND window) {
    const bool device = HasListSelection(window, deviceList);
    const bool stored = HasListSelection(window, bankProgramList);
    const bool ctrl = ControlKeyHeld();
    const bool grabbing = instrument.definition.nameGrabbing != 0;
    Enable(window, saveButton, device, librarianWindow.saveEnabled);
    Enable(window, copyButton, device && stored, librarianWindow.copyEnabled);
    Enable(window, deleteProgramButton, stored, librarianWindow.deleteEnabled);
    SwitchCaptions(window, saveCaption, ctrl || !grabbing, librarianWindow.saveAsCaption);
    SwitchCaptions(window, allCaption, ctrl && grabbing, librarianWindow.allCaption);
    SwitchCaptions(window, instrumentCaption, ctrl, librarianWindow.instrumentCaption);
}

void CreateLibrarianTooltips(HWND window) {
    librarianWindow.tooltipWindow = CreateModuleTooltips(window);
    AddTips(window, librarianTips);
}
