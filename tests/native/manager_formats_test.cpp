// The three .syx layouts: reading into the store, writing the store, descriptions, and files that
// are damaged, cut short or missing.
#include "manager/syx_format.h"

#include "manager_store_fixture.h"

#include <cstring>

namespace {

Bytes Tagged(const char* tag, const Bytes& description, std::int16_t count,
             const std::vector<std::int32_t>& lengths, const Bytes& data) {
    Bytes file(tag, tag + syxTagSize);
    Bytes field = description;
    field.resize(syxDescriptionSize, 0);
    file.insert(file.end(), field.begin(), field.end());
    file.push_back(static_cast<unsigned char>(count & 0xFF));
    file.push_back(static_cast<unsigned char>((count >> 8) & 0xFF));
    for (const std::int32_t length : lengths)
        AppendInt32(file, length);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

Bytes Joined(const std::vector<Bytes>& messages) {
    Bytes all;
    for (const Bytes& m : messages)
        all.insert(all.end(), m.begin(), m.end());
    return all;
}

std::vector<std::int32_t> LengthsOf(const std::vector<Bytes>& messages) {
    std::vector<std::int32_t> lengths;
    for (const Bytes& m : messages)
        lengths.push_back(static_cast<std::int32_t>(m.size()));
    return lengths;
}

class SyxFormatTest : public StoreTest {
  protected:
    std::vector<Bytes> ThreeMessages() {
        return {MakeMessage(6, 0x41, 1), MakeMessage(1500, 0x42, 2), MakeMessage(70000, 0x7E, 3)};
    }

    bool Save(const std::string& name, SyxFormat format) {
        unsigned char block[32500];
        const bool written = WriteStoreToFile(Path(name), format, MakeDescription(name.c_str()),
                                              block, sizeof block);
        ResetStore();
        return written;
    }

    // A damaged file adds nothing to a store that already holds a message.
    void ExpectRejected(const Bytes& file, SyxReadResult expected = SyxReadResult::damaged) {
        ResetStore();
        const Bytes kept = MakeMessage(8, 0x43);
        AddMessage(kept);
        WriteWholeFile(Path("bad.syx"), file);
        EXPECT_EQ(ReadSyxFileIntoStore(Path("bad.syx")), expected);
        EXPECT_EQ(StoredMessages(), std::vector<Bytes>{kept});
        EXPECT_EQ(list.labels, std::vector<std::string>{"8 bytes [Yamaha]"});
    }
};

} // namespace

TEST(SyxTag, OnlyTheExactFourteenByteTagsMarkTheOwnFormats) {
    const auto format = [](const std::string& text) {
        return FormatOfTag(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    };
    EXPECT_EQ(format("Brevikorlando+"), SyxFormat::brevikorlando);
    EXPECT_EQ(format("Brevikorlando-xyz"), SyxFormat::brevikorlando10);
    EXPECT_EQ(format("Brevikorlando*"), SyxFormat::standard);
    EXPECT_EQ(format("brevikorlando+"), SyxFormat::standard);
    EXPECT_EQ(format("Brevikorlando"), SyxFormat::standard);
    EXPECT_EQ(format(""), SyxFormat::standard);
}

TEST(SyxDescription, IsTheNameWithoutItsExtensionInAFieldOfCdBytes) {
    auto d = MakeDescription("bank.syx");
    EXPECT_EQ(std::memcmp(d.data(), "bank\0syx\0", 9), 0);
    for (std::size_t i = 9; i < d.size(); ++i)
        EXPECT_EQ(d[i], 0xCD) << i;

    d = MakeDescription("notes.txt.syx");
    EXPECT_STREQ(reinterpret_cast<const char*>(d.data()), "notes.txt");

    // Without a dot fourth from the end the whole name stays.
    d = MakeDescription("bank.sysex");
    EXPECT_STREQ(reinterpret_cast<const char*>(d.data()), "bank.sysex");
    d = MakeDescription(".syx");
    EXPECT_EQ(d[0], 0);
    d = MakeDescription("syx");
    EXPECT_STREQ(reinterpret_cast<const char*>(d.data()), "syx");

    // A name of 100 characters or more fills the field without a NUL.
    const std::string longName(100, 'x');
    d = MakeDescription((longName + ".syx").c_str());
    EXPECT_EQ(std::memchr(d.data(), 0, d.size()), nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data()), d.size()), longName);
    const std::string veryLong(300, 'y');
    d = MakeDescription(veryLong.c_str());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data()), d.size()),
              std::string(100, 'y'));
}

TEST_F(SyxFormatTest, BrevikorlandoFormatRoundTripsByteForByte) {
    const auto messages = ThreeMessages();
    for (const Bytes& m : messages)
        AddMessage(m);
    ASSERT_TRUE(Save("bank.syx", SyxFormat::brevikorlando));
    EXPECT_EQ(MessageCount(), 0);
    const Bytes file = ReadWholeFile(Path("bank.syx"));
    Bytes description = {'b', 'a', 'n', 'k', 0, 's', 'y', 'x', 0};
    description.resize(100, 0xCD);
    EXPECT_EQ(file,
              Tagged("Brevikorlando+", description, 3, LengthsOf(messages), Joined(messages)));

    EXPECT_EQ(ReadSyxFileIntoStore(Path("bank.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(list.labels, (std::vector<std::string>{"6 bytes [Roland]", "1500 bytes [Korg]",
                                                     "70000 bytes [7e]"}));
    // Written again, the file comes out the same.
    ASSERT_TRUE(Save("bank.syx", SyxFormat::brevikorlando));
    EXPECT_EQ(ReadWholeFile(Path("bank.syx")), file);
}

TEST_F(SyxFormatTest, Brevikorlando10FormatRoundTripsByteForByte) {
    const auto messages = ThreeMessages();
    for (const Bytes& m : messages)
        AddMessage(m);
    ASSERT_TRUE(Save("old.syx", SyxFormat::brevikorlando10));
    const Bytes file = ReadWholeFile(Path("old.syx"));
    ASSERT_GE(file.size(), 116u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 14), "Brevikorlando-");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 14)), "old");
    EXPECT_EQ(ReadSyxFileIntoStore(Path("old.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), messages);
}

TEST_F(SyxFormatTest, StandardFormatIsTheMessagesBackToBackAndReadsAsOne) {
    const auto messages = ThreeMessages();
    for (const Bytes& m : messages)
        AddMessage(m);
    ASSERT_TRUE(Save("plain.syx", SyxFormat::standard));
    EXPECT_EQ(ReadWholeFile(Path("plain.syx")), Joined(messages));
    EXPECT_EQ(ReadSyxFileIntoStore(Path("plain.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{Joined(messages)});
    EXPECT_EQ(list.labels, std::vector<std::string>{"71506 bytes [Roland]"});
    // Saved again in the standard format it is the same file.
    ASSERT_TRUE(Save("plain2.syx", SyxFormat::standard));
    EXPECT_EQ(ReadWholeFile(Path("plain2.syx")), Joined(messages));
}

TEST_F(SyxFormatTest, ShortStandardFilesHoldOnlyTheirOwnBytes) {
    const Bytes tiny = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0x00, 0xF7};
    WriteWholeFile(Path("tiny.syx"), tiny);
    EXPECT_EQ(ReadSyxFileIntoStore(Path("tiny.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{tiny});
    EXPECT_EQ(list.labels, std::vector<std::string>{"10 bytes [Yamaha]"});
    // An empty file holds no message.
    ResetStore();
    WriteWholeFile(Path("empty.syx"), {});
    EXPECT_EQ(ReadSyxFileIntoStore(Path("empty.syx")), SyxReadResult::read);
    EXPECT_EQ(MessageCount(), 0);
}

TEST_F(SyxFormatTest, ThirteenTagLettersAndAnotherByteMakeAStandardFile) {
    const Bytes file = Tagged("Brevikorlando!", {}, 0, {}, {});
    WriteWholeFile(Path("look.syx"), file);
    EXPECT_EQ(ReadSyxFileIntoStore(Path("look.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{file});
}

TEST_F(SyxFormatTest, BrevikorlandoFileWithoutMessagesOpensEmpty) {
    WriteWholeFile(Path("none.syx"), Tagged("Brevikorlando+", {'n'}, 0, {}, {}));
    EXPECT_EQ(ReadSyxFileIntoStore(Path("none.syx")), SyxReadResult::read);
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_TRUE(list.labels.empty());
}

TEST_F(SyxFormatTest, MessagesOfLengthZeroAreKept) {
    const Bytes m = MakeMessage(4, 0x41);
    WriteWholeFile(Path("zero.syx"), Tagged("Brevikorlando+", {}, 2, {0, 4}, m));
    EXPECT_EQ(ReadSyxFileIntoStore(Path("zero.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), (std::vector<Bytes>{Bytes{}, m}));
    EXPECT_EQ(list.labels, (std::vector<std::string>{"0 bytes [[?]]", "4 bytes [Roland]"}));
}

TEST_F(SyxFormatTest, TrailingBytesBehindTheLastMessageAreIgnored) {
    const Bytes m = MakeMessage(5, 0x47);
    Bytes file = Tagged("Brevikorlando+", {}, 1, {5}, m);
    file.push_back(0x55);
    WriteWholeFile(Path("tail.syx"), file);
    EXPECT_EQ(ReadSyxFileIntoStore(Path("tail.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{m});
}

TEST_F(SyxFormatTest, DamagedTaggedFilesAddNothing) {
    const auto messages = ThreeMessages();
    const Bytes good = Tagged("Brevikorlando+", {}, 3, LengthsOf(messages), Joined(messages));
    for (const char* tag : {"Brevikorlando+", "Brevikorlando-"}) {
        SCOPED_TRACE(tag);
        // Negative count.
        ExpectRejected(Tagged(tag, {}, -1, {}, {}));
        // A negative length.
        ExpectRejected(Tagged(tag, {}, 2, {5, -5}, MakeMessage(5, 0x41)));
        // Lengths that name more bytes than the file holds.
        ExpectRejected(Tagged(tag, {}, 1, {0x7FFFFFFF}, MakeMessage(100, 0x41)));
        // A count larger than the length table the file holds.
        ExpectRejected(Tagged(tag, {}, 32767, {4}, MakeMessage(4, 0x41)));
        // Lengths whose sum overflows 32 bits.
        ExpectRejected(Tagged(tag, {}, 3, {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}, {}));
    }
    // Cut short anywhere: in the tag's description, in the count, in the lengths, in the data.
    for (const std::size_t size : {std::size_t{20}, std::size_t{115}, std::size_t{117},
                                   std::size_t{127}, std::size_t{130}, good.size() - 1}) {
        SCOPED_TRACE(size);
        Bytes cut = good;
        cut[13] = '-';
        cut.resize(size);
        ExpectRejected(cut);
        cut[13] = '+';
        ExpectRejected(cut);
    }
}

TEST_F(SyxFormatTest, MissingFileAddsNothing) {
    ExpectRejected({}, SyxReadResult::read); // an empty file is fine, it just holds nothing
    EXPECT_EQ(ReadSyxFileIntoStore(Path("no such file.syx")), SyxReadResult::cannotOpen);
    EXPECT_EQ(MessageCount(), 1);
}

TEST_F(SyxFormatTest, StandardFilesFrom448000BytesAreCutWithAWarning) {
    Bytes file(447999);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<unsigned char>(i * 31);
    file[0] = 0xF0;
    file[1] = 0x44;
    WriteWholeFile(Path("big.syx"), file);
    EXPECT_EQ(ReadSyxFileIntoStore(Path("big.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{file});

    ResetStore();
    file.push_back(0x01);
    WriteWholeFile(Path("big.syx"), file);
    EXPECT_EQ(ReadSyxFileIntoStore(Path("big.syx")), SyxReadResult::cutShort);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{file});

    ResetStore();
    file.resize(500000, 0x22);
    WriteWholeFile(Path("big.syx"), file);
    EXPECT_EQ(ReadSyxFileIntoStore(Path("big.syx")), SyxReadResult::cutShort);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{Bytes(file.begin(), file.begin() + 448014)});
    EXPECT_EQ(list.labels, std::vector<std::string>{"448014 bytes [Casio]"});
}

TEST_F(SyxFormatTest, SaveIntoAFolderThatDoesNotExistFailsAndKeepsTheStore) {
    const auto messages = ThreeMessages();
    for (const Bytes& m : messages)
        AddMessage(m);
    unsigned char block[32500];
    EXPECT_FALSE(WriteStoreToFile(Path("missing/bank.syx"), SyxFormat::brevikorlando,
                                  MakeDescription("bank.syx"), block, sizeof block));
    ReopenStoreForWriting();
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(list.labels.size(), 3u);
}

TEST_F(SyxFormatTest, StoresOfMoreThan8125MessagesSaveCompletely) {
    std::vector<Bytes> messages;
    for (int i = 0; i < 9000; ++i) {
        messages.push_back(
            MakeMessage(static_cast<std::size_t>(3 + i % 17), 0x43, static_cast<unsigned>(i)));
        AddMessage(messages.back());
    }
    ASSERT_TRUE(Save("many.syx", SyxFormat::brevikorlando));
    EXPECT_EQ(ReadSyxFileIntoStore(Path("many.syx")), SyxReadResult::read);
    EXPECT_EQ(StoredMessages(), messages);
}

TEST_F(SyxFormatTest, MessageHalfReceivedDuringASaveIsNotWrittenIntoTheFile) {
    const auto messages = ThreeMessages();
    for (const Bytes& m : messages)
        AddMessage(m);
    const Bytes arriving = MakeMessage(20, 0x41);
    AppendMessageBytes(arriving.data(), 10);
    ASSERT_TRUE(Save("busy.syx", SyxFormat::standard));
    EXPECT_EQ(ReadWholeFile(Path("busy.syx")), Joined(messages));
    // The rest arrives after the store was emptied: the message is whole in the new store.
    AppendMessageBytes(arriving.data() + 10, 10);
    CommitMessage(20, 0x41, LabelForm::received);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{arriving});
}
