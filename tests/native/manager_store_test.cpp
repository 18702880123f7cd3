// The message store: its scratch files, count and labels, the edit split and join, a full store,
// and input that arrives while the store files are busy.
#include "manager_store_fixture.h"

namespace {

class MessageStoreTest : public StoreTest {
  protected:
    // A store of `n` received messages of different lengths and makers.
    std::vector<Bytes> Fill(int n) {
        std::vector<Bytes> messages;
        for (int i = 0; i < n; ++i) {
            messages.push_back(MakeMessage(static_cast<std::size_t>(20 + 3 * i),
                                           static_cast<unsigned char>(0x41 + i % 3),
                                           static_cast<unsigned>(i)));
            AddMessage(messages.back());
        }
        return messages;
    }

    std::vector<std::string> ReceivedLabels(const std::vector<Bytes>& messages) {
        std::vector<std::string> labels;
        for (const Bytes& m : messages)
            labels.push_back(MessageLabel(
                static_cast<std::int32_t>(m.size()),
                FindMakerByte(m.data(), static_cast<std::int64_t>(m.size())), LabelForm::received));
        return labels;
    }

    bool SplitFileExists(const std::string& name) const {
        return std::filesystem::exists(folder / name);
    }

    // Edits message `index` (or adds one when index == count) and checks the whole store after.
    void EditAndCheck(int index, int storeSize) {
        std::vector<Bytes> messages = Fill(storeSize);
        std::vector<std::string> labels = ReceivedLabels(messages);
        Bytes old;
        ASSERT_EQ(SplitForEdit(index, 10000, old), SplitOutcome::split);
        if (index < storeSize) {
            EXPECT_EQ(old, messages[static_cast<std::size_t>(index)]);
        } else {
            EXPECT_TRUE(old.empty());
        }
        EXPECT_EQ(SplitFileExists("~tempbefore.syx"), index > 0);
        EXPECT_EQ(SplitFileExists("~tempbefore.lst"), index > 0);
        EXPECT_EQ(SplitFileExists("~tempafter.syx"), index + 1 < storeSize);
        EXPECT_EQ(SplitFileExists("~tempafter.lst"), index + 1 < storeSize);

        const Bytes edited = {0xF0, 0x41, 0x10, 0x16, 0x12, 0xF7};
        CommitEdit(edited.data(), static_cast<std::int32_t>(edited.size()));
        if (index < storeSize) {
            messages[static_cast<std::size_t>(index)] = edited;
            labels[static_cast<std::size_t>(index)] = "6 user [Roland]";
        } else {
            messages.push_back(edited);
            labels.push_back("6 user [Roland]");
        }
        EXPECT_EQ(MessageCount(), static_cast<int>(messages.size()));
        EXPECT_EQ(StoredMessages(), messages);
        EXPECT_EQ(list.labels, labels);
        for (const char* name :
             {"~tempbefore.syx", "~tempbefore.lst", "~tempafter.syx", "~tempafter.lst"})
            EXPECT_FALSE(SplitFileExists(name)) << name;
        // The joined store takes further messages at its end.
        const Bytes next = MakeMessage(9, 0x47);
        AddMessage(next);
        messages.push_back(next);
        EXPECT_EQ(StoredMessages(), messages);
    }
};

} // namespace

TEST_F(MessageStoreTest, ScratchFileNamesAreBuiltFromTheTemporaryFolder) {
    BuildScratchFileNames("C:\\TEMP\\");
    EXPECT_EQ(store.files.data, "C:\\TEMP\\~temp.syx");
    EXPECT_EQ(store.files.lengths, "C:\\TEMP\\~temp.lst");
    EXPECT_EQ(store.files.beforeData, "C:\\TEMP\\~tempbefore.syx");
    EXPECT_EQ(store.files.beforeLengths, "C:\\TEMP\\~tempbefore.lst");
    EXPECT_EQ(store.files.afterData, "C:\\TEMP\\~tempafter.syx");
    EXPECT_EQ(store.files.afterLengths, "C:\\TEMP\\~tempafter.lst");
    BuildScratchFileNames(folder.string() + "/");
}

TEST_F(MessageStoreTest, EmptyStoreHasEmptyFilesAndNoLabels) {
    Fill(3);
    ResetStore();
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_TRUE(list.labels.empty());
    store.dataFile.Flush();
    EXPECT_EQ(std::filesystem::file_size(store.files.data), 0u);
    EXPECT_EQ(std::filesystem::file_size(store.files.lengths), 0u);
}

TEST_F(MessageStoreTest, MessageAppendedInPartsIsOneMessage) {
    const Bytes message = MakeMessage(100, 0x43);
    AppendMessageBytes(message.data(), 30);
    AppendMessageBytes(message.data() + 30, 0);
    AppendMessageBytes(message.data() + 30, 70);
    CommitMessage(100, 0x43, LabelForm::received);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{message});
    EXPECT_EQ(list.labels, std::vector<std::string>{"100 bytes [Yamaha]"});
    // The length file holds exactly one little-endian 32-bit length.
    EXPECT_EQ(ReadWholeFile(store.files.lengths), (Bytes{100, 0, 0, 0}));
}

// The first, a middle and the last message, one past the end (a new message), the only message
// (no split files) and a new message in an empty store.
TEST_F(MessageStoreTest, EditSplitsAroundTheMessageAndJoinsAgain) {
    const struct {
        int index, storeSize;
    } cases[] = {{0, 5}, {2, 5}, {4, 5}, {5, 5}, {0, 1}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "message " << c.index << " of " << c.storeSize);
        ResetStore();
        ASSERT_NO_FATAL_FAILURE(EditAndCheck(c.index, c.storeSize));
    }
}

TEST_F(MessageStoreTest, NoSelectionMeansANewMessageAtTheEnd) {
    const auto messages = Fill(2);
    Bytes old;
    ASSERT_EQ(SplitForEdit(-1, 10000, old), SplitOutcome::split);
    EXPECT_TRUE(old.empty());
    const Bytes typed = {0xF0, 0x42, 0xF7};
    CommitEdit(typed.data(), 3);
    EXPECT_EQ(StoredMessages(), (std::vector<Bytes>{messages[0], messages[1], typed}));
    EXPECT_EQ(list.labels.back(), "3 user [Korg]");
}

TEST_F(MessageStoreTest, TooLongSplitLeavesEverythingAsItWas) {
    std::vector<Bytes> messages = Fill(2);
    const Bytes big = MakeMessage(10001, 0x41);
    AddMessage(big);
    messages.push_back(big);
    const auto labels = list.labels;
    Bytes old;
    EXPECT_EQ(SplitForEdit(2, 10000, old), SplitOutcome::tooLong);
    EXPECT_TRUE(old.empty());
    EXPECT_EQ(MessageCount(), 3);
    EXPECT_EQ(list.labels, labels);
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_FALSE(SplitFileExists("~tempbefore.syx"));
    EXPECT_FALSE(SplitFileExists("~tempbefore.lst"));
    // Exactly at the limit is allowed.
    ASSERT_EQ(SplitForEdit(2, 10001, old), SplitOutcome::split);
    EXPECT_EQ(old, big);
    CancelEdit();
    // The store still takes messages at its end.
    AddMessage(messages[0]);
    messages.push_back(messages[0]);
    EXPECT_EQ(StoredMessages(), messages);
}

TEST_F(MessageStoreTest, CancelEditRestoresTheStore) {
    const auto messages = Fill(4);
    const auto labels = list.labels;
    Bytes old;
    ASSERT_EQ(SplitForEdit(1, 10000, old), SplitOutcome::split);
    CancelEdit();
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(list.labels, labels);
    EXPECT_FALSE(SplitFileExists("~tempbefore.syx"));
    EXPECT_FALSE(SplitFileExists("~tempafter.syx"));
}

TEST_F(MessageStoreTest, CancellingANewMessageLeavesNoEntryBehind) {
    for (const int storeSize : {0, 3}) {
        SCOPED_TRACE(storeSize);
        ResetStore();
        auto messages = Fill(storeSize);
        Bytes old;
        ASSERT_EQ(SplitForEdit(storeSize, 10000, old), SplitOutcome::split);
        CancelEdit();
        EXPECT_EQ(MessageCount(), storeSize);
        store.lengthFile.Flush();
        EXPECT_EQ(std::filesystem::file_size(store.files.lengths),
                  4u * static_cast<unsigned>(storeSize));
        // The next message keeps its own length.
        const Bytes next = MakeMessage(17, 0x42);
        AddMessage(next);
        messages.push_back(next);
        EXPECT_EQ(StoredMessages(), messages);
    }
}

TEST_F(MessageStoreTest, SplitFilesLeftByAnEarlierRunAreNotJoinedIn) {
    const auto messages = Fill(1);
    WriteWholeFile(Path("~tempbefore.syx"), {1, 2, 3});
    WriteWholeFile(Path("~tempbefore.lst"), {3, 0, 0, 0});
    WriteWholeFile(Path("~tempafter.syx"), {4, 5});
    WriteWholeFile(Path("~tempafter.lst"), {2, 0, 0, 0});
    Bytes old;
    ASSERT_EQ(SplitForEdit(0, 10000, old), SplitOutcome::split);
    const Bytes typed = {0xF0, 0x43, 0xF7};
    CommitEdit(typed.data(), 3);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{typed});
}

TEST_F(MessageStoreTest, InputArrivingDuringAnEditGoesInAfterTheJoin) {
    auto messages = Fill(3);
    Bytes old;
    ASSERT_EQ(SplitForEdit(1, 10000, old), SplitOutcome::split);
    const Bytes received = MakeMessage(40, 0x44);
    AddMessage(received);
    EXPECT_EQ(MessageCount(), 3);
    const Bytes typed = {0xF0, 0x41, 0xF7};
    CommitEdit(typed.data(), 3);
    messages[1] = typed;
    messages.push_back(received);
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(list.labels.back(), "40 bytes [Casio]");
    EXPECT_EQ(list.labels[1], "3 user [Roland]");
}

TEST_F(MessageStoreTest, MessageHalfReceivedWhenAnEditStartsStaysWhole) {
    auto messages = Fill(2);
    const Bytes arriving = MakeMessage(50, 0x10);
    AppendMessageBytes(arriving.data(), 20);
    Bytes old;
    ASSERT_EQ(SplitForEdit(0, 10000, old), SplitOutcome::split);
    AppendMessageBytes(arriving.data() + 20, 30);
    CancelEdit();
    CommitMessage(50, 0x10, LabelForm::received);
    messages.push_back(arriving);
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(list.labels.back(), "50 bytes [Oberheim]");
}

TEST_F(MessageStoreTest, InputArrivingWhileTheStoreIsReadGoesIntoTheNextStore) {
    Fill(2);
    const Bytes arriving = MakeMessage(30, 0x47);
    AppendMessageBytes(arriving.data(), 10);
    OpenStoreForReading();
    AppendMessageBytes(arriving.data() + 10, 20);
    CommitMessage(30, 0x47, LabelForm::received);
    EXPECT_EQ(MessageCount(), 2);
    ResetStore(); // after a successful Save As
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{arriving});
    EXPECT_EQ(list.labels, std::vector<std::string>{"30 bytes [Akai]"});
}

TEST_F(MessageStoreTest, ClosedStoreTakesNothing) {
    CloseStore();
    const Bytes message = MakeMessage(10, 0x41);
    AppendMessageBytes(message.data(), 10);
    CommitMessage(10, 0x41, LabelForm::received);
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_TRUE(list.labels.empty());
}

TEST_F(MessageStoreTest, FullStoreTakesNoMoreAndSaysSoOnce) {
    const Bytes message = {0xF0, 0x41, 0xF7};
    for (int i = 0; i < maxStoreMessages; ++i)
        AddMessage(message);
    EXPECT_EQ(MessageCount(), 32767);
    EXPECT_EQ(list.fullNotices, 0);

    const Bytes extra = MakeMessage(12, 0x43);
    AddMessage(extra);
    AddMessage(extra);
    EXPECT_EQ(MessageCount(), 32767);
    EXPECT_EQ(list.labels.size(), 32767u);
    EXPECT_EQ(list.labels.back(), "3 bytes [Roland]");
    EXPECT_EQ(list.fullNotices, 1);
    const auto messages = StoredMessages();
    ASSERT_EQ(messages.size(), 32767u);
    EXPECT_EQ(messages.back(), message);

    // No new message through the editor either, and the user is told at once.
    Bytes old;
    EXPECT_EQ(SplitForEdit(32767, 10000, old), SplitOutcome::storeFull);
    EXPECT_EQ(list.fullNotices, 2);
    // Replacing a stored message still works.
    ASSERT_EQ(SplitForEdit(32766, 10000, old), SplitOutcome::split);
    CommitEdit(extra.data(), static_cast<std::int32_t>(extra.size()));
    EXPECT_EQ(MessageCount(), 32767);
    EXPECT_EQ(list.labels.back(), "12 user [Yamaha]");

    // An emptied store takes messages again and would tell again.
    ResetStore();
    AddMessage(extra);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{extra});
}

TEST_F(MessageStoreTest, UnfinishedMessageCanBeDropped) {
    const auto messages = Fill(2);
    const Bytes partial = MakeMessage(40, 0x41);
    AppendMessageBytes(partial.data(), 25);
    DiscardMessageInProgress();
    AddMessage(messages[0]);
    EXPECT_EQ(StoredMessages(), (std::vector<Bytes>{messages[0], messages[1], messages[0]}));
    // Held while the store is read, the unfinished message goes as well.
    OpenStoreForReading();
    AddMessage(messages[1]);
    AppendMessageBytes(partial.data(), 25);
    DiscardMessageInProgress();
    ReopenStoreForWriting();
    EXPECT_EQ(StoredMessages(),
              (std::vector<Bytes>{messages[0], messages[1], messages[0], messages[1]}));
}
