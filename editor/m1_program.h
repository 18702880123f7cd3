#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// One Korg M1 program as the instrument's program dump carries it, unpacked: 143 bytes whose
// layout is fixed by the instrument. Every member is a single byte (or an array of bytes), so the
// records have no padding and their offsets are the instrument's byte numbers. Signed members
// hold two's complement values; the editor's tables address the same bytes by number.

// One oscillator's 40 bytes: pitch envelope, filter, amplifier and the envelope time switches.
struct OscillatorBlock {
    std::int8_t pitchEgStartLevel;     // 0
    std::uint8_t pitchEgAttackTime;    // 1
    std::int8_t pitchEgAttackLevel;    // 2
    std::uint8_t pitchEgDecayTime;     // 3
    std::uint8_t pitchEgReleaseTime;   // 4
    std::int8_t pitchEgReleaseLevel;   // 5
    std::int8_t pitchEgVelocityTime;   // 6
    std::int8_t pitchEgVelocityLevel;  // 7
    std::uint8_t cutoffValue;          // 8
    std::uint8_t cutoffKeyCentre;      // 9: key number
    std::int8_t cutoffKeyTrack;        // 10
    std::uint8_t cutoffEgIntensity;    // 11
    std::uint8_t cutoffEgKeyTrackTime; // 12
    std::uint8_t cutoffEgVelocityTime; // 13
    std::int8_t cutoffEgVelocityLevel; // 14
    std::uint8_t cutoffEgAttackTime;   // 15
    std::int8_t cutoffEgAttackLevel;   // 16
    std::uint8_t cutoffEgDecayTime;    // 17
    std::int8_t cutoffEgBreakLevel;    // 18
    std::uint8_t cutoffEgSlopeTime;    // 19
    std::int8_t cutoffEgSustainLevel;  // 20
    std::uint8_t cutoffEgReleaseTime;  // 21
    std::int8_t cutoffEgReleaseLevel;  // 22
    std::uint8_t ampLevel;             // 23
    std::uint8_t ampKeyCentre;         // 24: key number
    std::int8_t ampKeyTrack;           // 25
    std::int8_t ampVelocityLevel;      // 26
    std::uint8_t ampEgKeyTrackTime;    // 27
    std::uint8_t ampEgVelocityTime;    // 28
    std::uint8_t ampEgAttackTime;      // 29
    std::uint8_t ampEgAttackLevel;     // 30
    std::uint8_t ampEgDecayTime;       // 31
    std::uint8_t ampEgBreakLevel;      // 32
    std::uint8_t ampEgSlopeTime;       // 33
    std::uint8_t ampEgSustainLevel;    // 34
    std::uint8_t ampEgReleaseTime;     // 35
    // Per envelope: [0] keyboard tracking, [1] velocity sensing. Stage s (0 attack, 1 decay,
    // 2 slope, 3 release) is on with bit s and negative with bit s + 4.
    std::uint8_t cutoffEgTimeSwitches[2]; // 36-37
    std::uint8_t ampEgTimeSwitches[2];    // 38-39

    bool operator==(const OscillatorBlock&) const = default;
};

struct M1Program {
    char name[10];                          // 0-9: padded with spaces, no terminator
    std::uint8_t oscMode;                   // 10: bits 0-1 single, double, drum
    std::uint8_t assignFlags;               // 11: bit 0 mono, bit 1 hold
    std::uint8_t osc1Multisound;            // 12: multisound list index
    std::int8_t octave;                     // 13: +1 4', -1 16', anything else 8'
    std::uint8_t osc2Multisound;            // 14
    std::uint8_t spare15;                   // 15: never edited, carried as received
    std::int8_t interval;                   // 16: oscillator 2 against 1, semitones
    std::int8_t detune;                     // 17
    std::uint8_t osc2DelayStart;            // 18
    std::uint8_t pitchMgFlags;              // 19: wave bits 0-1, enables bits 5-6, key sync bit 7
    std::uint8_t pitchMgFrequency;          // 20
    std::uint8_t pitchMgDelay;              // 21
    std::uint8_t pitchMgIntensity;          // 22
    std::uint8_t cutoffMgFlags;             // 23: as pitchMgFlags
    std::uint8_t cutoffMgFrequency;         // 24
    std::uint8_t cutoffMgDelay;             // 25
    std::uint8_t cutoffMgIntensity;         // 26
    std::int8_t aftertouchPitch;            // 27
    std::uint8_t aftertouchPitchMg;         // 28
    std::int8_t aftertouchCutoff;           // 29
    std::uint8_t aftertouchCutoffMg;        // 30
    std::int8_t aftertouchAmplitude;        // 31
    std::int8_t joystickPitch;              // 32
    std::int8_t joystickCutoff;             // 33
    std::uint8_t joystickPitchMgLevel;      // 34
    std::uint8_t joystickPitchMgFrequency;  // 35
    std::uint8_t joystickCutoffMgLevel;     // 36
    std::uint8_t joystickCutoffMgFrequency; // 37
    std::uint8_t effectType[2];             // 38-39: effect type list index
    std::uint8_t effect1ToLeft;             // 40
    std::uint8_t effect1ToRight;            // 41
    std::uint8_t effect2ToLeft;             // 42
    std::uint8_t effect2ToRight;            // 43
    std::uint8_t output3Pan;                // 44: 0 not mixed into 1&2, 1 right .. 65 left
    std::uint8_t output4Pan;                // 45
    std::uint8_t effectPlacement;           // 46: bit 4 clear = parallel
    std::uint8_t effectBlock[2][8];         // 47-62: laid out by the effect type's group
    OscillatorBlock oscillator[2];          // 63-142

    bool operator==(const M1Program&) const = default;
};

inline constexpr int m1ProgramSize = 143;
inline constexpr int oscillatorBlockSize = 40;
inline constexpr int effectBlockSize = 8;
inline constexpr int programNameLength = 10;
inline constexpr int effect1BlockStart = 47;
inline constexpr int oscillator1BlockStart = 63;
// Oscillator 2's copy of an oscillator 1 byte lies this far behind it.
inline constexpr int oscillator2Distance = 40;

static_assert(sizeof(OscillatorBlock) == oscillatorBlockSize);
static_assert(sizeof(M1Program) == m1ProgramSize);
static_assert(offsetof(OscillatorBlock, cutoffKeyCentre) == 9);
static_assert(offsetof(OscillatorBlock, ampLevel) == 23);
static_assert(offsetof(OscillatorBlock, cutoffEgTimeSwitches) == 36);
static_assert(offsetof(OscillatorBlock, ampEgTimeSwitches) == 38);
static_assert(offsetof(M1Program, oscMode) == 10);
static_assert(offsetof(M1Program, spare15) == 15);
static_assert(offsetof(M1Program, joystickCutoffMgFrequency) == 37);
static_assert(offsetof(M1Program, effectType) == 38);
static_assert(offsetof(M1Program, effectPlacement) == 46);
static_assert(offsetof(M1Program, effectBlock) == effect1BlockStart);
static_assert(offsetof(M1Program, oscillator) == oscillator1BlockStart);

using ProgramBytes = std::array<std::uint8_t, m1ProgramSize>;

ProgramBytes ProgramToBytes(const M1Program& program);
M1Program ProgramFromBytes(const ProgramBytes& bytes);

// Byte access by number, for the tables that drive the editor. An offset outside the record
// reads as 0 and writes nothing.
std::uint8_t ProgramByte(const M1Program& program, int offset);
void SetProgramByte(M1Program& program, int offset, std::uint8_t value);

// A blank program: every byte 0 and the name ten spaces ("Hall" effects, 8', single mode).
void ClearProgram(M1Program& program);

// A table limit L gives the accepted range: L >= 0 means 0..L, L < 0 means L..-L.
struct ValueRange {
    int lo;
    int hi;
};
constexpr ValueRange RangeOfLimit(int limit) {
    return limit >= 0 ? ValueRange{0, limit} : ValueRange{limit, -limit};
}

// A byte read as its range needs it: unsigned when the range reaches above 127, else signed.
constexpr int ByteInRange(std::uint8_t byte, ValueRange range) {
    return range.hi > 127 ? int{byte} : int{static_cast<std::int8_t>(byte)};
}
