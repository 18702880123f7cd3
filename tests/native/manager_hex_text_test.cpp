// The hex editor's text form of a message and its reading of what the user typed.
#include "manager/hex_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

namespace {

HexTextReading Read(const std::string& text) {
    return ReadHexText(text.data(), text.size());
}

std::string Format(const Bytes& bytes) {
    return FormatHexText(bytes.data(), bytes.size());
}

} // namespace

TEST(HexText, EveryByteIsTwoCapitalDigitsAndASpace) {
    EXPECT_EQ(Format({0xF0, 0x41, 0x10, 0x16, 0x12, 0xF7}), "F0 41 10 16 12 F7 ");
    EXPECT_EQ(Format({0x00, 0x0A, 0xAB, 0xFF}), "00 0A AB FF ");
    EXPECT_EQ(Format({}), "");
}

TEST(HexText, AMessageOfTheLongestEditableLengthFillsTheAcceptedText) {
    Bytes message(static_cast<std::size_t>(maxEditedMessageLength));
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = static_cast<unsigned char>(i * 37);
    const std::string text = Format(message);
    EXPECT_EQ(text.size(), maxHexTextLength);
    const HexTextReading back = Read(text);
    EXPECT_EQ(back.outcome, HexTextOutcome::message);
    EXPECT_EQ(back.bytes, message);
}

TEST(HexText, AllByteValuesComeBackFromTheirText) {
    Bytes every(256);
    for (int i = 0; i < 256; ++i)
        every[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    EXPECT_EQ(Read(Format(every)).bytes, every);
}

TEST(HexText, SpacesAreSkippedAndDoNotSeparatePairs) {
    const Bytes universal = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    EXPECT_EQ(Read("F0 7E 7F 06 01 F7").bytes, universal);
    EXPECT_EQ(Read("F07E7F0601F7").bytes, universal);
    EXPECT_EQ(Read("  F 07E7 F06  01F7   ").bytes, universal);
    EXPECT_EQ(Read("3 0").bytes, Bytes{0x30});
    EXPECT_EQ(Read("3 0").outcome, HexTextOutcome::message);
}

TEST(HexText, ALeftOverDigitIsAnErrorOnlyWhenPairsWereRead) {
    const HexTextReading odd = Read("F0 4");
    EXPECT_EQ(odd.outcome, HexTextOutcome::oddDigits);
    EXPECT_TRUE(odd.bytes.empty());
    EXPECT_EQ(Read("8F 1E 4").outcome, HexTextOutcome::oddDigits);
    // A single digit makes no byte: the text counts as empty.
    EXPECT_EQ(Read("4").outcome, HexTextOutcome::empty);
    EXPECT_EQ(Read(" 4 ").outcome, HexTextOutcome::empty);
}

TEST(HexText, NothingOrOnlySpacesIsEmpty) {
    EXPECT_EQ(Read("").outcome, HexTextOutcome::empty);
    EXPECT_EQ(Read("     ").outcome, HexTextOutcome::empty);
    EXPECT_TRUE(Read("   ").bytes.empty());
}

TEST(HexText, AnyOtherCharacterRefusesTheWholeText) {
    for (const std::string text : {"F0 G1", "F0 41 f7", "F0,41", "F0\t41", "F0\n41", "0x41",
                                   "F0 41 10 16 12 F7 -", "\xF0\x41"}) {
        const HexTextReading reading = Read(text);
        EXPECT_EQ(reading.outcome, HexTextOutcome::badCharacter) << text;
        EXPECT_TRUE(reading.bytes.empty()) << text;
    }
    // The stray character wins over a left-over digit.
    EXPECT_EQ(Read("F0 4 Z").outcome, HexTextOutcome::badCharacter);
    // A NUL inside the given length is a character like any other.
    EXPECT_EQ(ReadHexText("F0\0F7", 5).outcome, HexTextOutcome::badCharacter);
}

TEST(HexText, OnlyTheGivenLengthIsRead) {
    const char text[] = "F0 41 ZZ";
    const HexTextReading reading = ReadHexText(text, 5);
    EXPECT_EQ(reading.outcome, HexTextOutcome::message);
    EXPECT_EQ(reading.bytes, (Bytes{0xF0, 0x41}));
}
