// Assembling returned input buffers into whole messages of the store.
#include "manager/input_assembly.h"

#include "manager_store_fixture.h"

namespace {

constexpr std::uint32_t bufferSize = 32000;

class InputAssemblyTest : public StoreTest {
  protected:
    // Hands `bytes` to the assembly as one returned buffer.
    void Return(const Bytes& bytes) {
        AssembleInputBuffer(bytes.data(), static_cast<std::uint32_t>(bytes.size()), bufferSize,
                            continuationCount, makerByte);
    }
    // Hands `message` over as the input port would: full buffers, then the rest.
    void Receive(const Bytes& message) {
        for (std::size_t offset = 0; offset < message.size(); offset += bufferSize) {
            const std::size_t end = std::min(message.size(), offset + bufferSize);
            Return(Bytes(message.begin() + static_cast<std::ptrdiff_t>(offset),
                         message.begin() + static_cast<std::ptrdiff_t>(end)));
        }
    }

    std::int32_t continuationCount = 0;
    unsigned char makerByte = 0;
};

} // namespace

TEST_F(InputAssemblyTest, SeventyThousandBytesInThreeBuffersAreOneMessage) {
    const Bytes message = MakeMessage(70000, 0x41);
    Return(Bytes(message.begin(), message.begin() + 32000));
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_EQ(continuationCount, 1);
    Return(Bytes(message.begin() + 32000, message.begin() + 64000));
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_EQ(continuationCount, 2);
    Return(Bytes(message.begin() + 64000, message.end()));
    EXPECT_EQ(continuationCount, 0);
    ASSERT_EQ(MessageCount(), 1);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{message});
    EXPECT_EQ(list.labels, std::vector<std::string>{"70000 bytes [Roland]"});
}

TEST_F(InputAssemblyTest, MakerComesFromTheFirstBufferOnly) {
    Bytes message(32000 + 20, 0x00);
    message[0] = 0xF0;
    message[1] = 0x43;
    message[32000] = 0xF0; // an F0 at the start of the second buffer changes nothing
    message[32001] = 0x41;
    message.back() = 0xF7;
    Receive(message);
    EXPECT_EQ(list.labels, std::vector<std::string>{"32020 bytes [Yamaha]"});
}

TEST_F(InputAssemblyTest, FullBufferEndingInF7EndsItsMessage) {
    const Bytes first = MakeMessage(64000, 0x42);
    const Bytes second = MakeMessage(10, 0x43);
    ASSERT_EQ(first.back(), 0xF7);
    Receive(first);
    Receive(second);
    ASSERT_EQ(MessageCount(), 2);
    EXPECT_EQ(StoredMessages(), (std::vector<Bytes>{first, second}));
    EXPECT_EQ(list.labels, (std::vector<std::string>{"64000 bytes [Korg]", "10 bytes [Yamaha]"}));
}

TEST_F(InputAssemblyTest, FullBufferNotEndingInF7Continues) {
    Bytes message = MakeMessage(32000, 0x41);
    message.back() = 0x00;
    Return(message);
    EXPECT_EQ(MessageCount(), 0);
    Return({0x7F, 0xF7});
    message.insert(message.end(), {0x7F, 0xF7});
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{message});
}

TEST_F(InputAssemblyTest, EmptyAndOverlongBuffersAreIgnored) {
    Return({});
    Bytes tooMany(bufferSize + 1, 0xF0);
    AssembleInputBuffer(tooMany.data(), bufferSize + 1, bufferSize, continuationCount, makerByte);
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_EQ(continuationCount, 0);
    EXPECT_TRUE(StoredMessages().empty());
}

TEST_F(InputAssemblyTest, StoreEmptiedWhileAMessageArrivesKeepsFilesInStep) {
    Bytes head = MakeMessage(32000, 0x41);
    head.back() = 0x00;
    Return(head);
    ResetStore(); // the Clear button pressed in the middle of a bulk dump
    const Bytes tail = {0x01, 0x02, 0xF7};
    Return(tail);
    // Only the tail reached the emptied store, and its recorded length says so.
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{tail});
    EXPECT_EQ(list.labels, std::vector<std::string>{"3 bytes [Roland]"});
}

TEST_F(InputAssemblyTest, ManyShortMessagesInARow) {
    std::vector<Bytes> messages;
    for (unsigned i = 0; i < 50; ++i) {
        messages.push_back(MakeMessage(5 + i, static_cast<unsigned char>(0x40 + i % 8), i));
        Receive(messages.back());
    }
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(list.labels.size(), 50u);
    EXPECT_EQ(list.labels[1], "6 bytes [Roland]");
}

TEST_F(InputAssemblyTest, PortClosedInTheMiddleOfAMessageKeepsWhatArrived) {
    Bytes head = MakeMessage(32000, 0x47);
    head.back() = 0x00;
    Return(head);
    EndMessageInProgress(bufferSize, continuationCount, makerByte);
    EXPECT_EQ(continuationCount, 0);
    EndMessageInProgress(bufferSize, continuationCount, makerByte); // nothing in progress now
    const Bytes next = MakeMessage(12, 0x41);
    Receive(next);
    EXPECT_EQ(StoredMessages(), (std::vector<Bytes>{head, next}));
    EXPECT_EQ(list.labels, (std::vector<std::string>{"32000 bytes [Akai]", "12 bytes [Roland]"}));
}
