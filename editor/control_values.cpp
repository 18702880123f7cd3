#include "editor/control_values.h"

#include "editor/box_number.h"
#include "editor/effect_tables.h"
#include "editor/effect_type.h"
#include "editor/input_messages.h"
#include "editor/key_names.h"
#include "editor/multisounds.h"

#include <cstdint>
#include <string>

namespace {

constexpr std::uint8_t octave4 = 0x01;
constexpr std::uint8_t octave8 = 0x00; // what the instrument itself holds for 8'
constexpr std::uint8_t octave16 = 0xFF;

// The bit a check box kind stands for.
int CheckBoxBit(int kind, int oscillator) {
    switch (kind) {
    case controlBit0:
        return 0;
    case controlBit1:
        return 1;
    case controlBit7:
        return 7;
    case controlMgEnable:
        return oscillator == 2 ? 6 : 5;
    default:
        return -1;
    }
}

int SignedByte(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

int ListSize(int kind) {
    return kind == controlEffectType ? effectTypeCount : multisoundCount;
}

// What an edit box's text comes to: the byte to store, or the message that names the input the
// box accepts. Storing and checking read the text the same way, so whatever is not stored while
// the user types is reported when the box loses the focus.
struct EditInput {
    std::optional<std::uint8_t> byte;
    std::optional<InputMessage> message;
};

EditInput ReadEditInput(const ControlMapEntry& entry, const std::string& text) {
    const ValueRange range = RangeOfLimit(entry.limit);
    switch (entry.kind) {
    case controlNumber:
    case controlOscillatorNumber: {
        const int n = ReadBoxNumber(text);
        if (n < range.lo || n > range.hi)
            return {std::nullopt, RangeMessage(range.lo, range.hi)};
        return {static_cast<std::uint8_t>(n), std::nullopt};
    }
    case controlPan: {
        // 0 means "not mixed", which only the output check box may choose.
        const int n = ReadBoxNumber(text);
        if (n < 1 || n > range.hi)
            return {std::nullopt, RangeMessage(1, range.hi)};
        return {static_cast<std::uint8_t>(n), std::nullopt};
    }
    case controlKeyName: {
        const std::optional<int> key = ParseKeyName(BoxTextHead(text));
        if (!key)
            return {std::nullopt, KeyNameMessage()};
        return {static_cast<std::uint8_t>(*key), std::nullopt};
    }
    case controlOctave:
        switch (ReadBoxNumber(text)) {
        case 4:
            return {octave4, std::nullopt};
        case 8:
            return {octave8, std::nullopt};
        case 16:
            return {octave16, std::nullopt};
        default:
            return {std::nullopt, OctaveMessage()};
        }
    default:
        return {};
    }
}

bool IsEditBox(int kind) {
    return kind == controlNumber || kind == controlOscillatorNumber || kind == controlPan ||
           kind == controlKeyName || kind == controlOctave;
}

void StoreTimeSwitches(M1Program& program, int byte, int stage, const ControlState& control) {
    const int mask = 0x11 << stage;
    const std::uint8_t tracking = ProgramByte(program, byte);
    const std::uint8_t velocity = ProgramByte(program, byte + 1);
    SetProgramByte(
        program, byte,
        static_cast<std::uint8_t>((tracking & ~mask) | (SwitchPattern(control.tracking) << stage)));
    SetProgramByte(
        program, byte + 1,
        static_cast<std::uint8_t>((velocity & ~mask) | (SwitchPattern(control.velocity) << stage)));
}

int TimeSwitchState(std::uint8_t switches, int stage) {
    return SwitchState((switches >> stage) & 0x11);
}

} // namespace

int SwitchState(int pattern) {
    if (pattern == 0x11)
        return -1;
    return pattern & 0x01 ? +1 : 0;
}

int SwitchPattern(int switchState) {
    if (switchState < 0)
        return 0x11;
    return switchState > 0 ? 0x01 : 0;
}

std::optional<InputMessage> ShowControl(const ControlMapEntry& entry, const M1Program& program,
                                        int oscillator, ControlState& control) {
    const int byte = ControlByte(entry, oscillator);
    const std::uint8_t value = ProgramByte(program, byte);
    switch (entry.kind) {
    case controlNothing:
        break;
    case controlNumber:
    case controlOscillatorNumber:
        control.text = std::to_string(SignedByte(value));
        break;
    case controlPan:
        // A pan of 0 is "not mixed": the box goes grey and keeps the last pan it showed.
        control.enabled = value != 0;
        if (value != 0)
            control.text = std::to_string(SignedByte(value));
        break;
    case controlOutput:
        control.ticked = value != 0;
        break;
    case controlBit0:
    case controlBit1:
    case controlBit7:
    case controlMgEnable:
        control.ticked = (value >> CheckBoxBit(entry.kind, oscillator)) & 1;
        break;
    case controlEffectType:
    case controlMultisound:
    case controlMultisoundSpare:
        control.selection = value < ListSize(entry.kind) ? value : -1;
        break;
    case controlKeyName:
        control.text = KeyName(value);
        break;
    case controlOctave:
        control.text = value == octave4 ? "4" : value == octave16 ? "16" : "8";
        break;
    case controlParallel:
        control.ticked = (value & 0x10) == 0;
        break;
    default:
        if (IsRadioKind(entry.kind)) {
            control.ticked = (value & 0x03) == entry.kind - controlRadio0;
        } else if (IsTimeTrackKind(entry.kind)) {
            const int stage = entry.kind - controlTimeTrack0;
            control.tracking = TimeSwitchState(value, stage);
            control.velocity = TimeSwitchState(ProgramByte(program, byte + 1), stage);
        } else {
            return ProgramErrorMessage();
        }
    }
    return std::nullopt;
}

StoreOutcome StoreControl(M1Program& program, int controlId, const ControlState& control,
                          int oscillator) {
    StoreOutcome outcome;
    const ControlMapEntry* entry = FindControlEntry(controlId);
    if (!entry)
        return outcome;
    const M1Program before = program;
    const int byte = ControlByte(*entry, oscillator);
    const std::uint8_t value = ProgramByte(program, byte);
    auto store = [&](int newValue) {
        SetProgramByte(program, byte, static_cast<std::uint8_t>(newValue));
    };

    if (IsEditBox(entry->kind)) {
        const EditInput input = ReadEditInput(*entry, control.text);
        if (input.byte)
            store(*input.byte);
    } else if (IsRadioKind(entry->kind)) {
        // A radio button only stands for its value while it is the ticked one.
        if (control.ticked)
            store((value & 0xFC) | (entry->kind - controlRadio0));
    } else if (IsTimeTrackKind(entry->kind)) {
        StoreTimeSwitches(program, byte, entry->kind - controlTimeTrack0, control);
    } else {
        switch (entry->kind) {
        case controlNothing:
            break;
        case controlOutput:
            outcome.panBox = entry->limit;
            outcome.panBoxEnabled = control.ticked;
            // Ticking waits for a pan to be typed; unticking stops the mixing at once.
            if (!control.ticked)
                store(0);
            break;
        case controlBit0:
        case controlBit1:
        case controlBit7:
        case controlMgEnable: {
            const int bit = 1 << CheckBoxBit(entry->kind, oscillator);
            store(control.ticked ? (value | bit) : (value & ~bit));
            break;
        }
        case controlEffectType:
        case controlMultisound:
        case controlMultisoundSpare:
            if (control.selection < 0 || control.selection >= ListSize(entry->kind))
                break;
            store(control.selection);
            if (entry->kind == controlEffectType) {
                // Either effect may have to give way to the new type, so both are fitted.
                const bool firstReplaced =
                    ApplyEffectType(program, 1) == EffectTypeResult::replacedByNoEffect;
                const bool secondReplaced =
                    ApplyEffectType(program, 2) == EffectTypeResult::replacedByNoEffect;
                outcome.effectTypesApplied = true;
                outcome.redisplayAll = firstReplaced || secondReplaced;
            }
            break;
        case controlParallel:
            store(control.ticked ? (value & ~0x10) : (value | 0x10));
            break;
        default:
            outcome.message = ProgramErrorMessage();
            break;
        }
    }
    outcome.changed = !(program == before);
    // Another oscillator mode brings oscillator 2 in or takes it away.
    if (program.oscMode != before.oscMode)
        outcome.redisplayAll = true;
    return outcome;
}

std::optional<InputMessage> CheckControl(int controlId, const ControlState& control) {
    const ControlMapEntry* entry = FindControlEntry(controlId);
    if (!entry)
        return std::nullopt;
    if (IsEditBox(entry->kind))
        return ReadEditInput(*entry, control.text).message;
    if (!IsKnownControlKind(entry->kind))
        return ProgramErrorMessage();
    return std::nullopt;
}
