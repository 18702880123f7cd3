#pragma once
#include <array>

// Every editable control of the editor dialog tied to a program byte: how the control shows the
// byte (its kind), the range of a number (its limit) and its tooltip. For an oscillator control
// the byte is oscillator 1's; the kind says where oscillator 2's is.
enum ControlKind {
    controlNothing = 0,
    controlNumber = 1,           // edit box, signed number within the limit
    controlOscillatorNumber = 3, // the same in the oscillator block
    controlMultisoundSpare = 5,  // a multisound combo box as kind 31 (no entry uses it)
    controlPan = 7,              // pan edit box 1..limit; 0 (not mixed) disables the box
    controlOutput = 8,           // output check box; the limit is its pan box's control ID
    controlRadio0 = 10,          // radio buttons: bits 0-1 of the byte equal kind - 10
    controlRadio3 = 13,
    controlBit0 = 20, // check boxes
    controlBit1 = 21,
    controlBit7 = 27,
    controlEffectType = 30, // effect type combo box
    controlMultisound = 31, // multisound combo box
    controlMgEnable = 40,   // bit 5 for oscillator 1, bit 6 for oscillator 2
    controlKeyName = 50,    // key name edit box
    controlTimeTrack0 = 60, // time-track control of stage kind - 60
    controlTimeTrack3 = 63,
    controlOctave = 70,   // octave edit box: 4, 8 or 16
    controlParallel = 84, // ticked when bit 4 is clear
};

struct ControlMapEntry {
    int controlId;
    int byte;
    int kind;  // ControlKind
    int limit; // the range rule of RangeOfLimit, or the pan box of an output check box
    const char* tooltip;
};

inline constexpr int controlMapSize = 94;
extern const std::array<ControlMapEntry, controlMapSize> controlMap;

// nullptr when the control has no entry.
const ControlMapEntry* FindControlEntry(int controlId);

// The program byte the entry edits while oscillator 1 or 2 is selected.
int ControlByte(const ControlMapEntry& entry, int oscillator);

constexpr bool IsRadioKind(int kind) {
    return kind >= controlRadio0 && kind <= controlRadio3;
}
constexpr bool IsTimeTrackKind(int kind) {
    return kind >= controlTimeTrack0 && kind <= controlTimeTrack3;
}

// True for the kinds the editor knows how to show, store and check.
bool IsKnownControlKind(int kind);
