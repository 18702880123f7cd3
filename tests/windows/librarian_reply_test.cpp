// Requests, program sends and reply recognition against the virtual instrument (a Korg M1 on
// channel 1, which passes SysEx for other makers straight back), with the shipped M1 definition.
// A small window opens the ports and handles the input's buffers as a module window does.
#include "support/windows_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "librarian/instrument_definition.h"
#include "librarian/program_messages.h"
#include "librarian/program_transfers.h"
#include "librarian/reply_assembly.h"
#include "librarian/string_language.h"
#include "midi/midi_state.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using namespace std::chrono_literals;
using namespace wintest;

namespace {

// What the test window saw.
struct Received {
    std::int32_t expectedSize = 170;
    std::vector<DWORD> bufferLengths; // bytes of every SysEx buffer the input returned
    std::vector<Bytes> replies;       // what reached the window as recognised replies
};

Received received;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MIM_LONGDATA: {
        auto* header = reinterpret_cast<MIDIHDR*>(lParam);
        if (header->dwBytesRecorded > 0)
            received.bufferLengths.push_back(header->dwBytesRecorded);
        AcceptReplyBuffer(window, header, received.expectedSize);
        return 0;
    }
    case MM_MOM_DONE:
        ReleaseSentMessages();
        return 0;
    case replyMessage: {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(lParam);
        received.replies.emplace_back(bytes, bytes + wParam);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

Bytes OtherMakersMessage(std::size_t length) {
    Bytes message(length);
    message[0] = 0xF0;
    message[1] = 0x7D; // for no instrument in particular: the M1 passes it back
    for (std::size_t i = 2; i + 1 < length; ++i)
        message[i] = static_cast<std::uint8_t>(i % 0x80);
    message[length - 1] = 0xF7;
    return message;
}

class RepliesFromTheInstrument : public ::testing::Test {
  protected:
    static inline std::string logPath;
    HWND window = nullptr;

    static void SetUpTestSuite() {
        logPath = ScratchFolder("talvane-librarian-reply") + "\\vi.log";
        SetEnvironmentVariableA("TALVANE_VI_LOG", logPath.c_str());
        SetEnvironmentVariableA("TALVANE_VI_MODE", "m1");
    }

    void SetUp() override {
        std::string folder = ProgramFolder();
        std::strcpy(shell.programFolder, folder.c_str());
        ASSERT_TRUE(LoadInstrumentDefinition(DefinitionPath(folder, "Korg M1")))
            << "the shipped definition lies beside the program";
        replyValues.expectedReplySize = instrument.definition.programSize;
        replyValues.replyDataOffset = 0;
        received = Received{};
        replyAssembly = ReplyAssembly{};

        window = CreateStandInWindow("Librarian test", TestWindowProc);
        ASSERT_NE(window, nullptr);
        shell.currentModuleWindow = window;
        settings.InputPort = -1; // the MIDI mapper: the virtual instrument
        settings.OutputPort = -1;
        AllocateInputBuffers();
        OpenInput(window);
        OpenOutput(window);
        ASSERT_TRUE(midi.inputOpen);
        ASSERT_TRUE(midi.outputOpen);
    }

    void TearDown() override {
        CloseInput();
        CloseOutput();
        ReleaseSentMessages();
        FreeInputBuffers();
        shell.currentModuleWindow = nullptr;
        DestroyWindow(window);
    }

    testing::AssertionResult WaitForReplies(std::size_t count, Milliseconds timeout = 5s) {
        return PumpUntil([count] { return received.replies.size() >= count; }, timeout);
    }
};

TEST_F(RepliesFromTheInstrument, RequestWithTheM1DefinitionReturnsTheDump) {
    RequestProgram(0, true);
    ASSERT_TRUE(WaitForReplies(1)) << "no reply of 170 bytes";
    EXPECT_EQ(replyValues.expectedReplySize, 170);
    EXPECT_EQ(replyValues.replyDataOffset, 0);
    const Bytes& dump = received.replies[0];
    ASSERT_EQ(dump.size(), 170u);
    EXPECT_THAT(Bytes(dump.begin(), dump.begin() + 5), ElementsAre(0xF0, 0x42, 0x30, 0x19, 0x40));
    EXPECT_EQ(dump.back(), 0xF7);
    EXPECT_NE(ProgramDataInReply(dump.data(), 170), nullptr);
    // The instrument heard a program change and the dump request, in one message.
    EXPECT_THAT(ReadText(logPath), HasSubstr("recv 8 C0 00 F0 42 30 19 10 F7"));
    EXPECT_TRUE(PumpUntil([] { return outgoing.inFlight.empty(); }, 2s))
        << "a sent request is released once the output is done with it";
}

TEST_F(RepliesFromTheInstrument, RepliesOfTheWrongLengthAreIgnored) {
    Bytes short169 = OtherMakersMessage(169);
    Bytes long171 = OtherMakersMessage(171);
    SendRawMessage(short169.data(), 169);
    SendRawMessage(long171.data(), 171);
    ASSERT_TRUE(PumpUntil([] { return received.bufferLengths.size() >= 2; }, 5s));
    PumpFor(200ms);
    EXPECT_THAT(received.bufferLengths, ElementsAre(169u, 171u));
    EXPECT_TRUE(received.replies.empty());

    RequestProgram(5, true);
    ASSERT_TRUE(WaitForReplies(1));
    EXPECT_EQ(received.replies[0].size(), 170u);
    EXPECT_EQ(received.replies.size(), 1u);
}

TEST_F(RepliesFromTheInstrument, AReplyLongerThanOneBufferArrivesWhole) {
    Bytes message = OtherMakersMessage(70000);
    received.expectedSize = 70000;
    SendRawMessage(message.data(), static_cast<std::int32_t>(message.size()));
    ASSERT_TRUE(WaitForReplies(1, 10s));
    EXPECT_THAT(received.bufferLengths, ElementsAre(32000u, 32000u, 6000u));
    EXPECT_EQ(received.replies[0], message);
}

TEST_F(RepliesFromTheInstrument, ASentProgramIsStoredInTheInstrument) {
    RequestProgram(3, true);
    ASSERT_TRUE(WaitForReplies(1));
    Bytes dump = received.replies[0];
    // A new name in the ten name characters (message bytes 6-12 and 14-16).
    const char name[] = "Copied #07";
    const int places[] = {6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
    for (int i = 0; i < 10; ++i)
        dump[places[i]] = static_cast<std::uint8_t>(name[i]);

    SendProgram(7, dump.data());
    PumpFor(300ms); // the instrument's short acknowledgements are not replies
    EXPECT_EQ(received.replies.size(), 1u);
    RequestProgram(7, true);
    ASSERT_TRUE(WaitForReplies(2));
    EXPECT_EQ(received.replies[1], dump);
    EXPECT_THAT(ReadText(logPath), HasSubstr("note write program 07"));
}

// Runs action while a MessageBoxWatch answers every box it shows; returns the text of the first
// box with each of these captions ("(no text)" for a box without one, empty when none came).
std::vector<std::string> AnswerBoxes(const std::vector<const char*>& captions,
                                     const std::function<void()>& action) {
    MessageBoxWatch watch;
    action();
    const std::vector<ShownBox> shown = watch.Take();
    std::vector<std::string> texts;
    for (const char* caption : captions) {
        auto box = std::find_if(shown.begin(), shown.end(),
                                [&](const ShownBox& b) { return b.caption == caption; });
        texts.push_back(box == shown.end() ? "" : box->text.empty() ? "(no text)" : box->text);
    }
    return texts;
}

TEST_F(RepliesFromTheInstrument, StringErrorsAreShownAndTheRestIsStillSent) {
    SetFieldText(instrument.definition.requestString, "F0 7D [#99+0] 01 F7");
    std::vector<std::string> texts =
        AnswerBoxes({stringErrorCaption}, [] { RequestProgram(1, true); });
    EXPECT_EQ(texts[0], StringErrorText(1));
    ASSERT_TRUE(PumpUntil([] { return !received.bufferLengths.empty(); }, 5s));
    EXPECT_THAT(received.bufferLengths, ElementsAre(4u)) << "F0 7D 01 F7 came back";
}

TEST_F(RepliesFromTheInstrument, ARequestNotSentLeavesTheOutputAlone) {
    SetFieldText(instrument.definition.requestString, "F0 7D 01 F7 ;42,8");
    RequestProgram(1, false);
    EXPECT_EQ(replyValues.expectedReplySize, 42);
    EXPECT_EQ(replyValues.replyDataOffset, 8);
    PumpFor(300ms);
    EXPECT_TRUE(received.bufferLengths.empty());
    EXPECT_TRUE(outgoing.inFlight.empty());
}

TEST_F(RepliesFromTheInstrument, SendingWithTheOutputClosedIsReported) {
    CloseOutput();
    const std::uint8_t message[] = {0xF0, 0x7D, 0xF7};
    std::vector<std::string> texts = AnswerBoxes(
        {"QX/OutPrepareHeader Error", "QX/OutLongMsg Error"}, [&] { SendRawMessage(message, 3); });
    EXPECT_NE(texts[0], "") << "the system's text for the failed prepare";
    EXPECT_NE(texts[1], "") << "the system's text for the failed send";
    EXPECT_TRUE(outgoing.inFlight.empty()) << "a message never queued is released at once";
}

} // namespace

TEST(ShortReplies, EndEachTransferAndAreReportedOnce) {
    HWND window = CreateStandInWindow("Librarian test", nullptr);
    instrument.definition.programSize = 170;
    replyValues = ReplyValues{0, 100, 0}; // a reply too short to hold the program
    ResetTransferState();
    MessageBoxWatch boxes;
    for (int attempt = 0; attempt < 2; ++attempt) {
        transfer.replyTarget = 0;
        HandleReply(window, OtherMakersMessage(100).data(), 100);
        EXPECT_FALSE(TransferRunning());
    }
    EXPECT_THAT(boxes.Take(),
                ElementsAre(Field(&ShownBox::text, AllOf(HasSubstr("100"), HasSubstr("170")))));
    DestroyWindow(window);
}
