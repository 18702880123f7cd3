// The Librarian's transfer logic: device list lines, name extraction, held replies and the
// decision that a request went unanswered.
#include "librarian/transfer_logic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(LibrarianLines, NumbersArePaddedToTheDigitsOfTheHighestDisplayedNumber) {
    const struct {
        std::int32_t rangeStart, rangeEnd, numberOffset;
        int digits;
        const char* first;
        const char* last;
    } cases[] = {
        {0, 99, 1, 3, "001 <Unknown>", "100 <Unknown>"},
        {0, 99, 0, 2, "00 <Unknown>", "99 <Unknown>"},
        {10, 10, 0, 2, "10 <Unknown>", "10 <Unknown>"},
        {0, 127, 1, 3, "001 <Unknown>", "128 <Unknown>"},
        {0, 0, 0, 0, "0 <Unknown>", "0 <Unknown>"},
        {0, 5, -10, 0, "-10 <Unknown>", "-5 <Unknown>"}, // no padding at or below 0
        {0, 2048, 2147483647, 10, "2147483647 <Unknown>", "2147485695 <Unknown>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        const int digits = DeviceNumberDigits(c.rangeEnd, c.numberOffset);
        EXPECT_EQ(digits, c.digits);
        EXPECT_EQ(DeviceLine(digits, std::int64_t(c.rangeStart) + c.numberOffset, ""), c.first);
        EXPECT_EQ(DeviceLine(digits, std::int64_t(c.rangeEnd) + c.numberOffset, unknownProgramName),
                  c.last);
    }
    EXPECT_EQ(DeviceLine(3, 6, "Strings 1"), "006 Strings 1");
    EXPECT_EQ(DisplayedNumber(3, 6), "006");
}

std::string Extract(std::string_view offsets, const std::vector<std::uint8_t>& data) {
    char name[programNameSize];
    std::fill(std::begin(name), std::end(name), 'x');
    ExtractProgramName(offsets, data.data(), data.size(), name);
    return name;
}

std::vector<std::uint8_t> Letters() {
    std::vector<std::uint8_t> data(64);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>('A' + i % 26);
    return data;
}

TEST(LibrarianNames, OffsetsNameTheBytesTheirSeparatorsClose) {
    const auto data = Letters();
    const struct {
        const char* offsets;
        const char* name;
    } cases[] = {
        {"10,11,12,13 ", "KLMN"},
        {"10 11, 12", "KL"}, // digits at the very end are not used
        {"10,,11 ", "KL"},   // empty separators are skipped
        {",,0 1 ", "AB"},    // so are leading ones
        {"", ""},
        {"63 64 99999999999999999999 0 ", "LA"}, // past the data: left out
        {"0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ",
         "AAAAAAAAAAAAAAAAAAAAAAAAAAAAA"}, // 29 characters at most
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offsets);
        EXPECT_EQ(Extract(c.offsets, data), c.name);
    }
}

TEST(LibrarianNames, ZeroBytesInsideANameBecomeSpaces) {
    // A real factory name: "Piano", zero byte, "16'", zero byte.
    const std::string raw("Piano\0"
                          "16'\0",
                          10);
    std::vector<std::uint8_t> data(raw.begin(), raw.end());
    data.push_back(0x7F);
    data.push_back(0x1F);
    EXPECT_EQ(Extract("0 1 2 3 4 5 6 7 8 9 ", data), "Piano 16' ");
    EXPECT_EQ(Extract("10 11 ", data), "\x7F ");
    // Without the mending the two would both read "Piano".
    std::vector<std::uint8_t> other(data);
    other[6] = '8';
    EXPECT_NE(Extract("0 1 2 3 4 5 6 7 8 9 ", other), Extract("0 1 2 3 4 5 6 7 8 9 ", data));
}

TEST(LibrarianReplies, HeldRepliesComeBackInOrderAsCopies) {
    ReplyQueue queue;
    std::vector<std::uint8_t> reply;
    EXPECT_FALSE(TakeQueuedReply(queue, reply));
    std::vector<std::uint8_t> buffer = {0xF0, 1, 0xF7};
    QueueReply(queue, buffer.data(), buffer.size());
    buffer[1] = 2; // the input buffer is reused at once
    QueueReply(queue, buffer.data(), buffer.size());
    QueueReply(queue, buffer.data(), 0);
    ASSERT_TRUE(TakeQueuedReply(queue, reply));
    EXPECT_EQ(reply, (std::vector<std::uint8_t>{0xF0, 1, 0xF7}));
    ASSERT_TRUE(TakeQueuedReply(queue, reply));
    EXPECT_EQ(reply[1], 2);
    ASSERT_TRUE(TakeQueuedReply(queue, reply));
    EXPECT_TRUE(reply.empty());
    EXPECT_FALSE(TakeQueuedReply(queue, reply));
}

TEST(LibrarianReplies, ARequestIsOverdueTwoSecondsAfterItsWireTime) {
    // 8-byte request and 170-byte reply: 178 bytes at 320 microseconds, 57 ms.
    const std::uint32_t limit = ReplyWaitLimit(8, 170);
    EXPECT_EQ(limit, 2057u);
    EXPECT_EQ(ReplyWaitLimit(-5, -1), 2000u);
    EXPECT_EQ(ReplyWaitLimit(0, 32000), 2000u + 10240u);
    const struct {
        std::uint32_t sentAt, now;
        bool overdue;
    } cases[] = {
        {1000, 1000, false},         {1000, 1000 + 2057, false}, {1000, 1000 + 2058, true},
        {0xFFFFFF00u, 0x500, false},                     // the tick count wrapped: 1280 + 256 ms
        {0xFFFFFF00u, 0x800, true},  {5000, 4000, true}, // a tick from the past counts as long ago
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplyOverdue(c.sentAt, c.now, limit), c.overdue) << c.sentAt << " " << c.now;
}

} // namespace
