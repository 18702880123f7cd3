#include "editor/effect_tables.h"

namespace {

constexpr EffectSlot emptySlot = {"", 0, effectValueEmpty, 0, ""};

} // namespace

// Slots 1-6 of each group, in the order of the dialog's boxes.
const std::array<EffectGroup, effectGroupCount> effectGroups = {{
    // 0
    {{
        {"Reverb Time", 0, 2, 97, "Time echoes take to die away [0.2,9.9]"},
        {"High Damp", 2, 1, 99, "Amount to \"damp\" high frequency echoes [0,99]"},
        {"Pre Delay", 3, 1, 200, "Delay before echoes start [0,200]"},
        {"E/R Level", 4, 1, 99, "Level of early reflections [0,99]"},
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 1
    {{
        {"Reverb Time", 0, 2, 47, "Time echoes take to die away [0.2,4.9]"},
        {"High Damp", 2, 1, 99, "Amount to \"damp\" high frequency echoes [0,99]"},
        {"Pre Delay", 3, 1, 200, "Delay before echoes start [0,200]"},
        {"E/R Level", 4, 1, 99, "Level of early reflections [0,99]"},
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 2
    {{
        {"E/R Time", 0, 3, 70, "Time of early reflections [100,800]"},
        {"Pre Delay", 1, 1, 200, "Delay before echoes start [0,200]"},
        emptySlot,
        emptySlot,
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 3
    {{
        {"L Delay T.", 0, 4, 500, "Delay time on left channel [0,500]"},
        {"R Delay T.", 4, 4, 500, "Delay time on right channel [0,500]"},
        {"Feedback", 2, 1, -99, "Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "Amount to \"damp\" high frequency echoes [0,99]"},
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 4
    {{
        {"Depth", 0, 1, 99, "Modulation depth (intensity of effect) [0,99]"},
        {"Speed/Wv", 1, 6, 216, "Frequency of effect [0.03,30 Hz] and (s)in or (t)triangle wave"},
        {"Delay T.", 4, 1, 200, "Delay time [0,200]"},
        emptySlot,
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 5
    {{
        {"Depth", 0, 1, 99, "Modulation depth (intensity of effect) [0,99]"},
        {"Speed/Wv", 1, 6, 216, "Frequency of effect [0.03,30 Hz] and (s)in or (t)triangle wave"},
        {"Delay T.", 4, 1, 50, "Delay time [0,50]"},
        {"Feedback", 3, 1, -99, "Feedback from flanged output back to input [-99,+99]"},
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 6
    {{
        {"Depth", 0, 1, 99, "Modulation depth (intensity of effect) [0,99]"},
        {"Speed/Wv", 1, 6, 216, "Frequency of effect [0.03,30 Hz] and (s)in or (t)triangle wave"},
        {"Manual", 4, 1, 99, "Centre frequency which phase shift affects [0,99]"},
        {"Feedback", 3, 1, -99, "Feedback from phased output back to input [-99,+99]"},
        emptySlot,
        emptySlot,
    }},
    // 7
    {{
        {"Depth", 0, 1, 99, "Modulation depth (intensity of effect) [0,99]"},
        {"Speed/Wv", 1, 6, 216, "Frequency of effect [0.03,30 Hz] and (s)in or (t)triangle wave"},
        {"Shape", 3, 1, -99, "Shape - adjusts \"thickness\" of high sections of wave [-99,99]"},
        emptySlot,
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 8
    {{
        {"Low fc", 4, 7, 2, "Central frequency affected by the low gain control [250,500,1000 Hz]"},
        {"Low gain", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"Mid fc", 0, 8, 2,
         "+ Central frequency affected by the mid gain control [500,1000,2000 Hz]"},
        {"Mid gain", 1, 1, -12, "+ Amount to adjust medium frequency sound level [-12,+12]"},
        {"High fc", 5, 9, 2,
         "Central frequency affected by the high gain control [1000,2000,4000 Hz]"},
        {"High gain", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 9
    {{
        {"Drive", 2, 1, 99, "Amount to overdrive signal [0,99]"},
        {"Level", 3, 1, 99, "Level of output sound [0,99]"},
        {"Mid fc", 0, 8, 2,
         "+ Central frequency affected by the mid gain control [500,1000,2000 Hz]"},
        {"Mid gain", 1, 1, -12, "+ Amount to adjust medium frequency sound level [-12,+12]"},
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 10
    {{
        {"Distortion", 2, 1, 100, "Amount of distortion [0,99]"},
        {"Level", 3, 1, 99, "Level of output sound [0,99]"},
        emptySlot,
        emptySlot,
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        emptySlot,
    }},
    // 11
    {{
        {"Blend", 0, 1, -99, "Balance of unprocessed and exciter signals at output [-99,99]"},
        {"Emph. Pt.", 1, 10, 10, "Central frequency emphasized by exciter [1,10]"},
        emptySlot,
        emptySlot,
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 12
    {{
        {"Depth", 0, 1, 99, "Depth of ensemble effect [0,99]"},
        emptySlot,
        emptySlot,
        emptySlot,
        {"EQ Low", 7, 1, -12, "Amount to adjust low frequency sound level [-12,+12]"},
        {"EQ High", 6, 1, -12, "Amount to adjust high frequency sound level [-12,+12]"},
    }},
    // 13
    {{
        {"Depth", 0, 1, 99, "Depth of effect [0,99]"},
        {"Speed ratio", 2, 1, -10,
         "Ratio of high-range speaker speed to low-range speaker speed [-10,+10]"},
        emptySlot,
        emptySlot,
        emptySlot,
        emptySlot,
    }},
    // 14
    {{
        {"Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"},
        {"Reverb T.", 4, 2, 97, "R-Time echoes take to die away [0.2,9.9]"},
        {"High Damp", 6, 1, 99, "R-Amount to \"damp\" high frequency echoes (hall) [0,99]"},
        {"Pre Delay", 7, 1, 150, "R-Delay before echoes start [0,150]"},
    }},
    // 15
    {{
        {"Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"},
        {"Reverb T.", 4, 2, 47, "R-Time echoes take to die away [0.2,4.9]"},
        {"High Damp", 6, 1, 99, "R-Amount to \"damp\" high frequency echoes (room) [0,99]"},
        {"Pre Delay", 7, 1, 150, "R-Delay before echoes start [0,150]"},
    }},
    // 16
    {{
        {"Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"},
        {"E/R Time", 4, 11, 30, "R-Time of early reflections [100,400]"},
        emptySlot,
        {"Pre Delay", 5, 1, 150, "R-Delay before echoes start [0,150]"},
    }},
    // 17
    {{
        {"L Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"R Delay T.", 4, 4, 500, "R-Delay time [0,500]"},
        {"L Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"R Feedback", 6, 1, -99, "R-Feedback from delayed output back to input [-99,+99]"},
        {"L Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes [0,99]"},
        {"R Damp", 7, 1, 99, "R-Amount to \"damp\" high frequency echoes [0,99]"},
    }},
    // 18
    {{
        {"Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"},
        {"Depth", 4, 1, 99, "R-Modulation depth (intensity of chorus effect) [0,99]"},
        {"Speed/Wv", 5, 6, 216, "R-Frequency of effect [0.03,30 Hz] and (s)in or (t)triangle wave"},
        emptySlot,
    }},
    // 19
    {{
        {"Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"},
        {"Depth", 4, 1, 99, "R-Modulation depth (intensity of flanger effect) [0,99]"},
        {"Speed", 5, 5, 216, "R-Frequency of effect [0.03,30 Hz]"},
        {"Feedback", 7, 1, -99, "R-Amount of feedback from flanged output to R-input [-99,+99]"},
    }},
    // 20
    {{
        {"Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"},
        {"Depth", 4, 1, 99, "R-Modulation depth (intensity of phaser effect) [0,99]"},
        {"Speed", 5, 5, 216, "R-Frequency of effect [0.03,30 Hz]"},
        {"Feedback", 6, 1, -99, "R-Amount of feedback from phased output to R-input [-99,+99]"},
    }},
    // 21
    {{
        {"Delay T.", 0, 4, 500, "L-Delay time [0,500]"},
        {"Feedback", 2, 1, -99, "L-Feedback from delayed output back to input [-99,+99]"},
        {"High Damp", 3, 1, 99, "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"},
        {"Depth", 4, 1, 99, "R-Modulation depth (intensity of tremolo effect) [0,99]"},
        {"Speed", 5, 5, 216, "R-Frequency of effect [0.03,30 Hz]"},
        {"Shape", 7, 1, -99, "R-Shape - adjusts \"thickness\" of high sections of wave [-99,+99]"},
    }},
    // 22: "No Effect"
    {{emptySlot, emptySlot, emptySlot, emptySlot, emptySlot, emptySlot}},
}};
