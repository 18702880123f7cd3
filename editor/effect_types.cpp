#include "editor/effect_tables.h"

// In the order of the effect type combo boxes; the index is the program's type byte.
const std::array<EffectType, effectTypeCount> effectTypes = {{
    {"Hall", 0},            // 0
    {"Ensemble Hall", 0},   // 1
    {"Concert Hall", 0},    // 2
    {"Room", 1},            // 3
    {"Large Room", 1},      // 4
    {"Live Stage", 1},      // 5
    {"E. Ref. 1", 2},       // 6
    {"E. Ref. 2", 2},       // 7
    {"E. Ref. 3", 2},       // 8
    {"Stereo Delay", 3},    // 9
    {"Cross Delay", 3},     // 10
    {"Chorus 1", 4},        // 11
    {"Chorus 2", 4},        // 12
    {"Stereo Flanger", 5},  // 13
    {"Cross Flanger", 5},   // 14
    {"Phaser 1", 6},        // 15
    {"Phaser 2", 6},        // 16
    {"Tremolo 1", 7},       // 17
    {"Tremolo 2", 7},       // 18
    {"Equalizer", 8},       // 19
    {"Overdrive", 9},       // 20
    {"Distortion", 10},     // 21
    {"Exciter", 11},        // 22
    {"Symphonic Ens.", 12}, // 23
    {"Rotary Speaker", 13}, // 24
    {"Delay/Hall", 14},     // 25
    {"Delay/Room", 15},     // 26
    {"Delay/E. Ref.", 16},  // 27
    {"Delay/Delay", 17},    // 28
    {"Delay/Chorus", 18},   // 29
    {"Delay/Flanger", 19},  // 30
    {"Delay/Phaser", 20},   // 31
    {"Delay/Tremolo", 21},  // 32
    {"No Effect", 22},      // 33
}};

const std::array<EffectFlagBits, 10> effectFlagBits = {{
    {11, 2, 0x01, 0x02}, // Chorus 1
    {12, 2, 0x01, 0x02}, // Chorus 2
    {13, 2, 0x01, 0x06}, // Stereo Flanger
    {14, 2, 0x01, 0x06}, // Cross Flanger
    {15, 2, 0x01, 0x00}, // Phaser 1
    {16, 2, 0x01, 0x02}, // Phaser 2
    {17, 2, 0x01, 0x00}, // Tremolo 1
    {18, 2, 0x01, 0x02}, // Tremolo 2
    {29, 6, 0x01, 0x00}, // Delay/Chorus
    {30, 6, 0x00, 0x04}, // Delay/Flanger
}};

const EffectGroup& EffectGroupOfType(int type) {
    if (type < 0 || type >= effectTypeCount)
        type = noEffectType;
    return effectGroups[effectTypes[type].group];
}
