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
    {createEditButton, "Edit", "Edit selected sysex message (+CTRL...)", "Create",
     "Create new sysex message from user input"},
};
const SwitchedCaption fileCaptions[] = {
    {openButton, "<< Open", "Open selected file into memory (+CTRL...)", "<< Open...",
     "Choose a file from disk to open into memory"},
    {sendButton, "Send", "Send selected file to instrument (+CTRL...)", "Send...",
     "Choose a file from disk to send to instrument"},
};
const SwitchedCaption librarianCaption[] = {
    {librarianButton, "Librarian", "Enter librarian (+CTRL...)", "Librarian...",
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
    {inputPortCombo, "Choose MIDI port that will receive data", false},
    {outputPortCombo, "Choose MIDI port to send data with", false},
    {saveAsButton, "Save all the above data", false},
    {clearButton, "Clear all the above data", false},
    {deleteButton, "Delete selected file from disk", false},
    {managerHelpButton, "Click for help and useful advice", false},
    {createEditButton, "Create new sysex message from user input", false},
    {aboutButton, "Show program information", false},
    {openButton, "Choose a file from disk to open into memory", false},
    {sendButton, "Choose a file from disk to send to instrument", false},
    {librarianButton, "Choose instrument settings and enter librarian", false},
    {fileListBox, "Lists files on disk, in the current folder", true},
    {messageList, "Lists data in memory", true},
};

bool ConditionHolds(HWND window, CaptionCondition condition) {
    switch (condition) {
    case CaptionCondition::messageSelected:
        return HasListSelection(window, messageList);
    case CaptionCondition::fileSelected:
        return HasListSelection(window, fileListBox);
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
