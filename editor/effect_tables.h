#pragma once
#include <array>
#include <cstdint>

// The two effects of a program: 34 effect types, each belonging to one of 23 groups that lay out
// the effect's 8-byte parameter block as six slots.

// How a slot's value is shown and typed.
enum EffectValueKind {
    effectValueEmpty = 0,           // no parameter: label empty, box hidden
    effectValueNumber = 1,          // decimal
    effectValueReverbTime = 2,      // 0.2 + 0.1 b seconds, typed as digit.digit
    effectValueEarlyTime = 3,       // early reflection time 100 + 10 b
    effectValueDelayTime = 4,       // 16-bit value in the slot byte and the next
    effectValueSpeed = 5,           // 0.03 .. 30 Hz on three scales
    effectValueSpeedWave = 6,       // speed, wave letter in bit 0 of the next byte
    effectValueLowFc = 7,           // 250, 500, 1000 Hz
    effectValueMidFc = 8,           // 500, 1000, 2000 Hz
    effectValueHighFc = 9,          // 1000, 2000, 4000 Hz
    effectValueEmphasis = 10,       // 1 .. 10
    effectValueEarlyTimeShort = 11, // as effectValueEarlyTime
};

struct EffectSlot {
    const char* label;
    int byte; // offset in the 8-byte block
    int kind; // EffectValueKind
    int limit;
    const char* help;
};

// Both bytes of a kind 4 value and the wave byte of a kind 6 value belong to the slot.
constexpr bool SlotTakesTwoBytes(int kind) {
    return kind == effectValueDelayTime || kind == effectValueSpeedWave;
}

inline constexpr int effectSlotCount = 6;
inline constexpr int effectGroupCount = 23;
inline constexpr int effectTypeCount = 34;
inline constexpr int noEffectType = 33;

using EffectGroup = std::array<EffectSlot, effectSlotCount>;
extern const std::array<EffectGroup, effectGroupCount> effectGroups;

struct EffectType {
    const char* name; // at most 19 characters
    int group;
};
extern const std::array<EffectType, effectTypeCount> effectTypes;

// Bits that belong to an effect type itself: after the type is applied its flag byte becomes
// (old AND keep) OR set. Types not listed keep their bytes.
struct EffectFlagBits {
    int type;
    int byte;
    std::uint8_t keep;
    std::uint8_t set;
};
extern const std::array<EffectFlagBits, 10> effectFlagBits;

// The group of a type; a type outside the list has the empty "No Effect" group.
const EffectGroup& EffectGroupOfType(int type);
