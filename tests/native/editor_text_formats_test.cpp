#include "editor/box_number.h"
#include "editor/key_names.h"
#include "editor/speed_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(BoxNumber, ReadsSignedDecimalsThatMakeUpTheWholeText) {
    EXPECT_EQ(ReadBoxNumber("12"), 12);
    EXPECT_EQ(ReadBoxNumber("-99"), -99);
    EXPECT_EQ(ReadBoxNumber("+7"), 7);
    EXPECT_EQ(ReadBoxNumber("   5"), 5);
    EXPECT_EQ(ReadBoxNumber("  -0"), 0);
    EXPECT_EQ(ReadBoxNumber("007"), 7);
    EXPECT_EQ(ReadBoxNumber("2147483647"), 2147483647);
}

TEST(BoxNumber, AnythingElseLiesOutsideEveryRange) {
    for (const char* text : {"", " ", "-", "+", "5 ", "1a", "a1", "1.5", "- 5", "--5", "0x10",
                             "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_EQ(ReadBoxNumber(text), notANumber) << '"' << text << '"';
}

TEST(KeyNames, NamesRunFromCMinusOneToG9) {
    EXPECT_EQ(KeyName(0), "C-1");
    EXPECT_EQ(KeyName(11), "B-1");
    EXPECT_EQ(KeyName(12), "C0");
    EXPECT_EQ(KeyName(60), "C4");
    EXPECT_EQ(KeyName(61), "C#4");
    EXPECT_EQ(KeyName(127), "G9");
    // Bytes from the instrument above 127 still get a name.
    EXPECT_EQ(KeyName(128), "G#9");
    EXPECT_EQ(KeyName(255), "D#20");
}

TEST(KeyNames, ParsesLettersSharpsAndOctaves) {
    EXPECT_EQ(ParseKeyName("c3"), 48);
    EXPECT_EQ(ParseKeyName("C3"), 48);
    EXPECT_EQ(ParseKeyName("D#-1"), 3);
    EXPECT_EQ(ParseKeyName("G9"), 127);
    EXPECT_EQ(ParseKeyName("a#5"), 82);
    EXPECT_EQ(ParseKeyName("f6"), 89);
    EXPECT_EQ(ParseKeyName("C-1"), 0);
    EXPECT_EQ(ParseKeyName("B#3"), 60); // a sharp may cross into the next octave
}

TEST(KeyNames, RefusesWhatIsNoKeyOrLiesOutsideTheKeyboard) {
    for (const char* text : {"", "C", "C#", "C-", "C-2", "E-2", "J4", "h4", "#4", "G#10", "G#9",
                             "C4 ", " C4", "C44", "C##4", "Cb4", "C-10", "4C", "c#-"})
        EXPECT_FALSE(ParseKeyName(text).has_value()) << '"' << text << '"';
}

TEST(KeyNames, EveryKeyReadsBackFromItsName) {
    for (int key = 0; key <= 127; ++key)
        EXPECT_EQ(ParseKeyName(KeyName(key)), key) << KeyName(key);
}

TEST(SpeedScale, ShowsThreeScales) {
    EXPECT_EQ(SpeedText(0), "0.03");
    EXPECT_EQ(SpeedText(1), "0.06");
    EXPECT_EQ(SpeedText(49), "1.50");
    EXPECT_EQ(SpeedText(99), "3.00");
    EXPECT_EQ(SpeedText(100), "3.1");
    EXPECT_EQ(SpeedText(168), "9.9");
    EXPECT_EQ(SpeedText(169), "10.0");
    EXPECT_EQ(SpeedText(199), "13.0");
    EXPECT_EQ(SpeedText(200), "14");
    EXPECT_EQ(SpeedText(216), "30");
}

TEST(SpeedScale, ReadsEachScale) {
    EXPECT_EQ(ParseSpeedText("0.03"), 0);
    EXPECT_EQ(ParseSpeedText("3.00"), 99);
    EXPECT_EQ(ParseSpeedText("3.0"), 99);
    EXPECT_EQ(ParseSpeedText("3.1"), 100);
    EXPECT_EQ(ParseSpeedText("13.0"), 199);
    EXPECT_EQ(ParseSpeedText("14"), 200);
    EXPECT_EQ(ParseSpeedText("16.0"), 202);
    EXPECT_EQ(ParseSpeedText("30"), 216);
    EXPECT_EQ(ParseSpeedText("1.5"), 49);
    EXPECT_EQ(ParseSpeedText("03.5"), 104);
    // Between two steps of the first scale the step below counts.
    EXPECT_EQ(ParseSpeedText("0.8"), 25);
    EXPECT_EQ(ParseSpeedText("0.05"), 0);
    // Characters after the scale's form are not looked at.
    EXPECT_EQ(ParseSpeedText("0.09xyz"), 2);
}

TEST(SpeedScale, RefusesTextOffTheScales) {
    for (const char* text :
         {"", "0.01", "0.02", "31", "31.03", "99", "8", "5", ".5", "a.5", "3.a", "1.x5", "x4",
          "1x.5", "0.", "-1.0",
          // between the scales, where the byte would show another number
          "3.01", "3.05", "3.09", "13.1", "13.5", "13.9", "10", "13", "09", "00.0", "02.9", "05.0"})
        EXPECT_FALSE(ParseSpeedText(text).has_value()) << '"' << text << '"';
}

TEST(SpeedScale, EverySpeedReadsBackFromItsText) {
    for (int b = 0; b <= speedTop; ++b)
        EXPECT_EQ(ParseSpeedText(SpeedText(b)), b) << SpeedText(b);
}

} // namespace
