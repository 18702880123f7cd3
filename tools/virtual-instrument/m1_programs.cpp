#include "tools/virtual-instrument/m1_programs.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vi {

namespace {

// Offsets in the program record.
constexpr std::size_t kName = 0;
constexpr std::size_t kOscMode = 10;
constexpr std::size_t kEffect1Type = 38;
constexpr std::size_t kEffect1Block = 47;
constexpr std::size_t kEffectBlockSize = 8;
constexpr std::size_t kOscillator1Block = 63;
constexpr std::size_t kOscillatorBlockSize = 40;
constexpr int kNoEffect = 33;

// A small deterministic generator; each program has its own seed.
struct Dice {
    std::uint32_t state;
    std::uint32_t Next() {
        state += 0x9E3779B9u;
        std::uint32_t z = state;
        z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
        z = (z ^ (z >> 13)) * 0xC2B2AE35u;
        return z ^ (z >> 16);
    }
    int Between(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<std::uint32_t>(high - low + 1));
    }
    bool OneIn(int n) { return Between(1, n) == 1; }
};

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// A parameter limit as the M1's effect tables give it: L >= 0 means 0..L, L < 0 means L..-L.
int Roll(Dice& dice, int limit) {
    return limit >= 0 ? dice.Between(0, limit) : dice.Between(limit, -limit);
}

// Names: an adjective and a sound; every pair appears once.
constexpr std::string_view kAdjectives[10] = {"Warm", "Dark", "Soft", "Deep", "Airy",
                                              "Cold", "Fat",  "Thin", "Wide", "Dry"};
struct Sound {
    std::string_view noun;
    int multisound;
};
constexpr Sound kSounds[10] = {{"Pad", 74},   {"Bell", 20},  {"Bass", 15}, {"Lead", 91},
                               {"Choir", 30}, {"Brass", 32}, {"Piano", 0}, {"Organ", 5},
                               {"Pluck", 56}, {"Keys", 1}};

// A few programs are named as real factory programs are: parts separated by zero bytes, which
// an M1 shows as blanks.
struct ZeroByteName {
    int number;
    std::string_view name; // ten bytes
};
constexpr ZeroByteName kZeroByteNames[] = {{6, std::string_view("Piano\0"
                                                                "16'\0",
                                                                10)},
                                           {47, std::string_view("Organ\0"
                                                                 "8'\0\0",
                                                                 10)},
                                           {93, std::string_view("Bell\0"
                                                                 "Tree\0",
                                                                 10)}};

void WriteName(ProgramBytes& program, int number) {
    for (const ZeroByteName& special : kZeroByteNames) {
        if (special.number == number) {
            for (std::size_t i = 0; i < 10; ++i)
                program[kName + i] = static_cast<std::uint8_t>(special.name[i]);
            return;
        }
    }
    const int sound = number % 10;
    const int adjective = (number / 10 + 3 * sound) % 10;
    std::string name(kAdjectives[adjective]);
    name += ' ';
    name += kSounds[sound].noun;
    name.resize(10, ' ');
    for (std::size_t i = 0; i < 10; ++i) {
        program[kName + i] = static_cast<std::uint8_t>(name[i]);
    }
}

// One parameter slot of an effect: its byte in the 8-byte block, its value kind and limit.
// Kind 4 is a 16-bit value (two bytes); kind 6 a speed with the wave in bit 0 of the next
// byte; kind 10 starts at 1.
struct EffectSlot {
    std::uint8_t byte;
    std::uint8_t kind;
    std::int16_t limit;
};
struct EffectGroup {
    std::uint8_t count;
    EffectSlot slots[6];
};

constexpr EffectGroup kEffectGroups[23] = {
    {6, {{0, 2, 97}, {2, 1, 99}, {3, 1, 200}, {4, 1, 99}, {7, 1, -12}, {6, 1, -12}}},
    {6, {{0, 2, 47}, {2, 1, 99}, {3, 1, 200}, {4, 1, 99}, {7, 1, -12}, {6, 1, -12}}},
    {4, {{0, 3, 70}, {1, 1, 200}, {7, 1, -12}, {6, 1, -12}}},
    {6, {{0, 4, 500}, {4, 4, 500}, {2, 1, -99}, {3, 1, 99}, {7, 1, -12}, {6, 1, -12}}},
    {5, {{0, 1, 99}, {1, 6, 216}, {4, 1, 200}, {7, 1, -12}, {6, 1, -12}}},
    {6, {{0, 1, 99}, {1, 6, 216}, {4, 1, 50}, {3, 1, -99}, {7, 1, -12}, {6, 1, -12}}},
    {4, {{0, 1, 99}, {1, 6, 216}, {4, 1, 99}, {3, 1, -99}}},
    {5, {{0, 1, 99}, {1, 6, 216}, {3, 1, -99}, {7, 1, -12}, {6, 1, -12}}},
    {6, {{4, 7, 2}, {7, 1, -12}, {0, 8, 2}, {1, 1, -12}, {5, 9, 2}, {6, 1, -12}}},
    {6, {{2, 1, 99}, {3, 1, 99}, {0, 8, 2}, {1, 1, -12}, {7, 1, -12}, {6, 1, -12}}},
    {3, {{2, 1, 100}, {3, 1, 99}, {7, 1, -12}}},
    {4, {{0, 1, -99}, {1, 10, 10}, {7, 1, -12}, {6, 1, -12}}},
    {3, {{0, 1, 99}, {7, 1, -12}, {6, 1, -12}}},
    {2, {{0, 1, 99}, {2, 1, -10}}},
    {6, {{0, 4, 500}, {2, 1, -99}, {3, 1, 99}, {4, 2, 97}, {6, 1, 99}, {7, 1, 150}}},
    {6, {{0, 4, 500}, {2, 1, -99}, {3, 1, 99}, {4, 2, 47}, {6, 1, 99}, {7, 1, 150}}},
    {5, {{0, 4, 500}, {2, 1, -99}, {3, 1, 99}, {4, 11, 30}, {5, 1, 150}}},
    {6, {{0, 4, 500}, {4, 4, 500}, {2, 1, -99}, {6, 1, -99}, {3, 1, 99}, {7, 1, 99}}},
    {5, {{0, 4, 500}, {2, 1, -99}, {3, 1, 99}, {4, 1, 99}, {5, 6, 216}}},
    {6, {{0, 4, 500}, {2, 1, -99}, {3, 1, 99}, {4, 1, 99}, {5, 5, 216}, {7, 1, -99}}},
    {6, {{0, 4, 500}, {2, 1, -99}, {3, 1, 99}, {4, 1, 99}, {5, 5, 216}, {6, 1, -99}}},
    {6, {{0, 4, 500}, {2, 1, -99}, {3, 1, 99}, {4, 1, 99}, {5, 5, 216}, {7, 1, -99}}},
    {0, {}},
};

constexpr std::uint8_t kGroupOfType[34] = {0,  0,  0,  1,  1,  1,  2,  2,  2,  3,  3,  4,
                                           4,  5,  5,  6,  6,  7,  7,  8,  9,  10, 11, 12,
                                           13, 14, 15, 16, 17, 18, 19, 20, 21, 22};

bool IsModulationEffect(int type) {
    return (type >= 11 && type <= 18) || type == 23 || type == 24 || (type >= 29 && type <= 32);
}

void WriteEffectBlock(ProgramBytes& program, std::size_t block, int type, Dice& dice) {
    const EffectGroup& group = kEffectGroups[kGroupOfType[type]];
    for (std::size_t s = 0; s < group.count; ++s) {
        const EffectSlot& slot = group.slots[s];
        const std::size_t at = block + slot.byte;
        switch (slot.kind) {
        case 4: {
            const int value = dice.Between(0, slot.limit);
            program[at] = Byte(value);
            program[at + 1] = Byte(value >> 8);
            break;
        }
        case 6:
            program[at] = Byte(dice.Between(0, slot.limit));
            program[at + 1] = Byte(dice.Between(0, 1));
            break;
        case 10:
            program[at] = Byte(dice.Between(1, slot.limit));
            break;
        default:
            program[at] = Byte(Roll(dice, slot.limit));
            break;
        }
    }
    // Bits that belong to the type itself.
    std::uint8_t& flags2 = program[block + 2];
    std::uint8_t& flags6 = program[block + 6];
    switch (type) {
    case 11:
    case 12:
    case 16:
    case 18:
        flags2 = Byte((flags2 & 0x01) | 0x02);
        break;
    case 13:
    case 14:
        flags2 = Byte((flags2 & 0x01) | 0x06);
        break;
    case 15:
    case 17:
        flags2 = Byte(flags2 & 0x01);
        break;
    case 29:
        flags6 = Byte(flags6 & 0x01);
        break;
    case 30:
        flags6 = 0x04;
        break;
    default:
        break;
    }
}

// A time switch byte: bit s switches stage s on, bit s + 4 makes it negative.
std::uint8_t TimeSwitches(Dice& dice) {
    const int on = dice.Between(0, 15);
    const int negative = dice.Between(0, 15) & on;
    return Byte(on | negative << 4);
}

void WriteOscillatorBlock(ProgramBytes& program, std::size_t block, Dice& dice) {
    auto put = [&](std::size_t offset, int low, int high) {
        program[block + offset] = Byte(dice.Between(low, high));
    };
    // Pitch envelope: start, attack time and level, decay, release time and level, velocity.
    put(0, -20, 20);
    put(1, 0, 60);
    put(2, -10, 10);
    put(3, 0, 80);
    put(4, 0, 70);
    put(5, -15, 15);
    put(6, -99, 99);
    put(7, -40, 40);
    // Filter: cutoff, key centre and tracking, envelope intensity, time and velocity controls.
    put(8, 20, 99);
    put(9, 36, 84);
    put(10, -99, 99);
    put(11, 0, 99);
    put(12, 0, 99);
    put(13, 0, 99);
    put(14, -99, 99);
    // Filter envelope: attack time and level, decay, break, slope, sustain, release.
    put(15, 0, 99);
    put(16, -99, 99);
    put(17, 0, 99);
    put(18, -99, 99);
    put(19, 0, 99);
    put(20, -99, 99);
    put(21, 0, 99);
    put(22, -99, 99);
    // Amplifier: level, key centre and tracking, velocity, envelope controls.
    put(23, 60, 99);
    put(24, 36, 84);
    put(25, -99, 99);
    put(26, -99, 99);
    put(27, 0, 99);
    put(28, 0, 99);
    // Amplifier envelope: attack time and level, decay, break, slope, sustain, release.
    put(29, 0, 60);
    put(30, 50, 99);
    put(31, 0, 99);
    put(32, 0, 99);
    put(33, 0, 99);
    put(34, 0, 99);
    put(35, 0, 80);
    for (std::size_t offset = 36; offset < 40; ++offset) {
        program[block + offset] = TimeSwitches(dice);
    }
}

std::uint8_t ModulationFlags(Dice& dice) {
    const int wave = dice.Between(0, 3);
    const int enables = dice.Between(0, 3); // bit 5 oscillator 1, bit 6 oscillator 2
    const int keySync = dice.Between(0, 1);
    return Byte(wave | enables << 5 | keySync << 7);
}

} // namespace

bool EffectTypesCompatible(int effect1, int effect2) {
    const bool exclusive1 = effect1 == 23 || effect1 == 24;
    const bool exclusive2 = effect2 == 23 || effect2 == 24;
    return !(exclusive1 && IsModulationEffect(effect2)) &&
           !(exclusive2 && IsModulationEffect(effect1));
}

ProgramBytes MakeFactoryProgram(int number) {
    ProgramBytes program{};
    Dice dice{0x2545F491u * static_cast<std::uint32_t>(number + 1)};
    WriteName(program, number);
    const Sound& sound = kSounds[number % 10];

    program[kOscMode] = Byte(dice.OneIn(3) ? 1 : 0); // single or double
    program[11] = Byte(dice.OneIn(4) ? 1 : 0);       // mono now and then, never hold
    program[12] = Byte(sound.multisound);
    program[13] = Byte(dice.Between(-1, 1)); // 16', 8' or 4'
    program[14] = Byte(dice.Between(0, 99));
    program[16] = Byte(dice.OneIn(2) ? 0 : dice.Between(-12, 12));
    program[17] = Byte(dice.Between(-50, 50));
    program[18] = Byte(dice.Between(0, 30));
    program[19] = ModulationFlags(dice);
    program[20] = Byte(dice.Between(0, 99));
    program[21] = Byte(dice.Between(0, 99));
    program[22] = Byte(dice.Between(0, 60));
    program[23] = ModulationFlags(dice);
    program[24] = Byte(dice.Between(0, 99));
    program[25] = Byte(dice.Between(0, 99));
    program[26] = Byte(dice.Between(0, 60));
    program[27] = Byte(dice.Between(-12, 12));
    program[28] = Byte(dice.Between(0, 99));
    program[29] = Byte(dice.Between(-99, 99));
    program[30] = Byte(dice.Between(0, 99));
    program[31] = Byte(dice.Between(-99, 99));
    program[32] = Byte(dice.Between(-12, 12));
    program[33] = Byte(dice.Between(-99, 99));
    program[34] = Byte(dice.Between(0, 99));
    program[35] = Byte(dice.Between(0, 3));
    program[36] = Byte(dice.Between(0, 99));
    program[37] = Byte(dice.Between(0, 3));

    int effect1 = dice.Between(0, kNoEffect);
    int effect2 = dice.Between(0, kNoEffect);
    while (!EffectTypesCompatible(effect1, effect2)) {
        effect2 = dice.Between(0, 10); // a reverb, early reflections or delay
    }
    program[kEffect1Type] = Byte(effect1);
    program[kEffect1Type + 1] = Byte(effect2);
    for (std::size_t i = 40; i < 44; ++i) {
        program[i] = Byte(dice.Between(0, 100));
    }
    program[44] = Byte(dice.OneIn(3) ? 0 : dice.Between(1, 65));
    program[45] = Byte(dice.OneIn(3) ? 0 : dice.Between(1, 65));
    program[46] = Byte(dice.OneIn(2) ? 0x10 : 0x00); // serial or parallel effects
    WriteEffectBlock(program, kEffect1Block, effect1, dice);
    WriteEffectBlock(program, kEffect1Block + kEffectBlockSize, effect2, dice);
    WriteOscillatorBlock(program, kOscillator1Block, dice);
    WriteOscillatorBlock(program, kOscillator1Block + kOscillatorBlockSize, dice);
    return program;
}

std::array<ProgramBytes, kProgramCount> MakeFactoryPrograms() {
    std::array<ProgramBytes, kProgramCount> programs{};
    for (int number = 0; number < kProgramCount; ++number) {
        programs[static_cast<std::size_t>(number)] = MakeFactoryProgram(number);
    }
    return programs;
}

} // namespace vi
