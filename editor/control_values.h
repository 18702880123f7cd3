#pragma once
#include "editor/control_map.h"
#include "editor/control_state.h"
#include "editor/m1_program.h"

#include <optional>

// How each kind of editor control shows its program byte, stores what the user entered and
// checks it when the focus leaves. oscillator (1 or 2) is the oscillator the dialog shows.
// A message returned is for the window to show; after an input error it gives the focus back
// to the control.

// Puts the byte into the control's state; members the kind does not use are left alone.
std::optional<InputMessage> ShowControl(const ControlMapEntry& entry, const M1Program& program,
                                        int oscillator, ControlState& control);

// Stores acceptable input silently; anything else changes nothing. A control without an entry
// stores nothing.
StoreOutcome StoreControl(M1Program& program, int controlId, const ControlState& control,
                          int oscillator);

// The message for input that StoreControl refuses, if the user must hear about it.
std::optional<InputMessage> CheckControl(int controlId, const ControlState& control);

// A time-track control reports each half as the bits one stage contributes to an envelope's
// switch bytes when shifted to the stage: 0 off, 0x01 positive, 0x11 negative. The state
// record holds -1, 0 and +1.
int SwitchState(int pattern);
int SwitchPattern(int switchState);
