#pragma once
#include <optional>
#include <string>

// What the editor dialog shows in one control, as the parameter rules read and write it: the
// window copies a control into this record, lets a rule change it and copies it back. Each
// control uses only the members that fit it.
struct ControlState {
    std::string text;    // edit box
    bool ticked = false; // check box, radio button
    int selection = -1;  // combo box; -1 none
    bool enabled = true;
    bool visible = true;
    // Time-track control, its two halves: -1 negative, 0 off, +1 positive.
    int tracking = 0;
    int velocity = 0;
};

// A message for the user, which the window shows over the dialog.
enum class MessageStyle {
    inputError,   // stop icon, OK button; the focus goes back to the control
    programError, // no icon: a table names a kind the editor does not know
    fatal,        // the program ends with this text
};

struct InputMessage {
    MessageStyle style;
    std::string caption;
    std::string text;
};

// What storing a control's input did, for the window to follow up.
struct StoreOutcome {
    bool changed = false; // the program differs now: send it
    // An effect type was chosen and both effects were fitted to their types: the effect panel
    // of the selected effect shows new slots.
    bool effectTypesApplied = false;
    // An effect type gave way to "No Effect", or the oscillator mode changed: redisplay the
    // whole program.
    bool redisplayAll = false;
    // An output check box enables (and focuses) or disables its pan box.
    int panBox = 0;
    bool panBoxEnabled = false;
    std::optional<InputMessage> message;
};
