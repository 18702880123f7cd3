#include "manager/manager_window.h"

#include "shell/ctrl_captions.h"
#include "shell/list_controls.h"
#include "shell/module_keys.h"
#include "shell/settings.h"
#include "shell/tooltips.h"

#include <span>

namespace {

// What a caption group's conditional variant needs besides CTRL being up.
enum class CaptionCondition { messageSelected, fileSelected, librarianChosen };

const SwitchedCaption editCaption[] = {
    {IDC_MANAGER_CREATE_EDIT, "Edit", "Edit selected sysex message (+CTRL...)", "Create",
     "Create new sysex message from user input"},
};
const SwitchedCaption fileCaptions[] = {
    {IDC_MANAGER_OPEN, "<< Open", "Open selected file into memory (+CTRL...)", "<< Open...",
     "Choose a file from disk to open into memory"},
    {IDC_MANAGER_SEND, "Send", "Send selected file to instrument (+CTRL...)", "Send...",
     "Choose a file from disk to send to instrument"},
};
const SwitchedCaption librarianCaption[] = {
    {IDC_MANAGER_LIBRARIAN, "Librarian", "Enter librarian (+CTRL...)", "Librarian...",
     "Choose instrument settings and enter librarian"},
};

struct CaptionGroup {
    CaptionCondition condition;
    std::span<const SwitchedCaption> buttons;
};

const CaptionGroup captionGroups[captionGroupCount] = {
    {CaptionCondition::messageSelected, editCaption},
    {CaptionCondition::fileSelected, fileCaptions},
    {CaptionCondition::librarianChosen, librarianCaption},
};

// In the order the tools are registered.
const TipEntry managerTips[] = {
    {IDC_PORTS_INPUT, "Choose MIDI port that will receive data", false},
    {IDC_PORTS_OUTPUT, "Choose MIDI port to send data with", false},
    {IDC_MANAGER_SAVE_AS, "Save all the above data", false},
    {IDC_MANAGER_CLEAR, "Clear all the above data", false},
    {IDC_MANAGER_DELETE, "Delete selected file from disk", false},
    {IDC_MANAGER_HELP, "Click for help and useful advice", false},
    {IDC_MANAGER_CREATE_EDIT, "Create new sysex message from user input", false},
    {IDC_MANAGER_ABOUT, "Show program information", false},
    {IDC_MANAGER_OPEN, "Choose a file from disk to open into memory", false},
    {IDC_MANAGER_SEND, "Choose a file from disk to send to instrument", false},
    {IDC_MANAGER_LIBRARIAN, "Choose instrument settings and enter librarian", false},
    {IDC_MANAGER_FILE_LIST, "Lists files on disk, in the current folder", true},
    {IDC_MANAGER_MESSAGE_LIST, "Lists data in memory", true},
};

bool ConditionHolds(HWND window, CaptionCondition condition) {
    switch (condition) {
    case CaptionCondition::messageSelected:
        return HasListSelection(window, IDC_MANAGER_MESSAGE_LIST);
    case CaptionCondition::fileSelected:
        return HasListSelection(window, IDC_MANAGER_FILE_LIST);
    case CaptionCondition::librarianChosen:
        return settings.LibrarianInstrument != -1;
    }
    return false;
}

} // namespace

void ResetCaptionStates() {
    for (bool& shown : managerWindow.captionShown)
        shown = false;
}

void ApplyCaptionStep(HWND window) {
    const bool ctrl = ControlKeyHeld();
    for (int group = 0; group < captionGroupCount; ++group) {
        const CaptionGroup& captions = captionGroups[group];
        const bool wanted = !ctrl && ConditionHolds(window, captions.condition);
        SwitchCaptions(window, captions.buttons, wanted, managerWindow.captionShown[group]);
    }
}

void CreateManagerTooltips(HWND window) {
    managerWindow.tooltipWindow = CreateModuleTooltips(window);
    AddTips(window, managerTips);
}
