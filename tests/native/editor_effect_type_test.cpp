#include "editor/control_values.h"
#include "editor/effect_type.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {

constexpr int hall = 0, stereoDelay = 9, chorus1 = 11, chorus2 = 12, stereoFlanger = 13,
              phaser1 = 15, phaser2 = 16, equalizer = 19, exciter = 22, symphonic = 23, rotary = 24,
              delayHall = 25, delayChorus = 29, delayFlanger = 30, delayTremolo = 32, noEffect = 33;

using Block = std::array<std::uint8_t, 8>;

M1Program ProgramWith(int type1, int type2) {
    M1Program program{};
    program.effectType[0] = static_cast<std::uint8_t>(type1);
    program.effectType[1] = static_cast<std::uint8_t>(type2);
    return program;
}

void SetBlock(M1Program& program, int effect, const Block& block) {
    for (int i = 0; i < 8; ++i)
        program.effectBlock[effect - 1][i] = block[i];
}

Block BlockOf(const M1Program& program, int effect) {
    Block block;
    for (int i = 0; i < 8; ++i)
        block[i] = program.effectBlock[effect - 1][i];
    return block;
}

StoreOutcome ChooseType(M1Program& program, int effect, int type) {
    ControlState box;
    box.selection = type;
    return StoreControl(program, effect == 1 ? 3134 : 3135, box, 1);
}

TEST(EffectType, RotarySpeakerBesideChorusBecomesNoEffect) {
    M1Program program = ProgramWith(chorus1, hall);
    const StoreOutcome outcome = ChooseType(program, 2, rotary);
    EXPECT_EQ(program.effectType[0], chorus1);
    EXPECT_EQ(program.effectType[1], noEffect);
    EXPECT_TRUE(outcome.redisplayAll);
    EXPECT_TRUE(outcome.changed);
}

TEST(EffectType, ChorusChosenBesideRotarySpeakerTurnsTheSpeakerOff) {
    M1Program program = ProgramWith(hall, rotary);
    const StoreOutcome outcome = ChooseType(program, 1, chorus1);
    EXPECT_EQ(program.effectType[0], chorus1);
    EXPECT_EQ(program.effectType[1], noEffect);
    EXPECT_TRUE(outcome.redisplayAll);
}

TEST(EffectType, TwoModulationEffectsThatMayShareStayAsTheyAre) {
    M1Program program = ProgramWith(chorus1, hall);
    const StoreOutcome outcome = ChooseType(program, 2, chorus2);
    EXPECT_EQ(program.effectType[0], chorus1);
    EXPECT_EQ(program.effectType[1], chorus2);
    EXPECT_FALSE(outcome.redisplayAll);
    EXPECT_TRUE(outcome.effectTypesApplied);
}

TEST(EffectType, OnlyModulationTypesPushSymphonicAndRotaryAside) {
    // Other effect types at the edges of the modulation ranges 11-18, 23-24 and 29-32.
    const std::array<std::pair<int, bool>, 12> others = {{{10, false},
                                                          {11, true},
                                                          {18, true},
                                                          {19, false},
                                                          {22, false},
                                                          {23, true},
                                                          {24, true},
                                                          {25, false},
                                                          {28, false},
                                                          {29, true},
                                                          {32, true},
                                                          {33, false}}};
    for (int type : {symphonic, rotary}) {
        for (const auto& [other, replaced] : others) {
            M1Program program = ProgramWith(type, other);
            SetBlock(program, 1, {50, 0, 0, 0, 0, 0, 9, 9});
            const EffectTypeResult result = ApplyEffectType(program, 1);
            EXPECT_EQ(result == EffectTypeResult::replacedByNoEffect, replaced)
                << type << " beside " << other;
            EXPECT_EQ(program.effectType[0], replaced ? noEffect : type);
            // Giving way leaves the block for the redisplay to fit.
            if (replaced) {
                EXPECT_EQ(BlockOf(program, 1), (Block{50, 0, 0, 0, 0, 0, 9, 9}));
            }
        }
    }
}

TEST(EffectType, TypeOutsideTheListGivesWayToNoEffect) {
    for (int type : {34, 100, 255}) {
        M1Program program = ProgramWith(hall, type);
        EXPECT_EQ(ApplyEffectType(program, 2), EffectTypeResult::replacedByNoEffect);
        EXPECT_EQ(program.effectType[1], noEffect);
        EXPECT_EQ(ApplyEffectType(program, 2), EffectTypeResult::applied);
        EXPECT_EQ(BlockOf(program, 2), Block{});
    }
}

TEST(EffectType, HallClearsTheBytesItDoesNotUse) {
    M1Program program = ProgramWith(stereoDelay, hall);
    // Reverb 50, damp 40, pre delay 150 (unsigned), E/R 99, EQ high -12, EQ low +12.
    SetBlock(program, 1, {50, 77, 40, 150, 99, 77, 0xF4, 12});
    ChooseType(program, 1, hall);
    EXPECT_EQ(BlockOf(program, 1), (Block{50, 0, 40, 150, 99, 0, 0xF4, 12}));
}

TEST(EffectType, ValuesOutsideTheNewRangesBecomeZero) {
    M1Program program = ProgramWith(hall, hall);
    // Reverb 98 > 97, damp 100 > 99, pre delay 201, EQ high -13, EQ low 13.
    SetBlock(program, 1, {98, 0, 100, 201, 99, 0, 0xF3, 13});
    ApplyEffectType(program, 1);
    EXPECT_EQ(BlockOf(program, 1), (Block{0, 0, 0, 0, 99, 0, 0, 0}));
}

TEST(EffectType, StereoDelayKeepsEveryByteAndChecksTheSixteenBitDelays) {
    M1Program program = ProgramWith(hall, hall);
    // L delay 500, feedback -99, damp 99, R delay = former E/R level 99 and byte 5 = 0.
    SetBlock(program, 1, {0xF4, 0x01, 0x9D, 99, 99, 0, 0xF4, 12});
    ChooseType(program, 1, stereoDelay);
    EXPECT_EQ(BlockOf(program, 1), (Block{0xF4, 0x01, 0x9D, 99, 99, 0, 0xF4, 12}));

    // 501 and 99 + 256 * 2 = 611 are too long; feedback -100 is out of range.
    SetBlock(program, 1, {0xF5, 0x01, 0x9C, 99, 99, 2, 0xF4, 12});
    ApplyEffectType(program, 1);
    EXPECT_EQ(BlockOf(program, 1), (Block{0, 0, 0, 99, 0, 0, 0xF4, 12}));
}

TEST(EffectType, PreDelayOfTheDelayReverbCombinationsEndsAt150) {
    M1Program program = ProgramWith(delayHall, hall);
    SetBlock(program, 1, {0, 0, 0, 0, 0, 0, 0, 150});
    ApplyEffectType(program, 1);
    EXPECT_EQ(program.effectBlock[0][7], 150);
    program.effectBlock[0][7] = 151;
    ApplyEffectType(program, 1);
    EXPECT_EQ(program.effectBlock[0][7], 0);
}

TEST(EffectType, SpeedRatioZeroStaysAndEmphasisPointZeroBecomesOne) {
    M1Program program = ProgramWith(rotary, hall);
    SetBlock(program, 1, {99, 0, 0, 0, 0, 0, 0, 0});
    ApplyEffectType(program, 1);
    EXPECT_EQ(program.effectBlock[0][2], 0);
    program.effectBlock[0][2] = 0xF6; // -10
    ApplyEffectType(program, 1);
    EXPECT_EQ(program.effectBlock[0][2], 0xF6);
    program.effectBlock[0][2] = 0xF5; // -11
    ApplyEffectType(program, 1);
    EXPECT_EQ(program.effectBlock[0][2], 0);

    program = ProgramWith(exciter, hall);
    for (const auto& [before, after] : {std::pair{0, 1}, {11, 1}, {10, 10}, {1, 1}, {0x80, 1}}) {
        program.effectBlock[0][1] = static_cast<std::uint8_t>(before);
        ApplyEffectType(program, 1);
        EXPECT_EQ(program.effectBlock[0][1], after) << "emphasis " << before;
    }
}

TEST(EffectType, SpeedBeyondThirtyHertzBecomesZeroButKeepsItsWaveByte) {
    M1Program program = ProgramWith(chorus1, hall);
    SetBlock(program, 1, {0, 217, 0x01, 0, 0, 0, 0, 0});
    ApplyEffectType(program, 1);
    EXPECT_EQ(program.effectBlock[0][1], 0);
    EXPECT_EQ(program.effectBlock[0][2], 0x03); // triangle kept, chorus bit set
    program.effectBlock[0][1] = 216;
    ApplyEffectType(program, 1);
    EXPECT_EQ(program.effectBlock[0][1], 216);
}

TEST(EffectType, FixedFlagBitsKeepOnlyTheWaveLetter) {
    struct Case {
        int type;
        int byte;
        std::uint8_t before;
        std::uint8_t after;
    };
    const Case cases[] = {
        {chorus1, 2, 0xFF, 0x03},
        {chorus2, 2, 0xFE, 0x02},
        {stereoFlanger, 2, 0xFF, 0x07},
        {stereoFlanger, 2, 0x00, 0x06},
        {phaser1, 2, 0xFF, 0x01},
        {phaser2, 2, 0xFC, 0x02},
        {17, 2, 0xFE, 0x00},
        {18, 2, 0x01, 0x03},
        {delayChorus, 6, 0xFF, 0x01},
        {delayFlanger, 6, 0xFF, 0x04},
        {delayFlanger, 6, 0x00, 0x04},
        {equalizer, 6, 0xF4, 0xF4},
    };
    for (const Case& c : cases) {
        M1Program program = ProgramWith(c.type, hall);
        program.effectBlock[0][c.byte] = c.before;
        ApplyEffectType(program, 1);
        EXPECT_EQ(program.effectBlock[0][c.byte], c.after) << "type " << c.type;
    }
}

TEST(EffectType, NoEffectClearsTheWholeBlock) {
    M1Program program = ProgramWith(hall, noEffect);
    SetBlock(program, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    SetBlock(program, 1, {1, 2, 3, 4, 5, 6, 7, 8});
    ApplyEffectType(program, 2);
    EXPECT_EQ(BlockOf(program, 2), Block{});
    EXPECT_EQ(BlockOf(program, 1), (Block{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(EffectType, ApplyingTwiceChangesNothingMore) {
    std::mt19937 random(11);
    for (int type = 0; type < 34; ++type) {
        for (int round = 0; round < 50; ++round) {
            M1Program program = ProgramWith(type, delayTremolo);
            for (int effect = 1; effect <= 2; ++effect) {
                for (int i = 0; i < 8; ++i)
                    program.effectBlock[effect - 1][i] = static_cast<std::uint8_t>(random());
            }
            program.effectType[1] = static_cast<std::uint8_t>(random() % 34);
            // A type that gives way is fitted as "No Effect" on the next pass.
            if (ApplyEffectType(program, 1) == EffectTypeResult::replacedByNoEffect)
                ApplyEffectType(program, 1);
            const M1Program once = program;
            ApplyEffectType(program, 1);
            ASSERT_EQ(program, once) << "type " << type;
        }
    }
}

} // namespace
