#include "editor/control_map.h"

#include "editor/m1_program.h"

// In the order the dialog fills its controls.
const std::array<ControlMapEntry, controlMapSize> controlMap = {{
    {3100, 10, 10, 0, "Sets the program to use only one oscillator"},
    {3101, 10, 11, 0, "Sets the program to use two oscillators"},
    {3102, 10, 12, 0, "Sets the program to play drum sounds"},
    {3103, 11, 21, 0, "Makes notes stay on, even when you release the key"},
    {3104, 11, 20, 0, "Limits the Korg to playing one note at a time from this program"},
    {3105, 27, 1, -12, "How much aftertouch affects the program's pitch [-12,+12]"},
    {3106, 28, 1, 99, "How much aftertouch affects the Pitch MG level [0,99]"},
    {3107, 29, 1, -99, "How much aftertouch affects the frequency cutoff [-99,+99]"},
    {3108, 30, 1, 99, "How much aftertouch affects the Cutoff MG level [0,99]"},
    {3109, 31, 1, -99, "How much aftertouch affects the program's level [-99,+99]"},
    {3110, 32, 1, -12, "How much the joystick affects pitch [-12,+12]"},
    {3111, 33, 1, -99, "How much the joystick affects frequency cutoff [-99,+99]"},
    {3112, 35, 1, 3, "How much the joystick affects frequency of Pitch MG [0,3]"},
    {3113, 34, 1, 99, "How much the joystick affects level of Pitch MG [0,99]"},
    {3116, 19, 10, 0, "Sets Pitch MG to use a triangular wave pattern"},
    {3117, 19, 11, 0, "Sets Pitch MG to use an upwards saw wave pattern"},
    {3118, 19, 13, 0, "Sets Pitch MG to use a square wave pattern"},
    {3119, 19, 12, 0, "Sets Pitch MG to use a downwards saw wave pattern"},
    {3120, 22, 1, 99, "Selects the intensity of Pitch MG [0,99]"},
    {3121, 21, 1, 99, "Selects the delay before Pitch MG starts [0,99]"},
    {3122, 20, 1, 99, "Selects the frequency of Pitch MG [0,99]"},
    {3123, 23, 10, 0, "Sets Cutoff MG to use a triangular wave pattern"},
    {3124, 23, 11, 0, "Sets Cutoff MG to use an upwards saw wave pattern"},
    {3125, 23, 12, 0, "Sets Cutoff MG to use a downwards saw wave pattern"},
    {3126, 23, 13, 0, "Sets Cutoff MG to use a square wave pattern"},
    {3127, 26, 1, 99, "Selects the intensity of Cutoff MG [0,99]"},
    {3128, 25, 1, 99, "Selects the delay before Cutoff MG starts [0,99]"},
    {3129, 24, 1, 99, "Selects the frequency of Cutoff MG [0,99]"},
    {3130, 44, 7, 65, "Pans Output 3 before it is mixed into 1&2 [R=01,L=65]"},
    {3131, 45, 7, 65, "Pans Output 4 before it is mixed into 1&2 [R=01,L=65]"},
    {3132, 44, 8, 3130, "Mixes Output 3 into the standard outputs 1 & 2"},
    {3133, 45, 8, 3131, "Mixes Output 4 into the standard outputs 1 & 2"},
    {3134, 38, 30, 0, "Selects the first effect type"},
    {3135, 39, 30, 0, "Selects the second effect type"},
    {3136, 40, 1, 100, "Controls mixing of Effect 1 into left output [Raw=0,Effect=100]"},
    {3137, 41, 1, 100, "Controls mixing of Effect 1 into right output [Raw=0,Effect=100]"},
    {3138, 42, 1, 100, "Controls mixing of Effect 2 into left output [Raw=0,Effect=100]"},
    {3139, 43, 1, 100, "Controls mixing of Effect 2 into right output [Raw=0,Effect=100]"},
    {3140, 46, 84, 0, "Controls the effect placement (see help file and Korg manual)"},
    {3202, 19, 40, 0, "Enables Pitch MG for this oscillator"},
    {3203, 23, 40, 0, "Enables Cutoff MG for this oscillator"},
    {3204, 16, 1, -12, "Controls the interval in semitones between Osc. 1 & 2 [-12,+12]"},
    {3205, 17, 1, -50, "Detunes Oscillator 2 [-50,+50]"},
    {3206, 18, 1, 99, "Delays the start of Oscillator 2 [0,99]"},
    {3207, 12, 31, 0, "Selects the multisound (sample) used by this oscillator"},
    {3208, 86, 3, 99, "Selects the overall amplitude of this oscillator [0,99]"},
    {3209, 87, 50, 127, "Selects the centre key for keyboard tracking on amplitude"},
    {3210, 88, 3, -99, "How much keyboard tracking affects amplitude [-99,+99]"},
    {3211, 90, 3, 99, "How much keyboard tracking affects amplitude envelope speed [0,99]"},
    {3212, 91, 3, 99, "How much key velocity affects amplitude envelope speed [0.99]"},
    {3213, 89, 3, -99, "How much key velocity affects amplitude [-99,+99]"},
    {3214, 94, 3, 99, "* Amplitude envelope: decay time [0,99]"},
    {3215, 95, 3, 99, "* Amplitude envelope: break level [0,99]"},
    {3216, 98, 3, 99, "* Amplitude envelope: release time [0,99]"},
    {3217, 97, 3, 99, "* Amplitude envelope: sustain level [0,99]"},
    {3218, 96, 3, 99, "* Amplitude envelope: slope time [0,99]"},
    {3219, 93, 3, 99, "* Amplitude envelope: attack level [0,99]"},
    {3220, 92, 3, 99, "* Amplitude envelope: attack time [0,99]"},
    {3221, 63, 3, -99, "* Pitch envelope: start level [-99,+99]"},
    {3222, 64, 3, 99, "* Pitch envelope: attack time [0,99]"},
    {3223, 65, 3, -99, "* Pitch envelope: attack level [-99,+99]"},
    {3224, 66, 3, 99, "* Pitch envelope: decay time [0,99]"},
    {3225, 67, 3, 99, "* Pitch envelope: release time [0,99]"},
    {3226, 68, 3, -99, "* Pitch envelope: release level [-99,+99]"},
    {3227, 69, 3, -99, "How much key velocity affects pitch envelope speed [0,99]"},
    {3228, 70, 3, -99, "How much key velocity affects pitch [-99,+99]"},
    {3229, 13, 70, 0, "Selects the octave this oscillator plays in [4/8/16]"},
    {3230, 73, 3, -99, "How much keyboard tracking affects cutoff [-99,+99]"},
    {3231, 72, 50, 127, "Selects the centre key for keyboard tracking on cutoff"},
    {3232, 78, 3, 99, "* Cutoff envelope: attack time [0,99]"},
    {3233, 79, 3, -99, "* Cutoff envelope: attack level [-99,+99]"},
    {3234, 80, 3, 99, "* Cutoff envelope: decay time [0,99]"},
    {3235, 84, 3, 99, "* Cutoff envelope: release time [0,99]"},
    {3236, 85, 3, -99, "* Cutoff envelope: release level [-99,+99]"},
    {3237, 81, 3, -99, "* Cutoff envelope: break level [-99,+99]"},
    {3238, 76, 3, 99, "How much key velocity affects cutoff envelope speed [0,99]"},
    {3239, 75, 3, 99, "How much keyboard tracking affects cutoff envelope speed [0,99]"},
    {3240, 71, 3, 99, "Overall frequency cutoff level [0,99]"},
    {3241, 77, 3, -99, "How much key velocity affects cutoff envelope level [-99,+99]"},
    {3242, 74, 3, 99, "Overall level of cutoff envelope [0,99]"},
    {3243, 83, 3, -99, "* Cutoff envelope: sustain level [-99,+99]"},
    {3244, 82, 3, 99, "* Cutoff envelope: slope time [0,99]"},
    {3245, 99, 60, 0, "Whether keyboard tracking/velocity sensing affect attack time"},
    {3246, 99, 61, 0, "Whether keyboard tracking/velocity sensing affect decay time"},
    {3247, 99, 62, 0, "Whether keyboard tracking/velocity sensing affect slope time"},
    {3248, 99, 63, 0, "Whether keyboard tracking/velocity sensing affect release time"},
    {3249, 101, 60, 0, "Whether keyboard tracking/velocity sensing affect attack time"},
    {3250, 101, 61, 0, "Whether keyboard tracking/velocity sensing affect decay time"},
    {3251, 101, 62, 0, "Whether keyboard tracking/velocity sensing affect slope time"},
    {3252, 101, 63, 0, "Whether keyboard tracking/velocity sensing affect release time"},
    {3115, 36, 1, 99, "How much the joystick affects level of Cutoff MG [0,99]"},
    {3114, 37, 1, 3, "How much the joystick affects frequency of Cutoff MG [0,3]"},
    {3158, 23, 27, 0, "Synchronises Cutoff MG cycle to start with key hit"},
    {3157, 19, 27, 0, "Synchronises Pitch MG cycle to start with key hit"},
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
