#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "librarian/korg_m1_definition.h"
#include "librarian/string_language.h"

using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

namespace {

const std::string shippedFile = std::string(TALVANE_SOURCE_DIR) + "/librarian/Korg M1.QXInstrument";

// An M1 program dump as the instrument sends it: header, the 143 program bytes packed seven at a
// time behind a byte of their high bits, F7.
Bytes M1Dump(int channel, const std::string& name) {
    Bytes program(143, 0);
    for (std::size_t i = 0; i < 10; ++i)
        program[i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : ' ';
    program[20] = 0xF4; // a byte with its high bit set, to see the packing at work
    Bytes dump(170, 0);
    const std::uint8_t header[] = {0xF0, 0x42, static_cast<std::uint8_t>(0x30 + channel - 1), 0x19,
                                   0x40};
    std::memcpy(dump.data(), header, sizeof header);
    for (std::size_t i = 0; i < program.size(); ++i) {
        std::size_t group = i / 7, place = i % 7;
        dump[5 + 8 * group + place + 1] = program[i] & 0x7F;
        if (program[i] & 0x80)
            dump[5 + 8 * group] |= static_cast<std::uint8_t>(1 << place);
    }
    dump[169] = 0xF7;
    return dump;
}

// Reads the name the way the Librarian does: each number of the offsets text, once a non-digit
// ends it, picks one character of the stored data.
std::string GrabName(const char* offsets, const Bytes& data) {
    std::string name;
    int number = -1;
    for (const char* c = offsets; *c && name.size() < 29; ++c) {
        if (*c >= '0' && *c <= '9') {
            number = (number < 0 ? 0 : number * 10) + (*c - '0');
        } else if (number >= 0) {
            name += static_cast<char>(data.at(static_cast<std::size_t>(number)));
            number = -1;
        }
    }
    return name;
}

class ShippedM1Definition : public ::testing::Test {
  protected:
    void SetUp() override {
        instrument = CurrentInstrument{};
        replyValues = ReplyValues{};
        ASSERT_TRUE(LoadInstrumentDefinition(shippedFile));
    }
};

TEST_F(ShippedM1Definition, TheFileIsTheGeneratedRecord) {
    std::ifstream in(shippedFile, std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    InstrumentDefinition generated = KorgM1Definition();
    ASSERT_EQ(file.size(), sizeof generated) << "a new definition holds the record only";
    EXPECT_EQ(std::memcmp(file.data(), &generated, sizeof generated), 0)
        << "run write_korg_m1_definition to bring the shipped file up to date";
}

TEST_F(ShippedM1Definition, DescribesTheM1) {
    const InstrumentDefinition& d = instrument.definition;
    EXPECT_EQ(instrument.name, "Korg M1");
    EXPECT_EQ(d.channel, 1);
    EXPECT_EQ(d.rangeStart, 0);
    EXPECT_EQ(d.rangeEnd, 99);
    EXPECT_EQ(d.programSize, 170);
    EXPECT_EQ(d.nameGrabbing, 1);
    EXPECT_TRUE(CheckDefinitionString(FieldText(d.requestString), StringKind::request));
    EXPECT_TRUE(CheckDefinitionString(FieldText(d.sendString), StringKind::send));
    EXPECT_EQ(FieldText(d.nameOffsets).back(), ' ');
    EXPECT_THAT(std::string(FieldText(d.notes)), ::testing::HasSubstr("F0 42 3n 19 11 00 pp F7"));
}

TEST_F(ShippedM1Definition, RequestSelectsTheProgramAndAsksForItsDump) {
    for (std::int32_t program : {0, 42, 99}) {
        BuiltMessage built = BuildRequestMessage(instrument.definition, program);
        EXPECT_TRUE(built.errors.empty());
        EXPECT_THAT(built.bytes, ElementsAreArray(Bytes{0xC0, static_cast<std::uint8_t>(program),
                                                        0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7}));
    }
    EXPECT_EQ(replyValues.expectedReplySize, 170);
    EXPECT_EQ(replyValues.replyDataOffset, 0);

    instrument.definition.channel = 5;
    EXPECT_THAT(BuildRequestMessage(instrument.definition, 7).bytes,
                ElementsAreArray(Bytes{0xC4, 7, 0xF0, 0x42, 0x34, 0x19, 0x10, 0xF7}));
}

TEST_F(ShippedM1Definition, SendLoadsTheDumpAndWritesItIntoTheProgram) {
    Bytes dump = M1Dump(1, "Strings  A");
    for (std::int32_t program : {0, 42, 99}) {
        BuiltMessage built = BuildSendMessage(instrument.definition, program, dump.data());
        EXPECT_TRUE(built.errors.empty());
        Bytes expected = {0xC0, static_cast<std::uint8_t>(program)};
        expected.insert(expected.end(), dump.begin(), dump.end());
        for (std::uint8_t b : {0xF0, 0x42, 0x30, 0x19, 0x11, 0x00})
            expected.push_back(b);
        expected.push_back(static_cast<std::uint8_t>(program));
        expected.push_back(0xF7);
        EXPECT_THAT(built.bytes, ElementsAreArray(expected)) << "program " << program;
    }
}

TEST_F(ShippedM1Definition, NameOffsetsPickTheTenNameCharactersOutOfTheDump) {
    EXPECT_EQ(GrabName(instrument.definition.nameOffsets, M1Dump(1, "Strings  A")), "Strings  A");
    EXPECT_EQ(GrabName(instrument.definition.nameOffsets, M1Dump(1, "0123456789")), "0123456789");
}

} // namespace
