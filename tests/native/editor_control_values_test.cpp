#include "editor/control_map.h"
#include "editor/control_values.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ControlState Typed(std::string text) {
    ControlState box;
    box.text = std::move(text);
    return box;
}

ControlState Ticked(bool ticked) {
    ControlState box;
    box.ticked = ticked;
    return box;
}

ControlState Selected(int selection) {
    ControlState box;
    box.selection = selection;
    return box;
}

ControlState Shown(const M1Program& program, int controlId, int oscillator = 1,
                   ControlState box = {}) {
    const ControlMapEntry* entry = FindControlEntry(controlId);
    EXPECT_NE(entry, nullptr) << controlId;
    if (entry) {
        EXPECT_FALSE(ShowControl(*entry, program, oscillator, box).has_value());
    }
    return box;
}

void ExpectInputError(const std::optional<InputMessage>& message, const std::string& text) {
    ASSERT_TRUE(message.has_value()) << "expected: " << text;
    EXPECT_EQ(message->style, MessageStyle::inputError);
    EXPECT_EQ(message->caption, "Please correct your input.");
    EXPECT_EQ(message->text, text);
}

const std::string keyNameMessage =
    "To enter key names, you must use the format:\n\n<key letter> [optional # sign] "
    "<octave>\n\nOnly keys in the range C-1 - G9 are valid. For example, A#5, c3, f6, D#-1 are "
    "all valid; F#0 isn't, and nor are E-2 or G#10. ";
const std::string octaveMessage = "For the oscillator's octave, you can choose from 4', 8', or "
                                  "16' (don't type  the '). No other numbers are available.";

TEST(ControlValues, NumberBoxStoresOnlyInsideItsRange) {
    M1Program program{};
    EXPECT_TRUE(StoreControl(program, 3105, Typed("-12"), 1).changed);
    EXPECT_EQ(program.aftertouchPitch, -12);
    EXPECT_EQ(Shown(program, 3105).text, "-12");

    for (const char* text : {"13", "-13", "", "x", "5 "}) {
        EXPECT_FALSE(StoreControl(program, 3105, Typed(text), 1).changed) << text;
        ExpectInputError(CheckControl(3105, Typed(text)),
                         "You must choose a value between -12 and 12 for this setting.");
    }
    EXPECT_EQ(program.aftertouchPitch, -12);
    EXPECT_FALSE(CheckControl(3105, Typed("12")).has_value());

    // Effect levels run up to 100.
    StoreControl(program, 3136, Typed("100"), 1);
    EXPECT_EQ(program.effect1ToLeft, 100);
    ExpectInputError(CheckControl(3136, Typed("101")),
                     "You must choose a value between 0 and 100 for this setting.");
}

TEST(ControlValues, StoringTheSameValueAgainIsNoChange) {
    M1Program program{};
    EXPECT_TRUE(StoreControl(program, 3122, Typed("40"), 1).changed);
    EXPECT_FALSE(StoreControl(program, 3122, Typed("40"), 1).changed);
    EXPECT_EQ(program.pitchMgFrequency, 40);
}

TEST(ControlValues, OscillatorBoxesFollowTheSelectedOscillator) {
    M1Program program{};
    StoreControl(program, 3221, Typed("-99"), 1);
    StoreControl(program, 3221, Typed("42"), 2);
    EXPECT_EQ(program.oscillator[0].pitchEgStartLevel, -99);
    EXPECT_EQ(program.oscillator[1].pitchEgStartLevel, 42);
    EXPECT_EQ(Shown(program, 3221, 1).text, "-99");
    EXPECT_EQ(Shown(program, 3221, 2).text, "42");

    // Oscillator 2's delay and interval boxes are not in the oscillator block.
    StoreControl(program, 3204, Typed("7"), 2);
    EXPECT_EQ(program.interval, 7);
}

TEST(ControlValues, PanZeroDisablesTheBoxAndCannotBeTyped) {
    M1Program program{};
    ControlState box = Typed("17");
    box = Shown(program, 3130, 1, box);
    EXPECT_FALSE(box.enabled);
    EXPECT_EQ(box.text, "17"); // left as it was

    program.output3Pan = 33;
    box = Shown(program, 3130, 1, box);
    EXPECT_TRUE(box.enabled);
    EXPECT_EQ(box.text, "33");

    EXPECT_FALSE(StoreControl(program, 3130, Typed("0"), 1).changed);
    EXPECT_EQ(program.output3Pan, 33);
    ExpectInputError(CheckControl(3130, Typed("0")),
                     "You must choose a value between 1 and 65 for this setting.");
    ExpectInputError(CheckControl(3131, Typed("66")),
                     "You must choose a value between 1 and 65 for this setting.");
    EXPECT_TRUE(StoreControl(program, 3131, Typed("65"), 1).changed);
    EXPECT_EQ(program.output4Pan, 65);
    EXPECT_FALSE(CheckControl(3131, Typed("1")).has_value());
}

TEST(ControlValues, OutputCheckBoxControlsItsPanBox) {
    M1Program program{};
    program.output4Pan = 20;
    EXPECT_TRUE(Shown(program, 3133).ticked);
    EXPECT_FALSE(Shown(program, 3132).ticked);

    StoreOutcome outcome = StoreControl(program, 3133, Ticked(false), 1);
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(program.output4Pan, 0);
    EXPECT_EQ(outcome.panBox, 3131);
    EXPECT_FALSE(outcome.panBoxEnabled);

    // Ticking waits for a pan value.
    outcome = StoreControl(program, 3132, Ticked(true), 1);
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(outcome.panBox, 3130);
    EXPECT_TRUE(outcome.panBoxEnabled);
    EXPECT_EQ(program.output3Pan, 0);
    EXPECT_FALSE(CheckControl(3132, Ticked(true)).has_value());
}

TEST(ControlValues, RadioButtonsSetTheLowTwoBitsAndKeepTheRest) {
    M1Program program{};
    program.oscMode = 0xF0;
    // Another oscillator mode shows the whole program again; the same one changes nothing.
    EXPECT_TRUE(StoreControl(program, 3101, Ticked(true), 1).redisplayAll);
    EXPECT_FALSE(StoreControl(program, 3101, Ticked(true), 1).redisplayAll);
    EXPECT_EQ(program.oscMode, 0xF1);
    EXPECT_TRUE(Shown(program, 3101).ticked);
    EXPECT_FALSE(Shown(program, 3100).ticked);
    // A button that is not ticked does not stand for its value.
    EXPECT_FALSE(StoreControl(program, 3102, Ticked(false), 1).changed);
    StoreControl(program, 3102, Ticked(true), 1);
    EXPECT_EQ(program.oscMode, 0xF2);

    // The MG wave buttons are not in numeric order on the dialog.
    program.pitchMgFlags = 0xE0;
    EXPECT_FALSE(StoreControl(program, 3118, Ticked(true), 1).redisplayAll);
    EXPECT_EQ(program.pitchMgFlags, 0xE3);
    StoreControl(program, 3125, Ticked(true), 2);
    EXPECT_EQ(program.cutoffMgFlags, 0x02);
}

TEST(ControlValues, CheckBoxesOwnOneBitEach) {
    M1Program program{};
    StoreControl(program, 3104, Ticked(true), 1); // mono, bit 0
    StoreControl(program, 3103, Ticked(true), 1); // hold, bit 1
    EXPECT_EQ(program.assignFlags, 0x03);
    StoreControl(program, 3104, Ticked(false), 1);
    EXPECT_EQ(program.assignFlags, 0x02);
    EXPECT_FALSE(Shown(program, 3104).ticked);
    EXPECT_TRUE(Shown(program, 3103).ticked);

    StoreControl(program, 3157, Ticked(true), 1); // key sync, bit 7
    EXPECT_EQ(program.pitchMgFlags, 0x80);

    // MG enable: bit 5 for oscillator 1, bit 6 for oscillator 2.
    StoreControl(program, 3203, Ticked(true), 2);
    EXPECT_EQ(program.cutoffMgFlags, 0x40);
    EXPECT_FALSE(Shown(program, 3203, 1).ticked);
    EXPECT_TRUE(Shown(program, 3203, 2).ticked);
    StoreControl(program, 3203, Ticked(true), 1);
    StoreControl(program, 3203, Ticked(false), 2);
    EXPECT_EQ(program.cutoffMgFlags, 0x20);
}

TEST(ControlValues, ParallelIsTickedWhileBitFourIsClear) {
    M1Program program{};
    program.effectPlacement = 0xFF;
    EXPECT_FALSE(Shown(program, 3140).ticked);
    StoreControl(program, 3140, Ticked(true), 1);
    EXPECT_EQ(program.effectPlacement, 0xEF);
    EXPECT_TRUE(Shown(program, 3140).ticked);
    StoreControl(program, 3140, Ticked(false), 1);
    EXPECT_EQ(program.effectPlacement, 0xFF);
}

TEST(ControlValues, MultisoundBoxUsesByte12Or14) {
    M1Program program{};
    StoreControl(program, 3207, Selected(99), 1);
    StoreControl(program, 3207, Selected(5), 2);
    EXPECT_EQ(program.osc1Multisound, 99);
    EXPECT_EQ(program.osc2Multisound, 5);
    EXPECT_EQ(Shown(program, 3207, 2).selection, 5);
    for (int bad : {-1, 100, 1000})
        EXPECT_FALSE(StoreControl(program, 3207, Selected(bad), 1).changed) << bad;
    program.osc1Multisound = 120;
    EXPECT_EQ(Shown(program, 3207, 1, Selected(7)).selection, -1);
}

TEST(ControlValues, EffectTypeBoxStoresTheTypeAndFitsBothEffects) {
    M1Program program{};
    program.effectBlock[0][5] = 1;
    program.effectBlock[1][5] = 1;
    const StoreOutcome outcome = StoreControl(program, 3135, Selected(9), 1);
    EXPECT_TRUE(outcome.changed);
    EXPECT_TRUE(outcome.effectTypesApplied);
    EXPECT_FALSE(outcome.redisplayAll);
    EXPECT_EQ(program.effectType[1], 9);
    EXPECT_EQ(program.effectBlock[1][5], 1); // a delay of 256 in Stereo Delay's bytes 4 and 5
    EXPECT_EQ(program.effectBlock[0][5], 0); // Hall does not
    EXPECT_EQ(Shown(program, 3135).selection, 9);
    EXPECT_FALSE(StoreControl(program, 3134, Selected(34), 1).changed);
    EXPECT_FALSE(StoreControl(program, 3134, Selected(-1), 1).effectTypesApplied);
}

TEST(ControlValues, KeyNameBoxes) {
    M1Program program{};
    EXPECT_TRUE(StoreControl(program, 3209, Typed("c3"), 1).changed);
    EXPECT_EQ(program.oscillator[0].ampKeyCentre, 48);
    StoreControl(program, 3231, Typed("D#-1"), 2);
    EXPECT_EQ(program.oscillator[1].cutoffKeyCentre, 3);
    EXPECT_EQ(Shown(program, 3231, 2).text, "D#-1");
    EXPECT_EQ(Shown(program, 3209).text, "C3");

    for (const char* text : {"E-2", "J4", "G#10", "G#9", ""}) {
        EXPECT_FALSE(StoreControl(program, 3209, Typed(text), 1).changed) << text;
        ExpectInputError(CheckControl(3209, Typed(text)), keyNameMessage);
    }
    EXPECT_TRUE(StoreControl(program, 3209, Typed("G9"), 1).changed);
    EXPECT_EQ(program.oscillator[0].ampKeyCentre, 127);
    EXPECT_FALSE(CheckControl(3209, Typed("G9")).has_value());
}

TEST(ControlValues, OctaveBoxTakesFourEightOrSixteen) {
    M1Program program{};
    StoreControl(program, 3229, Typed("4"), 1);
    EXPECT_EQ(program.octave, 1);
    EXPECT_EQ(Shown(program, 3229).text, "4");
    StoreControl(program, 3229, Typed("16"), 2); // both oscillators edit byte 13
    EXPECT_EQ(program.octave, -1);
    EXPECT_EQ(Shown(program, 3229, 2).text, "16");
    StoreControl(program, 3229, Typed("8"), 1);
    EXPECT_EQ(program.octave, 0); // the instrument's own value for 8'
    EXPECT_EQ(Shown(program, 3229).text, "8");
    program.octave = static_cast<std::int8_t>(0x80);
    EXPECT_EQ(Shown(program, 3229).text, "8");

    program.octave = 1;
    for (const char* text : {"2", "0", "-4", "32", "8'", ""}) {
        EXPECT_FALSE(StoreControl(program, 3229, Typed(text), 1).changed) << text;
        ExpectInputError(CheckControl(3229, Typed(text)), octaveMessage);
    }
    for (const char* text : {"4", "8", "16"})
        EXPECT_FALSE(CheckControl(3229, Typed(text)).has_value()) << text;
}

TEST(ControlValues, TimeTrackControlsShareTwoSwitchBytesByStage) {
    M1Program program{};
    program.oscillator[0].cutoffEgTimeSwitches[0] = 0x2E; // decay negative, slope, release on
    program.oscillator[0].cutoffEgTimeSwitches[1] = 0x00;
    ControlState control;
    control.tracking = -1;
    control.velocity = +1;
    EXPECT_TRUE(StoreControl(program, 3245, control, 1).changed); // attack, stage 0
    EXPECT_EQ(program.oscillator[0].cutoffEgTimeSwitches[0], 0x3F);
    EXPECT_EQ(program.oscillator[0].cutoffEgTimeSwitches[1], 0x01);

    control.tracking = 0;
    control.velocity = -1;
    StoreControl(program, 3252, control, 2); // amplitude release, stage 3, oscillator 2
    EXPECT_EQ(program.oscillator[1].ampEgTimeSwitches[0], 0x00);
    EXPECT_EQ(program.oscillator[1].ampEgTimeSwitches[1], 0x88);

    const ControlState shown = Shown(program, 3252, 2);
    EXPECT_EQ(shown.tracking, 0);
    EXPECT_EQ(shown.velocity, -1);
    EXPECT_EQ(Shown(program, 3245).tracking, -1);
    EXPECT_EQ(Shown(program, 3246).tracking, -1);
    EXPECT_EQ(Shown(program, 3247).tracking, +1);
}

TEST(ControlValues, EveryTimeSwitchStateSurvivesStoreAndShow) {
    for (int id = 3245; id <= 3252; ++id) {
        for (int oscillator = 1; oscillator <= 2; ++oscillator) {
            for (int tracking = -1; tracking <= 1; ++tracking) {
                for (int velocity = -1; velocity <= 1; ++velocity) {
                    M1Program program{};
                    ControlState control;
                    control.tracking = tracking;
                    control.velocity = velocity;
                    StoreControl(program, id, control, oscillator);
                    const ControlState shown = Shown(program, id, oscillator);
                    EXPECT_EQ(shown.tracking, tracking) << id;
                    EXPECT_EQ(shown.velocity, velocity) << id;
                }
            }
        }
    }
}

TEST(ControlValues, SwitchPatternsMatchTheTimeTrackControl) {
    EXPECT_EQ(SwitchPattern(0), 0x00);
    EXPECT_EQ(SwitchPattern(1), 0x01);
    EXPECT_EQ(SwitchPattern(-1), 0x11);
    EXPECT_EQ(SwitchState(0x00), 0);
    EXPECT_EQ(SwitchState(0x01), 1);
    EXPECT_EQ(SwitchState(0x11), -1);
    EXPECT_EQ(SwitchState(0x10), 0); // "negative" without "on" is off
}

TEST(ControlValues, ControlsWithoutEntryDoNothing) {
    M1Program program{};
    const StoreOutcome outcome = StoreControl(program, 3145, Typed("5"), 1);
    EXPECT_FALSE(outcome.changed);
    EXPECT_FALSE(outcome.message.has_value());
    EXPECT_FALSE(CheckControl(100, Typed("x")).has_value());
    EXPECT_EQ(program, M1Program{});
}

TEST(ControlValues, UnknownKindIsAProgramError) {
    const ControlMapEntry broken = {3999, 20, 42, 0, ""};
    M1Program program{};
    ControlState box;
    const std::optional<InputMessage> message = ShowControl(broken, program, 1, box);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->style, MessageStyle::programError);
    EXPECT_EQ(message->caption, "debug");
    EXPECT_EQ(message->text, "Program error.");
    const ControlMapEntry nothing = {3999, 20, 0, 0, ""};
    EXPECT_FALSE(ShowControl(nothing, program, 1, box).has_value());
}

TEST(ControlValues, ClearedProgramShowsHallEightFeetAndSingleMode) {
    M1Program program;
    ClearProgram(program);
    EXPECT_EQ(Shown(program, 3134).selection, 0);
    EXPECT_EQ(Shown(program, 3135).selection, 0);
    EXPECT_EQ(Shown(program, 3229).text, "8");
    EXPECT_TRUE(Shown(program, 3100).ticked);
    EXPECT_FALSE(Shown(program, 3101).ticked);
    EXPECT_TRUE(Shown(program, 3140).ticked);
    EXPECT_EQ(Shown(program, 3209).text, "C-1");
}

} // namespace
