#pragma once
#include "editor/effect_tables.h"
#include "editor/m1_program.h"

enum class EffectTypeResult {
    applied,
    // The type could not stay and is now "No Effect": the window shows that in the effect's
    // type box and redisplays the whole program. The block was left as it was.
    replacedByNoEffect,
};

// Fits effect e's (1 or 2) parameter block to its type: bytes no slot of the type's group uses
// become 0, values outside a slot's range become 0 (an emphasis point of 0 becomes 1), and the
// type's own flag bits are set. "Symphonic Ens." and "Rotary Speaker" cannot run beside a
// modulation effect on the other side and a type outside the list cannot run at all: both give
// way to "No Effect".
EffectTypeResult ApplyEffectType(M1Program& program, int effect);

// The slot p (1-6) of effect e's current type; an empty slot for any other p.
const EffectSlot& EffectSlotOf(const M1Program& program, int effect, int slot);

// A slot's value in a block: the 16-bit value of a delay time, else the byte read as the slot's
// range needs it.
int EffectSlotValue(const std::uint8_t* block, const EffectSlot& slot);
