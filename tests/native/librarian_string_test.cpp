#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "librarian/reply_assembly.h"
#include "librarian/string_language.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

namespace {

InstrumentDefinition Definition(const char* request, const char* send = "", int channel = 3,
                                int programSize = 32) {
    InstrumentDefinition definition{};
    definition.channel = channel;
    definition.programSize = programSize;
    SetFieldText(definition.requestString, request);
    SetFieldText(definition.sendString, send);
    return definition;
}

BuiltMessage Request(const char* text, std::int32_t program, int channel = 3) {
    return BuildRequestMessage(Definition(text, "", channel), program);
}

Bytes Counting(int count, int first = 0) {
    Bytes data(count);
    std::iota(data.begin(), data.end(), static_cast<std::uint8_t>(first));
    return data;
}

class StringLanguage : public ::testing::Test {
  protected:
    void SetUp() override { replyValues = ReplyValues{}; }
};

TEST_F(StringLanguage, RequestExampleBuildsThirteenBytesAndSetsTheReplyValues) {
    BuiltMessage built = Request("F0 41 1! 16 11 [#72*2+256] 00 00 00 20 [$5-10] F7 ;42,8", 5);
    EXPECT_THAT(built.bytes, ElementsAre(0xF0, 0x41, 0x12, 0x16, 0x11, 0x02, 0x0A, 0x00, 0x00, 0x00,
                                         0x20, 0x54, 0xF7));
    EXPECT_TRUE(built.errors.empty());
    EXPECT_EQ(replyValues.expectedReplySize, 42);
    EXPECT_EQ(replyValues.replyDataOffset, 8);
    EXPECT_EQ(replyValues.lastChecksum, 0x54);
}

TEST_F(StringLanguage, SendExampleInsertsTheDataAndChecksumsOverIt) {
    InstrumentDefinition definition = Definition("", "F0 41 1! 16 12 [#72*2+256] 00 % [$5-39] F7");
    Bytes data = Counting(32);
    BuiltMessage built = BuildSendMessage(definition, 5, data.data());
    Bytes expected = {0xF0, 0x41, 0x12, 0x16, 0x12, 0x02, 0x0A, 0x00};
    expected.insert(expected.end(), data.begin(), data.end());
    expected.push_back(0x04);
    expected.push_back(0xF7);
    EXPECT_THAT(built.bytes, ElementsAreArray(expected));
    EXPECT_TRUE(built.errors.empty());
}

TEST_F(StringLanguage, ProgramNumberSectionsAndTheHashByte) {
    struct Case {
        const char* text;
        std::int32_t program;
        Bytes bytes;
    } cases[] = {
        {"[#72*23]", 10, {0x01, 0x66}},
        {"[#72*4+23]", 10, {0x00, 0x3F}},
        {"[#72+4]", 10, {0x00, 0x0E}},
        {"[#71+0]", 130, {0x02}},
        {"[#72+0]", 300, {0x02, 0x2C}},
        {"[#27+0]", 300, {0x2C, 0x02}},
        {"#", 300, {0x2C}},
        {"#", 200, {0xC8}},
        {"#", 256, {0x00}},
        {"[#72*]", 77, {0x00, 0x00}},
        {"[#72*]", 0, {0x00, 0x00}},
        {"[#72+0]", 20000, {0x1C, 0x20}},
        {"[#27+0]", 16384 + 129, {0x01, 0x01}},
    };
    for (const Case& c : cases) {
        BuiltMessage built = Request(c.text, c.program);
        EXPECT_THAT(built.bytes, ElementsAreArray(c.bytes)) << c.text << " program " << c.program;
        EXPECT_TRUE(built.errors.empty()) << c.text;
    }
}

TEST_F(StringLanguage, ChannelNibbleAndIgnoredSpaces) {
    EXPECT_THAT(Request("F0 4!  7 !", 0, 16).bytes, ElementsAre(0xF0, 0x4F, 0x7F));
    EXPECT_THAT(Request("c!", 0, 1).bytes, ElementsAre(0xC0));
}

TEST_F(StringLanguage, EmptyRequestBuildsNothingAndKeepsTheReplyValues) {
    replyValues.expectedReplySize = 170;
    replyValues.replyDataOffset = 3;
    BuiltMessage built = Request("", 4);
    EXPECT_TRUE(built.bytes.empty());
    EXPECT_TRUE(built.errors.empty());
    EXPECT_EQ(replyValues.expectedReplySize, 170);
    EXPECT_EQ(replyValues.replyDataOffset, 3);
}

TEST_F(StringLanguage, ChecksumRanges) {
    // A first number above the last covers nothing: the checksum is 0.
    EXPECT_THAT(Request("F0 01 02 03 [$4-2]", 0).bytes, ElementsAre(0xF0, 1, 2, 3, 0x00));
    // No first number means position 0: F0+01+02+03 = 246, 246 mod 128 = 118, 128-118 = 10.
    EXPECT_THAT(Request("F0 01 02 03 [$-3]", 0).bytes, ElementsAre(0xF0, 1, 2, 3, 0x0A));
    // Bytes above 7F count with their whole value: F0+F7 = 487, mod 128 = 103.
    EXPECT_THAT(Request("F0 F7 [$0-1]", 0).bytes, ElementsAre(0xF0, 0xF7, 25));
    // The covered bytes and the checksum add up to a multiple of 128.
    BuiltMessage built = Request("10 20 30 [$0-2] 7F [$3-4]", 0);
    ASSERT_EQ(built.bytes.size(), 6u);
    EXPECT_EQ((0x10 + 0x20 + 0x30 + built.bytes[3]) % 128, 0);
    EXPECT_EQ((built.bytes[3] + 0x7F + built.bytes[5]) % 128, 0);
    EXPECT_EQ(replyValues.lastChecksum, built.bytes[5]);
}

TEST_F(StringLanguage, ChecksumCoveringItselfIsRefusedAndLeftOut) {
    replyValues.lastChecksum = 0x33;
    BuiltMessage built = Request("F0 01 02 03 04 [$0-5] F7", 0);
    EXPECT_THAT(built.bytes, ElementsAre(0xF0, 1, 2, 3, 4, 0xF7));
    EXPECT_THAT(built.errors, ElementsAre(6));
    EXPECT_EQ(replyValues.lastChecksum, 0x33);
    // Far beyond anything built, and beyond 32 bits.
    EXPECT_THAT(Request("F0 [$0-99999999999] F7", 0).errors, ElementsAre(6));
}

TEST_F(StringLanguage, RequestChecksumInsideASend) {
    InstrumentDefinition definition =
        Definition("F0 43 2! 7A [#71+0] [$3-4] F7", "F0 43 0! 7A % [$R] F7", 2, 3);
    EXPECT_THAT(BuildRequestMessage(definition, 9).bytes,
                ElementsAre(0xF0, 0x43, 0x21, 0x7A, 0x09, 0x7D, 0xF7));
    replyValues = ReplyValues{};
    const std::uint8_t data[] = {1, 2, 3};
    BuiltMessage built = BuildSendMessage(definition, 9, data);
    EXPECT_THAT(built.bytes, ElementsAre(0xF0, 0x43, 0x01, 0x7A, 1, 2, 3, 0x7D, 0xF7));
    EXPECT_EQ(replyValues.lastChecksum, 0x7D);
}

TEST_F(StringLanguage, RequestChecksumWithoutChecksumInTheRequestRepeatsTheLastOne) {
    InstrumentDefinition definition = Definition("F0 43 10 F7", "F0 [$r whatever] F7", 1, 0);
    EXPECT_THAT(BuildSendMessage(definition, 1, nullptr).bytes, ElementsAre(0xF0, 0x00, 0xF7));
    Request("01 02 [$0-1]", 0); // leaves 7D behind
    EXPECT_THAT(BuildSendMessage(definition, 1, nullptr).bytes, ElementsAre(0xF0, 0x7D, 0xF7));
}

TEST_F(StringLanguage, RequestChecksumRefreshesTheReplyValuesAndPassesOnRequestErrors) {
    InstrumentDefinition definition = Definition("F0 [#99+0] F7 ;20,4", "F0 [$R] F7", 1, 0);
    BuiltMessage built = BuildSendMessage(definition, 1, nullptr);
    EXPECT_THAT(built.errors, ElementsAre(1));
    EXPECT_EQ(replyValues.expectedReplySize, 20);
    EXPECT_EQ(replyValues.replyDataOffset, 4);
}

TEST_F(StringLanguage, RequestChecksumInARequestStringDoesNotEvaluateItself) {
    BuiltMessage built = Request("F0 [$R] F7", 1);
    EXPECT_THAT(built.bytes, ElementsAre(0xF0, 0xF7));
    EXPECT_TRUE(built.errors.empty());
}

TEST_F(StringLanguage, ReplySection) {
    BuiltMessage built = Request("F0 ;42,8 F7", 0);
    EXPECT_THAT(built.bytes, ElementsAre(0xF0));
    EXPECT_EQ(replyValues.expectedReplySize, 42);
    EXPECT_EQ(replyValues.replyDataOffset, 8);
    for (const char* bad : {";42,8,", ";42.8", ";-1,0", ";42/8", ";42,8-", ";42"}) {
        replyValues.expectedReplySize = 170;
        replyValues.replyDataOffset = 5;
        EXPECT_THAT(Request(bad, 0).errors, ElementsAre(7)) << bad;
        EXPECT_EQ(replyValues.expectedReplySize, 170) << bad;
        EXPECT_EQ(replyValues.replyDataOffset, 5) << bad;
    }
    Request(";99999999999,0", 0);
    EXPECT_EQ(replyValues.expectedReplySize, 2147483647);
}

TEST_F(StringLanguage, EachSectionErrorLeavesTheSectionOutAndGoesOn) {
    struct Case {
        const char* text;
        int error;
    } cases[] = {
        {"F0 [#73+0] F7", 1},    {"F0 [#7] F7", 1},      {"F0 [#72-1] F7", 2},
        {"F0 [#72] F7", 2},      {"F0 [#72+4+5] F7", 3}, {"F0 [#72+a] F7", 3},
        {"F0 [#72*2+3x] F7", 4}, {"F0 [#72*2++] F7", 4}, {"F0 [$3+4] F7", 5},
        {"F0 [$3-4x] F7", 5},    {"F0 [$] F7", 5},       {"F0 [$3] F7", 5},
    };
    for (const Case& c : cases) {
        BuiltMessage built = Request(c.text, 1);
        EXPECT_THAT(built.bytes, ElementsAre(0xF0, 0xF7)) << c.text;
        EXPECT_THAT(built.errors, ElementsAre(c.error)) << c.text;
    }
    EXPECT_THAT(Request("[#99+0] [$x-1] ;1", 0).errors, ElementsAre(1, 5, 7));
}

TEST_F(StringLanguage, ErrorTextsAndCaption) {
    EXPECT_STREQ(stringErrorCaption, "String interpretation error");
    EXPECT_STREQ(StringErrorText(2),
                 "There's a problem with the [#...] section in either the request or send string "
                 "of the instrument definition. The #-code (i.e. #72) must immediately be "
                 "followed by a + or a * sign. ");
    EXPECT_STREQ(StringErrorText(7),
                 "There's a problem with the ; section in the request string of the instrument "
                 "definition. You must use a section of the type ;90,50 where 90 is the total "
                 "size of the expected SysEx message, and 50 is the zero-based offset of the "
                 "actual stored data (%) within this message.");
    for (int n = 1; n <= 6; ++n)
        EXPECT_THAT(StringErrorText(n), ::testing::StartsWith("There's a problem with the ["));
    EXPECT_STREQ(StringErrorText(0), "");
    EXPECT_STREQ(StringErrorText(8), "");
}

TEST_F(StringLanguage, OtherBracketsAndUnknownCharactersProduceNothing) {
    EXPECT_THAT(Request("F0 [comment] [] 01 F7", 0).bytes, ElementsAre(0xF0, 0x01, 0xF7));
    // '%' belongs to send strings, ';' to request strings.
    EXPECT_THAT(Request("F0 % F7", 0).bytes, ElementsAre(0xF0, 0xF7));
    InstrumentDefinition definition = Definition("", "F0 ;1,2 F7", 1, 0);
    EXPECT_THAT(BuildSendMessage(definition, 0, nullptr).bytes, ElementsAre(0xF0, 0x12, 0xF7));
}

TEST_F(StringLanguage, UnclosedSectionsEndWithTheText) {
    BuiltMessage built = Request("F0 [#72+5", 1);
    EXPECT_THAT(built.bytes, ElementsAre(0xF0));
    EXPECT_THAT(built.errors, ElementsAre(3));
    EXPECT_THAT(Request("F0 [$0-0", 1).errors, ElementsAre(5));
    EXPECT_THAT(Request("F0 [comment F7", 1).bytes, ElementsAre(0xF0));
    InstrumentDefinition definition = Definition("F0 01 [$0-1]", "F0 [$R", 1, 0);
    EXPECT_THAT(BuildSendMessage(definition, 0, nullptr).bytes, ElementsAre(0xF0, 0x0F));
}

TEST_F(StringLanguage, MessagesNeverOutgrowTheirRoom) {
    std::string hashes(449, '#');
    EXPECT_EQ(Request(hashes.c_str(), 1).bytes.size(), 449u);
    // Hand-edited strings that the check refuses still stay inside the buffers.
    InstrumentDefinition definition = Definition("", "%%%%", 1, 32000);
    Bytes data(32000, 0x55);
    BuiltMessage built = BuildSendMessage(definition, 0, data.data());
    EXPECT_EQ(built.bytes.size(), 32000u + sendMessageExtraRoom);
    InstrumentDefinition large = Definition("", "F0 % F7", 1, 300);
    EXPECT_EQ(BuildSendMessage(large, 0, nullptr).bytes, [] {
        Bytes expected(302, 0);
        expected.front() = 0xF0;
        expected.back() = 0xF7;
        return expected;
    }());
}

TEST_F(StringLanguage, ReadsTheFieldsOnlyUpToTheirEnd) {
    InstrumentDefinition definition{};
    definition.channel = 1;
    std::fill(std::begin(definition.requestString), std::end(definition.requestString), '1');
    std::fill(std::begin(definition.sendString), std::end(definition.sendString), '2');
    // 450 nibbles in a field without terminator: 225 bytes, nothing read from the next field.
    BuiltMessage built = BuildRequestMessage(definition, 0);
    EXPECT_EQ(built.bytes.size(), 225u);
    EXPECT_EQ(built.bytes.back(), 0x11);
}

TEST(DefinitionStringCheck, AcceptsAndRefuses) {
    struct Case {
        const char* text;
        StringKind kind;
        bool valid;
    } cases[] = {
        {"F0 43 2! 7A # F7", StringKind::request, true},
        {"F0 43 2! 7A # F7 1", StringKind::request, false},
        {"F0 43 2! 7A # F7", StringKind::send, true},
        {"F0 43 0! 7A % F7 ;1,0", StringKind::send, false},
        {"F0 43 2! 7A % F7", StringKind::request, false},
        {"F0 41 1! 16 11 [#72*2+256] 00 00 00 20 [$5-10] F7 ;42,8", StringKind::request, true},
        {"F0 41 1! 16 12 [#72*2+256] 00 % [$5-39] F7", StringKind::send, true},
        {"", StringKind::request, true},
        {"f0 0a Bc !!", StringKind::request, true},
        {"F0 ;42,8 anything at all", StringKind::request, true},
        {"F ;42,8 0", StringKind::request, false},
        {"F0 [#zz] [whatever it says] F7", StringKind::request, true},
        {"F0 G7", StringKind::request, false},
        {"F0,F7", StringKind::request, false},
        {"F0 - F7", StringKind::send, false},
        {"F0\tF7", StringKind::send, false},
        // Refusals the plain character rules do not make.
        {"F0 [#72+1 F7", StringKind::request, false},
        {"F0 ] [ F7", StringKind::send, false},
        {"F0 [$R] F7", StringKind::request, false},
        {"F0 [$r] F7", StringKind::request, false},
        {"F0 % [$R] F7", StringKind::send, true},
        {"F0 % % F7", StringKind::send, false},
        {"F0 1 # 0", StringKind::send, false},
        {"F0 1 % 0", StringKind::send, false},
        {"F0 1 [#72+0] 0", StringKind::request, false},
        {"F0 1 [$0-1] 0", StringKind::request, false},
        {"F0 1 [note] 0", StringKind::request, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckDefinitionString(c.text, c.kind), c.valid)
            << '"' << c.text << "\" as " << (c.kind == StringKind::request ? "request" : "send");
}

TEST(ReplyAssemblyTest, OnlyAReplyOfTheExpectedLengthIsAccepted) {
    ReplyAssembly assembly;
    Bytes short41 = Counting(41), long43 = Counting(43), right = Counting(42, 100);
    EXPECT_FALSE(AssembleReply(assembly, short41.data(), 41, 32000, 42));
    EXPECT_FALSE(AssembleReply(assembly, long43.data(), 43, 32000, 42));
    ASSERT_TRUE(AssembleReply(assembly, right.data(), 42, 32000, 42));
    EXPECT_EQ(assembly.bytes, right);
}

TEST(ReplyAssemblyTest, AReplyAcrossBuffersIsAssembledWhole) {
    ReplyAssembly assembly;
    Bytes reply = Counting(250);
    EXPECT_FALSE(AssembleReply(assembly, reply.data(), 100, 100, 250));
    EXPECT_FALSE(AssembleReply(assembly, reply.data() + 100, 100, 100, 250));
    ASSERT_TRUE(AssembleReply(assembly, reply.data() + 200, 50, 100, 250));
    EXPECT_EQ(assembly.bytes, reply);
    EXPECT_EQ(assembly.fullBuffers, 0);
    // The next message starts afresh.
    Bytes small = Counting(10);
    EXPECT_FALSE(AssembleReply(assembly, small.data(), 10, 100, 250));
    EXPECT_TRUE(assembly.bytes.empty());
}

TEST(ReplyAssemblyTest, LongMessagesAreCountedButNotKept) {
    ReplyAssembly assembly;
    Bytes chunk(100, 0x11);
    EXPECT_FALSE(AssembleReply(assembly, chunk.data(), 100, 100, 150));
    EXPECT_FALSE(AssembleReply(assembly, chunk.data(), 100, 100, 150));
    EXPECT_LE(assembly.bytes.size(), 150u);
    EXPECT_FALSE(AssembleReply(assembly, chunk.data(), 50, 100, 150)); // 250 bytes in all
    EXPECT_TRUE(assembly.bytes.empty());
    // A first buffer that is full, then a rest that makes the right total.
    EXPECT_FALSE(AssembleReply(assembly, chunk.data(), 100, 100, 150));
    EXPECT_TRUE(AssembleReply(assembly, chunk.data(), 50, 100, 150));
    EXPECT_EQ(assembly.bytes.size(), 150u);
}

TEST(ReplyAssemblyTest, SizesThatCanNeverMatch) {
    ReplyAssembly assembly;
    Bytes chunk(10, 1);
    EXPECT_FALSE(AssembleReply(assembly, chunk.data(), 10, 100, 0));
    EXPECT_FALSE(AssembleReply(assembly, chunk.data(), 10, 100, -10));
}

TEST(ReplyAssemblyTest, ProgramDataMustLieInsideTheReply) {
    instrument.definition.programSize = 32;
    replyValues.replyDataOffset = 8;
    Bytes reply(42);
    EXPECT_EQ(ProgramDataInReply(reply.data(), 42), reply.data() + 8);
    EXPECT_EQ(ProgramDataInReply(reply.data(), 40), reply.data() + 8);
    EXPECT_EQ(ProgramDataInReply(reply.data(), 39), nullptr);
    replyValues.replyDataOffset = 2147483647;
    EXPECT_EQ(ProgramDataInReply(reply.data(), 42), nullptr);
    replyValues.replyDataOffset = 0;
}

} // namespace
