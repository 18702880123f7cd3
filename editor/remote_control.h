#pragma once
#include "editor/control_map.h"
#include "editor/m1_program.h"

#include <cstdint>

// The instrument's keys and knobs driving the editor over MIDI: a program change chooses the
// program to edit, the data-entry controllers set the focused control's value, the increment and
// decrement controllers step it, and a key played names the key of a key-name box.

// The data-entry slider arrives in two controller messages, the high and the low seven bits, in
// either order.
struct DataEntryAssembly {
    int value = 0;
    bool lowReceived = false;
    bool highReceived = false;
};

enum class RemoteActionKind {
    none,
    selectProgram, // `program`
    adjust,        // RemoteAdjust (`value`, `step`) on the focused control
};

struct RemoteAction {
    RemoteActionKind kind = RemoteActionKind::none;
    int program = 0;
    int value = 0;
    int step = 0;
};

// A step of 100 + k carries the key k that was played.
inline constexpr int keyPlayedStep = 100;

// Reads one short message as winmm packs it (status in the low byte). Only messages on `channel`
// (1..16) count. A note-on with velocity 0 is a key released and does nothing.
RemoteAction ReadRemoteMessage(DataEntryAssembly& dataEntry, std::uint32_t packed, int channel);

// Changes the program byte of the control `entry` stands for (`oscillator` 1 or 2 selected):
// step +1 or -1 steps it within the control's range, step 0 sets it to the point of the range
// that `value` (-10..+10, limited to that) names, a key step sets a key-name control to the key.
// Controls without a numeric range and output check boxes are left alone. True when the byte
// changed.
bool AdjustByRemote(M1Program& program, const ControlMapEntry& entry, int oscillator, int value,
                    int step);
