#pragma once
#include "editor/control_state.h"
#include "editor/m1_program.h"

#include <optional>

// The six effect parameter boxes: slot p (1-6) of effect e (1 or 2) shown, stored and checked
// in the notation of the slot's value kind (reverb and early reflection times, delay times,
// speeds with their wave letter, equaliser frequencies, numbers).

// Puts the slot's value into the box's text; an empty slot hides its box.
std::optional<InputMessage> ShowEffectValue(const M1Program& program, int effect, int slot,
                                            ControlState& box);

// Stores acceptable text silently; anything else changes nothing.
StoreOutcome StoreEffectValue(M1Program& program, int effect, int slot, const ControlState& box);

// The message for text that StoreEffectValue refuses.
std::optional<InputMessage> CheckEffectValue(const M1Program& program, int effect, int slot,
                                             const ControlState& box);
