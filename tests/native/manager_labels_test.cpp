// Maker bytes, maker names and the two label forms of the message store.
#include "manager/maker_name.h"

#include <gtest/gtest.h>

#include <vector>

using Bytes = std::vector<unsigned char>;

namespace {

unsigned char MakerOf(const Bytes& bytes) {
    return FindMakerByte(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

} // namespace

TEST(MakerByte, IsTheByteAfterTheFirstF0AmongTheFirstTenBytes) {
    EXPECT_EQ(MakerOf({0xF0, 0x41, 0x10, 0xF7}), 0x41);
    EXPECT_EQ(MakerOf({0x00, 0x00, 0xF0, 0x42, 0xF0, 0x43}), 0x42);
    // F0 at position 9 is still looked at; its maker byte is the eleventh byte.
    EXPECT_EQ(MakerOf({0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x47, 0xF7}), 0x47);
    // Only the first ten bytes are searched.
    EXPECT_EQ(MakerOf({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x41}), 0);
}

TEST(MakerByte, IsZeroWithoutF0OrWhenF0IsTheLastByte) {
    EXPECT_EQ(MakerOf({}), 0);
    EXPECT_EQ(MakerOf({0x41, 0x42, 0xF7}), 0);
    EXPECT_EQ(MakerOf({0x00, 0xF0}), 0);
    EXPECT_EQ(MakerOf({0xF0}), 0);
}

TEST(MakerName, NamesTheKnownMakersAndWritesOthersInHex) {
    EXPECT_EQ(MakerName(0x00), "[?]");
    EXPECT_EQ(MakerName(0x01), "Sequential");
    EXPECT_EQ(MakerName(0x07), "Kurzweil");
    EXPECT_EQ(MakerName(0x0F), "Ensoniq");
    EXPECT_EQ(MakerName(0x10), "Oberheim");
    EXPECT_EQ(MakerName(0x40), "Kawai");
    EXPECT_EQ(MakerName(0x41), "Roland");
    EXPECT_EQ(MakerName(0x42), "Korg");
    EXPECT_EQ(MakerName(0x43), "Yamaha");
    EXPECT_EQ(MakerName(0x44), "Casio");
    EXPECT_EQ(MakerName(0x47), "Akai");
    EXPECT_EQ(MakerName(0x45), "45");
    EXPECT_EQ(MakerName(0x7E), "7e");
    EXPECT_EQ(MakerName(0x05), "5");
    EXPECT_EQ(MakerName(0xFF), "ff");
}

TEST(MessageLabel, ReceivedAndUserForms) {
    const Bytes roland = {0xF0, 0x41, 0x10, 0x16, 0x12, 0xF7};
    EXPECT_EQ(MessageLabel(1024, MakerOf(roland), LabelForm::received), "1024 bytes [Roland]");
    EXPECT_EQ(MessageLabel(6, 0x42, LabelForm::user), "6 user [Korg]");
    EXPECT_EQ(MessageLabel(9, MakerOf({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0, 0, 0, 0xF7}),
                           LabelForm::received),
              "9 bytes [7e]");
    const Bytes noF0(12, 0x11);
    EXPECT_EQ(MessageLabel(12, MakerOf(noF0), LabelForm::received), "12 bytes [[?]]");
    EXPECT_EQ(MessageLabel(0, 0, LabelForm::received), "0 bytes [[?]]");
    EXPECT_EQ(MessageLabel(2147483647, 0x43, LabelForm::user), "2147483647 user [Yamaha]");
}
