#include "editor/effect_values.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int hall = 0, room = 3, eRef1 = 6, stereoDelay = 9, chorus1 = 11, equalizer = 19,
              exciter = 22, delayERef = 27, delayFlanger = 30;

ControlState Typed(std::string text) {
    ControlState box;
    box.text = std::move(text);
    return box;
}

// Effect 2 with the given type, so that effect 1's block shows any stray write.
M1Program ProgramWith(int type) {
    M1Program program{};
    program.effectType[0] = hall;
    program.effectType[1] = static_cast<std::uint8_t>(type);
    return program;
}

void ExpectAcceptedText(const M1Program& program, int slot, const std::string& text) {
    EXPECT_FALSE(CheckEffectValue(program, 2, slot, Typed(text)).has_value()) << text;
}

std::string ShownText(const M1Program& program, int slot) {
    ControlState box;
    EXPECT_FALSE(ShowEffectValue(program, 2, slot, box).has_value());
    return box.text;
}

// Stores the text into slot p of effect 2 and gives back the byte at the given offset.
int Stored(M1Program& program, int slot, const std::string& text, int byte) {
    const StoreOutcome outcome = StoreEffectValue(program, 2, slot, Typed(text));
    EXPECT_FALSE(outcome.message.has_value());
    ExpectAcceptedText(program, slot, text);
    return program.effectBlock[1][byte];
}

void ExpectRefused(M1Program& program, int slot, const std::string& text,
                   const std::string& message) {
    const M1Program before = program;
    EXPECT_FALSE(StoreEffectValue(program, 2, slot, Typed(text)).changed) << text;
    EXPECT_EQ(program, before) << text;
    const std::optional<InputMessage> shown = CheckEffectValue(program, 2, slot, Typed(text));
    ASSERT_TRUE(shown.has_value()) << text;
    EXPECT_EQ(shown->style, MessageStyle::inputError);
    EXPECT_EQ(shown->caption, "Please correct your input.");
    EXPECT_EQ(shown->text, message) << text;
}

const std::string speedMessage =
    "You haven't entered this number correctly. A valid number contains at least one decimal "
    "point. After this point, there is at least one digit. In addition, the number must be "
    "between 0.03 and 30.0. For instance, 0.09, 0.8, 3.00, 3.0, and 16.0 are all valid. 8, 0.01, "
    "and 31.03 are not.";
const std::string waveMessage =
    "This edit box requires both a number to indicate a frequency, and a letter to indicate "
    "which type of wave to use. The last letter of the edit box must be either T (triangle) or S "
    "(sine), for this reason. If there is anything after this letter, delete it.";

std::string RangeText(int lo, int hi) {
    return "You must choose a value between " + std::to_string(lo) + " and " + std::to_string(hi) +
           " for this setting.";
}

TEST(EffectValues, ReverbTimeIsDigitPointDigit) {
    M1Program program = ProgramWith(hall);
    program.effectBlock[1][0] = 50;
    EXPECT_EQ(Stored(program, 1, "9.9", 0), 97);
    EXPECT_EQ(ShownText(program, 1), "9.9");
    EXPECT_EQ(Stored(program, 1, "5.67", 0), 54);
    EXPECT_EQ(ShownText(program, 1), "5.6");
    EXPECT_EQ(Stored(program, 1, "0.2", 0), 0);
    EXPECT_EQ(ShownText(program, 1), "0.2");

    const std::string message =
        "You must choose a value between 0.2 and 9.9 for this setting. The value must be entered "
        "in the exact form <digit>.<digit>, i.e. 0.4 or 5.6. ";
    for (const char* text : {"10.0", "5", "0.1", "", ".5", "5.", "a.5"})
        ExpectRefused(program, 1, text, message);
}

TEST(EffectValues, ShortReverbEndsAtFourPointNine) {
    M1Program program = ProgramWith(room);
    EXPECT_EQ(Stored(program, 1, "4.9", 0), 47);
    ExpectRefused(program, 1, "5.0",
                  "You must choose a value between 0.2 and 4.9 for this setting. The value must "
                  "be entered in the exact form <digit>.<digit>, i.e. 0.4 or 5.6. ");
}

TEST(EffectValues, EarlyReflectionTimeInStepsOfTen) {
    M1Program program = ProgramWith(eRef1);
    EXPECT_EQ(Stored(program, 1, "800", 0), 70);
    EXPECT_EQ(ShownText(program, 1), "800");
    EXPECT_EQ(Stored(program, 1, "100", 0), 0);
    EXPECT_EQ(ShownText(program, 1), "100");
    EXPECT_EQ(Stored(program, 1, "805", 0), 70);
    EXPECT_EQ(Stored(program, 1, "459", 0), 35);
    for (const char* text : {"95", "810", "-100", "x", "0"})
        ExpectRefused(program, 1, text, RangeText(100, 800));

    program = ProgramWith(delayERef);
    EXPECT_EQ(Stored(program, 4, "400", 4), 30);
    ExpectRefused(program, 4, "410", RangeText(100, 400));
}

TEST(EffectValues, DelayTimeTakesTwoBytes) {
    M1Program program = ProgramWith(stereoDelay);
    StoreEffectValue(program, 2, 2, Typed("500"));
    EXPECT_EQ(program.effectBlock[1][4], 0xF4);
    EXPECT_EQ(program.effectBlock[1][5], 0x01);
    EXPECT_EQ(ShownText(program, 2), "500");
    StoreEffectValue(program, 2, 2, Typed("7"));
    EXPECT_EQ(program.effectBlock[1][5], 0x00);
    EXPECT_EQ(ShownText(program, 2), "7");
    ExpectRefused(program, 2, "501", RangeText(0, 500));
    ExpectRefused(program, 2, "-1", RangeText(0, 500));
}

TEST(EffectValues, NumbersAreUnsignedOnlyWhenTheRangeNeedsIt) {
    M1Program program = ProgramWith(hall);
    EXPECT_EQ(Stored(program, 3, "200", 3), 200);
    EXPECT_EQ(ShownText(program, 3), "200");
    ExpectRefused(program, 3, "201", RangeText(0, 200));
    EXPECT_EQ(Stored(program, 5, "-12", 7), 0xF4);
    EXPECT_EQ(ShownText(program, 5), "-12");
    ExpectRefused(program, 5, "13", RangeText(-12, 12));
}

TEST(EffectValues, SpeedSlot) {
    M1Program program = ProgramWith(delayFlanger); // slot 5 is a speed at byte 5
    const std::pair<const char*, int> accepted[] = {{"0.03", 0},   {"3.00", 99}, {"3.1", 100},
                                                    {"13.0", 199}, {"14", 200},  {"30", 216},
                                                    {"0.06", 1}};
    for (const auto& [text, b] : accepted) {
        StoreEffectValue(program, 2, 5, Typed(text));
        EXPECT_EQ(program.effectBlock[1][5], b) << text;
        EXPECT_EQ(ShownText(program, 5), text);
        ExpectAcceptedText(program, 5, text);
    }
    for (const char* text : {"0.01", "31", "8", "13.5", "10", "3.05", ""})
        ExpectRefused(program, 5, text, speedMessage);
}

TEST(EffectValues, SpeedWithWaveLetter) {
    M1Program program = ProgramWith(chorus1); // slot 2: speed at byte 1, wave in byte 2
    program.effectBlock[1][2] = 0x03;
    StoreEffectValue(program, 2, 2, Typed("1.5s"));
    EXPECT_EQ(program.effectBlock[1][1], 49);
    EXPECT_EQ(program.effectBlock[1][2], 0x02);
    EXPECT_EQ(ShownText(program, 2), "1.50S");

    StoreEffectValue(program, 2, 2, Typed("30T"));
    EXPECT_EQ(program.effectBlock[1][1], 216);
    EXPECT_EQ(program.effectBlock[1][2], 0x03);
    EXPECT_EQ(ShownText(program, 2), "30T");
    ExpectAcceptedText(program, 2, "3.1S");

    // The letter is looked at first; a bad number only counts once the letter is right.
    for (const char* text : {"1.5", "1.5sx", "", "1.5 ", "T1.5"})
        ExpectRefused(program, 2, text, waveMessage);
    for (const char* text : {"s", "0.01T", "31S", "13.5t"})
        ExpectRefused(program, 2, text, speedMessage);
}

TEST(EffectValues, EqualiserFrequencies) {
    M1Program program = ProgramWith(equalizer);
    EXPECT_EQ(Stored(program, 1, "1000", 4), 2);
    EXPECT_EQ(ShownText(program, 1), "1000");
    EXPECT_EQ(Stored(program, 1, "500", 4), 1);
    EXPECT_EQ(Stored(program, 3, "2000", 0), 2);
    EXPECT_EQ(ShownText(program, 3), "2000");
    EXPECT_EQ(Stored(program, 5, "4000", 5), 2);
    EXPECT_EQ(ShownText(program, 5), "4000");
    ExpectRefused(program, 1, "2000",
                  "The EQ's low FC can only take the values 250, 500, or 1000 (Hz).");
    ExpectRefused(program, 3, "250",
                  "The EQ's mid-range FC can only take the values 500, 1000 or 2000 (Hz).");
    ExpectRefused(program, 5, "500",
                  "The EQ's high FC can only take the values 1000, 2000, or 4000 (Hz).");
    program.effectBlock[1][4] = 0;
    EXPECT_EQ(ShownText(program, 1), "250");
}

TEST(EffectValues, EmphasisPointRunsFromOne) {
    M1Program program = ProgramWith(exciter);
    EXPECT_EQ(Stored(program, 2, "10", 1), 10);
    EXPECT_EQ(Stored(program, 2, "1", 1), 1);
    EXPECT_EQ(ShownText(program, 2), "1");
    ExpectRefused(program, 2, "0", RangeText(1, 10));
    ExpectRefused(program, 2, "11", RangeText(1, 10));
}

TEST(EffectValues, EmptySlotHidesItsBoxAndTakesNothing) {
    M1Program program = ProgramWith(eRef1); // slots 3 and 4 are empty
    ControlState box = Typed("old");
    EXPECT_FALSE(ShowEffectValue(program, 2, 3, box).has_value());
    EXPECT_FALSE(box.visible);
    EXPECT_FALSE(StoreEffectValue(program, 2, 3, Typed("5")).changed);
    EXPECT_FALSE(CheckEffectValue(program, 2, 4, Typed("anything")).has_value());
    EXPECT_EQ(program, ProgramWith(eRef1));

    // Slots outside 1-6 are empty as well.
    EXPECT_FALSE(StoreEffectValue(program, 2, 0, Typed("5")).changed);
    EXPECT_FALSE(StoreEffectValue(program, 2, 7, Typed("5")).changed);
}

TEST(EffectValues, EachEffectHasItsOwnBlock) {
    M1Program program = ProgramWith(stereoDelay);
    program.effectType[0] = stereoDelay;
    StoreEffectValue(program, 1, 1, Typed("300"));
    StoreEffectValue(program, 2, 1, Typed("5"));
    EXPECT_EQ(program.effectBlock[0][0], 300 & 0xFF);
    EXPECT_EQ(program.effectBlock[0][1], 300 >> 8);
    EXPECT_EQ(program.effectBlock[1][0], 5);
    ControlState box;
    ShowEffectValue(program, 1, 1, box);
    EXPECT_EQ(box.text, "300");
}

} // namespace
