#include "editor/control_map.h"

#include "editor/m1_program.h"
#include "resources/editor_ids.h"

// In the order the dialog fills its controls.
const std::array<ControlMapEntry, controlMapSize> controlMap = {{
    {IDC_EDITOR_MODE_SINGLE, 10, 10, 0, "Sets the program to use only one oscillator"},
    {IDC_EDITOR_MODE_DOUBLE, 10, 11, 0, "Sets the program to use two oscillators"},
    {IDC_EDITOR_MODE_DRUM, 10, 12, 0, "Sets the program to play drum sounds"},
    {IDC_EDITOR_HOLD, 11, 21, 0, "Makes notes stay on, even when you release the key"},
    {IDC_EDITOR_MONO, 11, 20, 0, "Limits the Korg to playing one note at a time from this program"},
    {IDC_EDITOR_AFTERTOUCH_PITCH, 27, 1, -12,
     "How much aftertouch affects the program's pitch [-12,+12]"},
    {IDC_EDITOR_AFTERTOUCH_PITCH_MG, 28, 1, 99,
     "How much aftertouch affects the Pitch MG level [0,99]"},
    {IDC_EDITOR_AFTERTOUCH_CUTOFF, 29, 1, -99,
     "How much aftertouch affects the frequency cutoff [-99,+99]"},
    {IDC_EDITOR_AFTERTOUCH_CUTOFF_MG, 30, 1, 99,
     "How much aftertouch affects the Cutoff MG level [0,99]"},
    {IDC_EDITOR_AFTERTOUCH_AMPLITUDE, 31, 1, -99,
     "How much aftertouch affects the program's level [-99,+99]"},
    {IDC_EDITOR_JOYSTICK_PITCH, 32, 1, -12, "How much the joystick affects pitch [-12,+12]"},
    {IDC_EDITOR_JOYSTICK_CUTOFF, 33, 1, -99,
     "How much the joystick affects frequency cutoff [-99,+99]"},
    {IDC_EDITOR_JOYSTICK_PITCH_MG_FREQUENCY, 35, 1, 3,
     "How much the joystick affects frequency of Pitch MG [0,3]"},
    {IDC_EDITOR_JOYSTICK_PITCH_MG_INTENSITY, 34, 1, 99,
     "How much the joystick affects level of Pitch MG [0,99]"},
    {IDC_EDITOR_PITCH_MG_TRIANGLE, 19, 10, 0, "Sets Pitch MG to use a triangular wave pattern"},
    {IDC_EDITOR_PITCH_MG_SAW_UP, 19, 11, 0, "Sets Pitch MG to use an upwards saw wave pattern"},
    {IDC_EDITOR_PITCH_MG_SQUARE, 19, 13, 0, "Sets Pitch MG to use a square wave pattern"},
    {IDC_EDITOR_PITCH_MG_SAW_DOWN, 19, 12, 0, "Sets Pitch MG to use a downwards saw wave pattern"},
    {IDC_EDITOR_PITCH_MG_INTENSITY, 22, 1, 99, "Selects the intensity of Pitch MG [0,99]"},
    {IDC_EDITOR_PITCH_MG_DELAY, 21, 1, 99, "Selects the delay before Pitch MG starts [0,99]"},
    {IDC_EDITOR_PITCH_MG_FREQUENCY, 20, 1, 99, "Selects the frequency of Pitch MG [0,99]"},
    {IDC_EDITOR_CUTOFF_MG_TRIANGLE, 23, 10, 0, "Sets Cutoff MG to use a triangular wave pattern"},
    {IDC_EDITOR_CUTOFF_MG_SAW_UP, 23, 11, 0, "Sets Cutoff MG to use an upwards saw wave pattern"},
    {IDC_EDITOR_CUTOFF_MG_SAW_DOWN, 23, 12, 0,
     "Sets Cutoff MG to use a downwards saw wave pattern"},
    {IDC_EDITOR_CUTOFF_MG_SQUARE, 23, 13, 0, "Sets Cutoff MG to use a square wave pattern"},
    {IDC_EDITOR_CUTOFF_MG_INTENSITY, 26, 1, 99, "Selects the intensity of Cutoff MG [0,99]"},
    {IDC_EDITOR_CUTOFF_MG_DELAY, 25, 1, 99, "Selects the delay before Cutoff MG starts [0,99]"},
    {IDC_EDITOR_CUTOFF_MG_FREQUENCY, 24, 1, 99, "Selects the frequency of Cutoff MG [0,99]"},
    {IDC_EDITOR_OUTPUT_3_PAN, 44, 7, 65, "Pans Output 3 before it is mixed into 1&2 [R=01,L=65]"},
    {IDC_EDITOR_OUTPUT_4_PAN, 45, 7, 65, "Pans Output 4 before it is mixed into 1&2 [R=01,L=65]"},
    {IDC_EDITOR_OUTPUT_3_MIX, 44, 8, IDC_EDITOR_OUTPUT_3_PAN,
     "Mixes Output 3 into the standard outputs 1 & 2"},
    {IDC_EDITOR_OUTPUT_4_MIX, 45, 8, IDC_EDITOR_OUTPUT_4_PAN,
     "Mixes Output 4 into the standard outputs 1 & 2"},
    {IDC_EDITOR_EFFECT_1_TYPE, 38, 30, 0, "Selects the first effect type"},
    {IDC_EDITOR_EFFECT_2_TYPE, 39, 30, 0, "Selects the second effect type"},
    {IDC_EDITOR_EFFECT_1_LEFT_LEVEL, 40, 1, 100,
     "Controls mixing of Effect 1 into left output [Raw=0,Effect=100]"},
    {IDC_EDITOR_EFFECT_1_RIGHT_LEVEL, 41, 1, 100,
     "Controls mixing of Effect 1 into right output [Raw=0,Effect=100]"},
    {IDC_EDITOR_EFFECT_2_LEFT_LEVEL, 42, 1, 100,
     "Controls mixing of Effect 2 into left output [Raw=0,Effect=100]"},
    {IDC_EDITOR_EFFECT_2_RIGHT_LEVEL, 43, 1, 100,
     "Controls mixing of Effect 2 into right output [Raw=0,Effect=100]"},
    {IDC_EDITOR_EFFECT_PARALLEL, 46, 84, 0,
     "Controls the effect placement (see help file and Korg manual)"},
    {IDC_EDITOR_OSC_PITCH_MG_ENABLE, 19, 40, 0, "Enables Pitch MG for this oscillator"},
    {IDC_EDITOR_OSC_CUTOFF_MG_ENABLE, 23, 40, 0, "Enables Cutoff MG for this oscillator"},
    {IDC_EDITOR_OSC_INTERVAL, 16, 1, -12,
     "Controls the interval in semitones between Osc. 1 & 2 [-12,+12]"},
    {IDC_EDITOR_OSC_DETUNE, 17, 1, -50, "Detunes Oscillator 2 [-50,+50]"},
    {IDC_EDITOR_OSC_DELAY, 18, 1, 99, "Delays the start of Oscillator 2 [0,99]"},
    {IDC_EDITOR_OSC_MULTISOUND, 12, 31, 0,
     "Selects the multisound (sample) used by this oscillator"},
    {IDC_EDITOR_OSC_AMP_LEVEL, 86, 3, 99,
     "Selects the overall amplitude of this oscillator [0,99]"},
    {IDC_EDITOR_OSC_AMP_KEY_CENTRE, 87, 50, 127,
     "Selects the centre key for keyboard tracking on amplitude"},
    {IDC_EDITOR_OSC_AMP_KEY_TRACK, 88, 3, -99,
     "How much keyboard tracking affects amplitude [-99,+99]"},
    {IDC_EDITOR_OSC_AMP_KEY_TRACK_EG_TIME, 90, 3, 99,
     "How much keyboard tracking affects amplitude envelope speed [0,99]"},
    {IDC_EDITOR_OSC_AMP_VELOCITY_EG_TIME, 91, 3, 99,
     "How much key velocity affects amplitude envelope speed [0.99]"},
    {IDC_EDITOR_OSC_AMP_VELOCITY, 89, 3, -99, "How much key velocity affects amplitude [-99,+99]"},
    {IDC_EDITOR_OSC_AMP_DECAY_TIME, 94, 3, 99, "* Amplitude envelope: decay time [0,99]"},
    {IDC_EDITOR_OSC_AMP_BREAK_LEVEL, 95, 3, 99, "* Amplitude envelope: break level [0,99]"},
    {IDC_EDITOR_OSC_AMP_RELEASE_TIME, 98, 3, 99, "* Amplitude envelope: release time [0,99]"},
    {IDC_EDITOR_OSC_AMP_SUSTAIN_LEVEL, 97, 3, 99, "* Amplitude envelope: sustain level [0,99]"},
    {IDC_EDITOR_OSC_AMP_SLOPE_TIME, 96, 3, 99, "* Amplitude envelope: slope time [0,99]"},
    {IDC_EDITOR_OSC_AMP_ATTACK_LEVEL, 93, 3, 99, "* Amplitude envelope: attack level [0,99]"},
    {IDC_EDITOR_OSC_AMP_ATTACK_TIME, 92, 3, 99, "* Amplitude envelope: attack time [0,99]"},
    {IDC_EDITOR_OSC_PITCH_EG_START_LEVEL, 63, 3, -99, "* Pitch envelope: start level [-99,+99]"},
    {IDC_EDITOR_OSC_PITCH_EG_ATTACK_TIME, 64, 3, 99, "* Pitch envelope: attack time [0,99]"},
    {IDC_EDITOR_OSC_PITCH_EG_ATTACK_LEVEL, 65, 3, -99, "* Pitch envelope: attack level [-99,+99]"},
    {IDC_EDITOR_OSC_PITCH_EG_DECAY_TIME, 66, 3, 99, "* Pitch envelope: decay time [0,99]"},
    {IDC_EDITOR_OSC_PITCH_EG_RELEASE_TIME, 67, 3, 99, "* Pitch envelope: release time [0,99]"},
    {IDC_EDITOR_OSC_PITCH_EG_RELEASE_LEVEL, 68, 3, -99,
     "* Pitch envelope: release level [-99,+99]"},
    {IDC_EDITOR_OSC_PITCH_EG_TIME_VELOCITY, 69, 3, -99,
     "How much key velocity affects pitch envelope speed [0,99]"},
    {IDC_EDITOR_OSC_PITCH_EG_LEVEL_VELOCITY, 70, 3, -99,
     "How much key velocity affects pitch [-99,+99]"},
    {IDC_EDITOR_OSC_OCTAVE, 13, 70, 0, "Selects the octave this oscillator plays in [4/8/16]"},
    {IDC_EDITOR_OSC_CUTOFF_KEY_TRACK, 73, 3, -99,
     "How much keyboard tracking affects cutoff [-99,+99]"},
    {IDC_EDITOR_OSC_CUTOFF_KEY_CENTRE, 72, 50, 127,
     "Selects the centre key for keyboard tracking on cutoff"},
    {IDC_EDITOR_OSC_CUTOFF_ATTACK_TIME, 78, 3, 99, "* Cutoff envelope: attack time [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_ATTACK_LEVEL, 79, 3, -99, "* Cutoff envelope: attack level [-99,+99]"},
    {IDC_EDITOR_OSC_CUTOFF_DECAY_TIME, 80, 3, 99, "* Cutoff envelope: decay time [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_RELEASE_TIME, 84, 3, 99, "* Cutoff envelope: release time [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_RELEASE_LEVEL, 85, 3, -99, "* Cutoff envelope: release level [-99,+99]"},
    {IDC_EDITOR_OSC_CUTOFF_BREAK_LEVEL, 81, 3, -99, "* Cutoff envelope: break level [-99,+99]"},
    {IDC_EDITOR_OSC_CUTOFF_VELOCITY_EG_TIME, 76, 3, 99,
     "How much key velocity affects cutoff envelope speed [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_KEY_TRACK_EG_TIME, 75, 3, 99,
     "How much keyboard tracking affects cutoff envelope speed [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_LEVEL, 71, 3, 99, "Overall frequency cutoff level [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_VELOCITY_EG_LEVEL, 77, 3, -99,
     "How much key velocity affects cutoff envelope level [-99,+99]"},
    {IDC_EDITOR_OSC_CUTOFF_EG_INTENSITY, 74, 3, 99, "Overall level of cutoff envelope [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_SUSTAIN_LEVEL, 83, 3, -99, "* Cutoff envelope: sustain level [-99,+99]"},
    {IDC_EDITOR_OSC_CUTOFF_SLOPE_TIME, 82, 3, 99, "* Cutoff envelope: slope time [0,99]"},
    {IDC_EDITOR_OSC_CUTOFF_ATTACK_TRACK, 99, 60, 0,
     "Whether keyboard tracking/velocity sensing affect attack time"},
    {IDC_EDITOR_OSC_CUTOFF_DECAY_TRACK, 99, 61, 0,
     "Whether keyboard tracking/velocity sensing affect decay time"},
    {IDC_EDITOR_OSC_CUTOFF_SLOPE_TRACK, 99, 62, 0,
     "Whether keyboard tracking/velocity sensing affect slope time"},
    {IDC_EDITOR_OSC_CUTOFF_RELEASE_TRACK, 99, 63, 0,
     "Whether keyboard tracking/velocity sensing affect release time"},
    {IDC_EDITOR_OSC_AMP_ATTACK_TRACK, 101, 60, 0,
     "Whether keyboard tracking/velocity sensing affect attack time"},
    {IDC_EDITOR_OSC_AMP_DECAY_TRACK, 101, 61, 0,
     "Whether keyboard tracking/velocity sensing affect decay time"},
    {IDC_EDITOR_OSC_AMP_SLOPE_TRACK, 101, 62, 0,
     "Whether keyboard tracking/velocity sensing affect slope time"},
    {IDC_EDITOR_OSC_AMP_RELEASE_TRACK, 101, 63, 0,
     "Whether keyboard tracking/velocity sensing affect release time"},
    {IDC_EDITOR_JOYSTICK_CUTOFF_MG_INTENSITY, 36, 1, 99,
     "How much the joystick affects level of Cutoff MG [0,99]"},
    {IDC_EDITOR_JOYSTICK_CUTOFF_MG_FREQUENCY, 37, 1, 3,
     "How much the joystick affects frequency of Cutoff MG [0,3]"},
    {IDC_EDITOR_CUTOFF_MG_SYNC, 23, 27, 0, "Synchronises Cutoff MG cycle to start with key hit"},
    {IDC_EDITOR_PITCH_MG_SYNC, 19, 27, 0, "Synchronises Pitch MG cycle to start with key hit"},
}};

const ControlMapEntry* FindControlEntry(int controlId) {
    for (const ControlMapEntry& entry : controlMap) {
        if (entry.controlId == controlId)
            return &entry;
    }
    return nullptr;
}

int ControlByte(const ControlMapEntry& entry, int oscillator) {
    if (oscillator != 2)
        return entry.byte;
    switch (entry.kind) {
    case controlOscillatorNumber:
    case controlKeyName:
        return entry.byte + oscillator2Distance;
    case controlMultisoundSpare:
    case controlMultisound:
        return entry.byte + 2; // oscillator 2's multisound is byte 14
    default:
        if (IsTimeTrackKind(entry.kind))
            return entry.byte + oscillator2Distance;
        return entry.byte;
    }
}

bool IsKnownControlKind(int kind) {
    switch (kind) {
    case controlNothing:
    case controlNumber:
    case controlOscillatorNumber:
    case controlMultisoundSpare:
    case controlPan:
    case controlOutput:
    case controlBit0:
    case controlBit1:
    case controlBit7:
    case controlEffectType:
    case controlMultisound:
    case controlMgEnable:
    case controlKeyName:
    case controlOctave:
    case controlParallel:
        return true;
    default:
        return IsRadioKind(kind) || IsTimeTrackKind(kind);
    }
}
