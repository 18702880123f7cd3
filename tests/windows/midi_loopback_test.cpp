// The MIDI ports, input buffers and sending, end to end under Wine against the virtual
// instrument (midimap.dll beside this program, device -1). A hidden window stands in for the
// Manager: it opens the ports with itself as the notification window, holds the label list
// (control 102) and the port lists (controls 105 and 106), and routes MM_MIM_LONGDATA to
// ReceiveBuffer and MM_MOM_DONE to SendNextMessage.
#include "support/windows_test_support.h"

#include "manager/message_store.h"
#include "manager/store_input.h"
#include "manager/store_list_box.h"
#include "manager/syx_sending.h"
#include "midi/midi_state.h"
#include "midi/sysex_output.h"
#include "shell/debug_trace.h"
#include "shell/message_hook.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using namespace wintest;

namespace {

constexpr int labelList = 102;
constexpr int inputPortList = 105;
constexpr int outputPortList = 106;

int forwardedKeys = 0; // keys of child controls the message hook passed on

LRESULT CALLBACK ManagerStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYUP:
        ++forwardedKeys;
        return 0;
    case MM_MIM_LONGDATA:
        ReceiveBuffer(window, reinterpret_cast<MIDIHDR*>(lParam));
        return 0;
    case MM_MOM_DONE:
        SendNextMessage();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A tagged file of `messages`.
Bytes TaggedFile(const std::vector<Bytes>& messages) {
    return TaggedSyxFile('+', "three", messages);
}

// F0, maker, data bytes below 80 hex, F7: a message a MIDI cable carries unchanged.
Bytes SysEx(std::size_t length, unsigned char maker, unsigned seed) {
    Bytes message(length);
    for (std::size_t i = 0; i < length; ++i)
        message[i] = static_cast<unsigned char>((i * 5 + seed * 11) & 0x7F);
    message.front() = 0xF0;
    message[1] = maker;
    message.back() = 0xF7;
    return message;
}

// The lines of a trace window's text that are exactly `line`.
int TraceLinesOf(const std::string& text, const std::string& line) {
    int count = 0;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        count += text.compare(start, end - start, line) == 0;
    return count;
}

class Loopback : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { boxes = new MessageBoxWatch; }
    static void TearDownTestSuite() { delete boxes; }

    void SetUp() override {
        folder = TestScratchFolder("talvane-transport-") + "\\";
        logPath = folder + "vi.log";
        SetEnvironmentVariableA("TALVANE_VI_MODE", "loopback");
        SetEnvironmentVariableA("TALVANE_VI_WIRE_SPEED", nullptr);
        SetEnvironmentVariableA("TALVANE_VI_LOG", logPath.c_str());
        settings.InputPort = -1;
        settings.OutputPort = -1;
        BuildScratchFileNames(folder);
        window = CreateStandInWindow("transport test", ManagerStandIn,
                                     {{"LISTBOX", labelList, LBS_NOTIFY},
                                      {"COMBOBOX", inputPortList, CBS_DROPDOWNLIST},
                                      {"COMBOBOX", outputPortList, CBS_DROPDOWNLIST}});
        shell.currentModuleWindow = window;
        AttachStoreLabelList(GetDlgItem(window, labelList));
        boxes->Take();
    }

    void OpenPorts(bool outputWithWindow = true) {
        AllocateInputBuffers();
        FillPortLists(window);
        OpenInput(window);
        OpenOutput(outputWithWindow ? window : nullptr);
        ResetStore();
        ASSERT_TRUE(midi.inputOpen);
        ASSERT_TRUE(midi.outputOpen);
    }

    void TearDown() override {
        CloseInput();
        CloseOutput();
        PumpFor(100ms); // the buffers the reset returned come back empty and stay unqueued
        CloseStore();
        FreeInputBuffers();
        DestroyWindow(window);
        shell.currentModuleWindow = nullptr;
        DeleteStoreFiles();
        // The instrument may still hold its log open; what cannot go now goes at the next run.
        RemoveFolder(folder);
        // A test's trace window is gone with it: the next trace looks again.
        debugTrace.lookup = TraceLookup::notLookedUp;
        debugTrace.target = nullptr;
        EXPECT_TRUE(boxes->Take().empty()) << "an unexpected message box was shown";
    }

    std::string Path(const std::string& name) const { return folder + name; }

    std::vector<std::string> Labels() { return ListBoxLines(GetDlgItem(window, labelList)); }

    std::vector<Bytes> StoredMessages() {
        store.dataFile.Flush();
        store.lengthFile.Flush();
        const Bytes data = ReadBytes(store.files.data);
        const Bytes lengths = ReadBytes(store.files.lengths);
        std::vector<Bytes> messages;
        std::size_t offset = 0;
        for (std::size_t i = 0; i + 4 <= lengths.size(); i += 4) {
            const std::size_t length = lengths[i] | lengths[i + 1] << 8 | lengths[i + 2] << 16 |
                                       static_cast<std::size_t>(lengths[i + 3]) << 24;
            if (offset + length > data.size())
                break;
            messages.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(offset),
                                  data.begin() + static_cast<std::ptrdiff_t>(offset + length));
            offset += length;
        }
        EXPECT_EQ(offset, data.size());
        return messages;
    }

    std::vector<InstrumentEvent> Log(const std::string& event) {
        return InstrumentLogEvents(logPath, event);
    }

    // Sends the file at `path` through the window path and waits for the send to end and for
    // `expected` messages to have come back into the store.
    void SendAndReceive(const std::string& path, int expected, Milliseconds timeout = 20s) {
        SendFile(path.c_str());
        EXPECT_TRUE(shell.busy || sending.state == sendFinished);
        EXPECT_TRUE(PumpUntil(
            [&] { return sending.state == sendFinished && MessageCount() >= expected; }, timeout));
        PumpFor(100ms);
        EXPECT_FALSE(shell.busy);
    }

    static MessageBoxWatch* boxes;
    std::string folder;
    std::string logPath;
    HWND window = nullptr;
};

MessageBoxWatch* Loopback::boxes = nullptr;

} // namespace

TEST_F(Loopback, PortListsShowTheInstrumentAsTheMapper) {
    OpenPorts();
    for (const int id : {inputPortList, outputPortList}) {
        const HWND list = GetDlgItem(window, id);
        ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 1);
        char name[64] = {};
        SendMessageA(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(name));
        EXPECT_STREQ(name, "Talvane Virtual Instrument");
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    }
    EXPECT_EQ(InputDeviceAtPosition(0), -1);
    EXPECT_EQ(OutputDeviceAtPosition(0), -1);
    EXPECT_EQ(InputDeviceAtPosition(5), -1); // outside the list: the current device
}

TEST_F(Loopback, ChoosingTheDeviceInUseDoesNotReopenThePort) {
    OpenPorts();
    const auto opensBefore = Log("open-in").size() + Log("open-out").size();
    ChangeInputDevice(window, -1);
    ChangeOutputDevice(window, -1);
    EXPECT_EQ(Log("open-in").size() + Log("open-out").size(), opensBefore);
    EXPECT_TRUE(Log("close-in").empty());
}

TEST_F(Loopback, ThreeMessageFileArrivesAsThreeMessagesPacedByTheOutput) {
    OpenPorts();
    const std::vector<Bytes> messages = {SysEx(24, 0x41, 1), SysEx(300, 0x42, 2),
                                         SysEx(9, 0x7E, 3)};
    WriteBytes(Path("three.syx"), TaggedFile(messages));
    SendAndReceive(Path("three.syx"), 3);
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(Labels(),
              (std::vector<std::string>{"24 bytes [Roland]", "300 bytes [Korg]", "9 bytes [7e]"}));

    const auto received = Log("recv");
    const auto done = Log("done");
    ASSERT_EQ(received.size(), 3u);
    ASSERT_EQ(done.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(received[k].rest,
                  std::to_string(messages[k].size()) + " " + HexText(messages[k]));
    for (std::size_t k = 0; k + 1 < 3; ++k)
        EXPECT_GE(received[k + 1].ms - done[k].ms, 20.0)
            << "message " << k + 2 << " started too soon after message " << k + 1;
}

// A standard file goes out as one long message; after it, a tagged file whose first message fills
// two buffers exactly, the second ending in F7, which is not joined to the next message.
TEST_F(Loopback, StandardFileIsOneMessageAndAFullBufferEndingInF7EndsItsMessage) {
    OpenPorts();
    const Bytes ten = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0x00, 0xF7};
    const std::vector<Bytes> two = {SysEx(64000, 0x42, 4), SysEx(10, 0x43, 5)};
    WriteBytes(Path("ten.syx"), ten);
    WriteBytes(Path("two.syx"), TaggedFile(two));
    SendAndReceive(Path("ten.syx"), 1);
    const auto received = Log("recv");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].rest, "10 " + HexText(ten));
    SendAndReceive(Path("two.syx"), 3);
    EXPECT_EQ(StoredMessages(), (std::vector<Bytes>{ten, two[0], two[1]}));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"10 bytes [Yamaha]", "64000 bytes [Korg]",
                                                  "10 bytes [Yamaha]"}));
}

TEST_F(Loopback, CommandLinePathCountsCompletionsAcrossThreads) {
    // Every completion traces "!" from the output's own thread into the trace window, which the
    // first trace finds on this thread, as the command-line send's "Sending" does.
    TraceNotepad notepad;
    debugTrace.lookup = TraceLookup::notLookedUp;
    OpenPorts(false);
    const std::vector<Bytes> messages = {SysEx(12, 0x41, 6), SysEx(40, 0x42, 7)};
    WriteBytes(Path("cmd.syx"), TaggedFile(messages));
    DebugTrace("Sending");
    SendFile(Path("cmd.syx").c_str());
    // The loop of the command-line send: wait for the state to change, send the next message,
    // count the completion off; end when the send has finished.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    int rounds = 0;
    while (sending.state != sendFinished && std::chrono::steady_clock::now() < deadline) {
        if (sending.state == sendWaiting) {
            Sleep(1);
            continue;
        }
        SendNextMessage();
        AcknowledgeCompletion();
        ++rounds;
    }
    EXPECT_EQ(sending.state, sendFinished);
    EXPECT_EQ(rounds, 2);
    EXPECT_EQ(TraceLinesOf(notepad.Text(), "!"), 2);
    EXPECT_FALSE(shell.busy);
    EXPECT_TRUE(PumpUntil([] { return MessageCount() == 2; }, 5s));
    EXPECT_EQ(StoredMessages(), messages);
}

TEST_F(Loopback, SecondSendWhileOneRunsIsIgnored) {
    SetEnvironmentVariableA("TALVANE_VI_WIRE_SPEED", "1");
    OpenPorts();
    const std::vector<Bytes> messages = {SysEx(400, 0x41, 8), SysEx(400, 0x41, 9)};
    WriteBytes(Path("slow.syx"), TaggedFile(messages));
    SendFile(Path("slow.syx").c_str());
    SendFile(Path("slow.syx").c_str());
    EXPECT_TRUE(
        PumpUntil([] { return sending.state == sendFinished && MessageCount() == 2; }, 20s));
    PumpFor(200ms);
    EXPECT_EQ(Log("recv").size(), 2u);
    EXPECT_EQ(StoredMessages(), messages);
}

TEST_F(Loopback, DamagedOrMissingFilesSendNothingAndSaySo) {
    OpenPorts();
    Bytes damaged = TaggedFile({SysEx(50, 0x41, 1), SysEx(50, 0x41, 2)});
    damaged.resize(damaged.size() - 1);
    WriteBytes(Path("damaged.syx"), damaged);
    SendFile(Path("damaged.syx").c_str());
    EXPECT_EQ(sending.state, sendFinished);
    EXPECT_FALSE(shell.busy);
    SendFile(Path("missing.syx").c_str());
    EXPECT_EQ(sending.state, sendFinished);
    // An empty tagged file has nothing to send and ends at once, silently.
    WriteBytes(Path("empty.syx"), TaggedFile({}));
    SendFile(Path("empty.syx").c_str());
    EXPECT_EQ(sending.state, sendFinished);
    PumpFor(300ms);
    EXPECT_TRUE(Log("recv").empty());
    const auto shown = boxes->Take();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_NE(shown[0].text.find("damaged"), std::string::npos) << shown[0].text;
    EXPECT_NE(shown[1].text.find("Couldn't open"), std::string::npos) << shown[1].text;
}

TEST_F(Loopback, ClosingTheInputReturnsEmptyBuffersThatAreNotStored) {
    OpenPorts();
    CloseInput();
    PumpFor(300ms);
    EXPECT_EQ(MessageCount(), 0);
    EXPECT_EQ(Log("reset-in").size(), 1u);
    // Opened again, the input receives as before.
    OpenInput(window);
    const Bytes message = SysEx(30, 0x47, 1);
    WriteBytes(Path("one.syx"), message);
    SendAndReceive(Path("one.syx"), 1);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{message});
}

TEST_F(Loopback, WireSpeedMessageOf70000BytesComesBackWhole) {
    SetEnvironmentVariableA("TALVANE_VI_WIRE_SPEED", "1");
    OpenPorts();
    const Bytes message = SysEx(70000, 0x41, 12);
    WriteBytes(Path("long.syx"), message);
    SendAndReceive(Path("long.syx"), 1, 90s);
    EXPECT_EQ(MessageCount(), 1);
    EXPECT_EQ(StoredMessages(), std::vector<Bytes>{message});
    EXPECT_EQ(Labels(), std::vector<std::string>{"70000 bytes [Roland]"});
    const auto sent = Log("send");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().rest.substr(0, 6), "70000 ");
}

TEST_F(Loopback, MessageCutByClosingTheInputIsKeptAsOneMessage) {
    SetEnvironmentVariableA("TALVANE_VI_WIRE_SPEED", "1");
    OpenPorts();
    const Bytes message = SysEx(33000, 0x43, 13);
    WriteBytes(Path("cut.syx"), message);
    SendFile(Path("cut.syx").c_str());
    // The first full buffer is back; the next one is filling when the input closes.
    ASSERT_TRUE(PumpUntil([] { return midi.continuationCount == 1; }, 30s));
    PumpFor(50ms);
    CloseInput();
    PumpFor(200ms);
    ASSERT_EQ(MessageCount(), 1);
    const Bytes stored = StoredMessages().front();
    EXPECT_GT(stored.size(), 32000u);
    EXPECT_LT(stored.size(), message.size());
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), message.begin()));
    EXPECT_EQ(Labels(),
              std::vector<std::string>{std::to_string(stored.size()) + " bytes [Yamaha]"});
    CloseOutput(); // ends the send still on its way
    EXPECT_EQ(sending.state, sendFinished);
    EXPECT_FALSE(shell.busy);
}

// Notices of a burst pile up while nothing is pumped; they are taken together with the message
// hook set aside, yet a key posted among them still reaches the hook, which is back afterwards.
TEST_F(Loopback, BurstKeepsItsOrderAndTheMessageHookSeesKeysPostedAmongIt) {
    SetEnvironmentVariableA("TALVANE_VI_WIRE_SPEED", "buffer");
    InstallMessageHook();
    OpenPorts();
    std::vector<Bytes> messages;
    Bytes file;
    for (unsigned i = 0; i < 200; ++i) {
        messages.push_back(SysEx(8, 0x41, i));
        file.insert(file.end(), messages.back().begin(), messages.back().end());
    }
    WriteBytes(Path("burst.syx"), file);
    forwardedKeys = 0;
    SendFile(Path("burst.syx").c_str());
    Sleep(300); // every queued buffer comes back and waits in the queue
    PostMessageA(GetDlgItem(window, labelList), WM_KEYUP, VK_SHIFT, 0xC0000001);
    EXPECT_TRUE(
        PumpUntil([] { return sending.state == sendFinished && MessageCount() >= 200; }, 20s));
    PumpFor(100ms);
    ShowPendingLabels();
    EXPECT_EQ(StoredMessages(), messages);
    EXPECT_EQ(Labels().size(), 200u);
    EXPECT_EQ(forwardedKeys, 1);
    EXPECT_NE(shell.messageHook, nullptr);
    EXPECT_FALSE(shell.messageHookPaused);
    for (const auto& note : Log("note"))
        EXPECT_FALSE(note.rest.starts_with("input lost")) << note.rest;
    RemoveMessageHook();
}
