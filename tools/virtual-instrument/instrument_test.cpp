// The virtual instrument seen from a program: winmm's MIDI mapper (device -1) is midimap.dll
// beside this test, and the test reaches it only through the winmm functions.
#include "tools/virtual-instrument/m1_dump.h"
#include "tools/virtual-instrument/m1_programs.h"

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr UINT kMapper = static_cast<UINT>(-1); // MIDI_MAPPER
constexpr DWORD kBufferSize = 32000;
constexpr DWORD kPatience = 10000; // ms: the longest any test waits for one thing

LONGLONG Ticks() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Seconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

// The clock reading `ms` milliseconds from now.
LONGLONG Deadline(DWORD ms) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return Ticks() + f.QuadPart * ms / 1000;
}

// The log's clock: QueryPerformanceCounter in milliseconds.
double Milliseconds(LONGLONG ticks) {
    return Seconds(ticks) * 1000.0;
}

// One notice from the driver, with a copy of a returned buffer's bytes.
struct Notice {
    UINT message = 0;
    DWORD_PTR param1 = 0;
    DWORD_PTR param2 = 0;
    DWORD recorded = 0;
    Bytes data;
    LONGLONG at = 0;
};

// Collects the notices of one port; the driver calls in on its own thread.
class Notices {
  public:
    Notices() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    ~Notices() { CloseHandle(event_); }
    Notices(const Notices&) = delete;
    Notices& operator=(const Notices&) = delete;

    void Push(UINT message, DWORD_PTR param1, DWORD_PTR param2) {
        Notice notice;
        notice.message = message;
        notice.param1 = param1;
        notice.param2 = param2;
        notice.at = Ticks();
        if (message == MIM_LONGDATA) {
            const auto* header = reinterpret_cast<const MIDIHDR*>(param1);
            notice.recorded = header->dwBytesRecorded;
            notice.data.assign(header->lpData, header->lpData + header->dwBytesRecorded);
        }
        {
            std::lock_guard<std::mutex> hold(mutex_);
            notices_.push_back(std::move(notice));
        }
        SetEvent(event_);
    }

    std::vector<Notice> Of(UINT message) {
        std::lock_guard<std::mutex> hold(mutex_);
        std::vector<Notice> out;
        for (const Notice& n : notices_) {
            if (n.message == message) {
                out.push_back(n);
            }
        }
        return out;
    }

    // Waits until at least `count` notices of the kind have come; false after the timeout.
    bool WaitFor(UINT message, std::size_t count, DWORD timeoutMs = kPatience) {
        return WaitUntil([&] { return Of(message).size() >= count; }, timeoutMs);
    }

    // The SysEx bytes returned in buffers so far, joined.
    Bytes Received() {
        Bytes all;
        for (const Notice& n : Of(MIM_LONGDATA)) {
            all.insert(all.end(), n.data.begin(), n.data.end());
        }
        return all;
    }

    // Waits until the returned buffers hold `count` bytes.
    bool WaitForBytes(std::size_t count, DWORD timeoutMs = kPatience) {
        return WaitUntil([&] { return Received().size() >= count; }, timeoutMs);
    }

  private:
    // Checks again at every notice; false when the timeout passes first.
    bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        const LONGLONG ticksPerMs = std::max<LONGLONG>(f.QuadPart / 1000, 1);
        const LONGLONG deadline = Deadline(timeoutMs);
        while (!done()) {
            const LONGLONG left = deadline - Ticks();
            if (left <= 0) {
                return false;
            }
            WaitForSingleObject(event_, static_cast<DWORD>(left / ticksPerMs) + 1);
        }
        return true;
    }

    HANDLE event_;
    std::mutex mutex_;
    std::vector<Notice> notices_;
};

void CALLBACK InputNotice(HMIDIIN, UINT message, DWORD_PTR instance, DWORD_PTR p1, DWORD_PTR p2) {
    reinterpret_cast<Notices*>(instance)->Push(message, p1, p2);
}
void CALLBACK OutputNotice(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR p1, DWORD_PTR p2) {
    reinterpret_cast<Notices*>(instance)->Push(message, p1, p2);
}

struct Buffer {
    MIDIHDR header{};
    std::vector<char> memory;
};

// An input buffer of 32,000 bytes, prepared and queued.
std::unique_ptr<Buffer> QueuedBuffer(HMIDIIN in) {
    auto buffer = std::make_unique<Buffer>();
    buffer->memory.resize(kBufferSize);
    buffer->header.lpData = buffer->memory.data();
    buffer->header.dwBufferLength = kBufferSize;
    EXPECT_EQ(midiInPrepareHeader(in, &buffer->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(midiInAddBuffer(in, &buffer->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    return buffer;
}

// Prepares `header` for a long message of `bytes` to `out`.
void Prepare(HMIDIOUT out, Bytes& bytes, MIDIHDR& header) {
    header = MIDIHDR{};
    header.lpData = reinterpret_cast<LPSTR>(bytes.data());
    header.dwBufferLength = static_cast<DWORD>(bytes.size());
    EXPECT_EQ(midiOutPrepareHeader(out, &header, sizeof header), MMSYSERR_NOERROR);
}

// The mapper's input and output as a program opens them: function notices, input buffers of
// 32,000 bytes queued and started.
class Ports {
  public:
    Notices inNotices;
    Notices outNotices;
    HMIDIIN in = nullptr;
    HMIDIOUT out = nullptr;
    std::vector<std::unique_ptr<Buffer>> buffers;

    ~Ports() { Close(); }

    MMRESULT OpenIn(int bufferCount = 8) {
        const MMRESULT result =
            midiInOpen(&in, kMapper, reinterpret_cast<DWORD_PTR>(InputNotice),
                       reinterpret_cast<DWORD_PTR>(&inNotices), CALLBACK_FUNCTION);
        if (result != MMSYSERR_NOERROR) {
            in = nullptr;
            return result;
        }
        for (int i = 0; i < bufferCount; ++i) {
            buffers.push_back(QueuedBuffer(in));
        }
        return midiInStart(in);
    }

    MMRESULT OpenOut() {
        const MMRESULT result =
            midiOutOpen(&out, kMapper, reinterpret_cast<DWORD_PTR>(OutputNotice),
                        reinterpret_cast<DWORD_PTR>(&outNotices), CALLBACK_FUNCTION);
        if (result != MMSYSERR_NOERROR) {
            out = nullptr;
        }
        return result;
    }

    // Both ports, with the defaults of OpenIn.
    testing::AssertionResult OpenBoth() {
        const MMRESULT input = OpenIn();
        const MMRESULT output = OpenOut();
        if (input != MMSYSERR_NOERROR || output != MMSYSERR_NOERROR) {
            return testing::AssertionFailure() << "open: input " << input << ", output " << output;
        }
        return testing::AssertionSuccess();
    }

    // Sends one long message and waits for its completion.
    void Send(const Bytes& message) {
        Bytes copy = message;
        const std::size_t before = outNotices.Of(MOM_DONE).size();
        MIDIHDR header;
        Prepare(out, copy, header);
        ASSERT_EQ(midiOutLongMsg(out, &header, sizeof header), MMSYSERR_NOERROR);
        ASSERT_TRUE(outNotices.WaitFor(MOM_DONE, before + 1)) << "no completion";
        EXPECT_TRUE(header.dwFlags & MHDR_DONE);
        EXPECT_EQ(midiOutUnprepareHeader(out, &header, sizeof header), MMSYSERR_NOERROR);
    }

    void Close() {
        if (in) {
            EXPECT_EQ(midiInReset(in), MMSYSERR_NOERROR);
            for (auto& buffer : buffers) {
                EXPECT_EQ(midiInUnprepareHeader(in, &buffer->header, sizeof(MIDIHDR)),
                          MMSYSERR_NOERROR);
            }
            EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
            in = nullptr;
        }
        if (out) {
            EXPECT_EQ(midiOutReset(out), MMSYSERR_NOERROR);
            EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
            out = nullptr;
        }
    }
};

std::string ReadFileText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
        text.append(chunk, read);
    }
    CloseHandle(file);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

const char* const kSettingNames[] = {"TALVANE_VI_MODE",       "TALVANE_VI_CHANNEL",
                                     "TALVANE_VI_WIRE_SPEED", "TALVANE_VI_DROP_EVERY",
                                     "TALVANE_VI_FAIL_OPEN",  "TALVANE_VI_LOG"};

const Bytes kDumpRequest = {0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7};

Bytes DumpOf(const vi::ProgramBytes& program, int channel) {
    const auto dump = vi::EncodeProgramDump(program, channel);
    return Bytes(dump.begin(), dump.end());
}

Bytes OtherMakersMessage(std::size_t length) {
    Bytes message(length);
    message.front() = 0xF0;
    message[1] = 0x43;
    for (std::size_t i = 2; i + 1 < length; ++i) {
        message[i] = static_cast<std::uint8_t>((i * 7) % 128);
    }
    message.back() = 0xF7;
    return message;
}

// Every test starts from the default instrument with a fresh log of its own.
class VirtualInstrument : public testing::Test {
  protected:
    std::string logPath;

    void SetUp() override {
        for (const char* name : kSettingNames) {
            SetEnvironmentVariableA(name, nullptr);
        }
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        logPath = std::string(folder) + "talvane-vi-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
        DeleteFileA(logPath.c_str());
        Set("TALVANE_VI_LOG", logPath);
    }

    void TearDown() override {
        for (const char* name : kSettingNames) {
            SetEnvironmentVariableA(name, nullptr);
        }
        DeleteFileA(logPath.c_str());
    }

    static void Set(const char* name, const std::string& value) {
        SetEnvironmentVariableA(name, value.c_str());
    }

    std::vector<std::string> LogLines() { return Lines(ReadFileText(logPath)); }

    // Waits until a log line starts with `event` (after the time); returns it, or "".
    std::string WaitForLogLine(const std::string& event) {
        const LONGLONG deadline = Deadline(kPatience);
        do {
            for (const std::string& line : LogLines()) {
                const std::size_t space = line.find(' ');
                if (space != std::string::npos &&
                    line.compare(space + 1, event.size(), event) == 0) {
                    return line;
                }
            }
            Sleep(10);
        } while (Ticks() < deadline);
        return {};
    }
};

TEST_F(VirtualInstrument, IsTheMapperWithOneDeviceEachWay) {
    MIDIOUTCAPSA outCaps{};
    ASSERT_EQ(midiOutGetDevCapsA(kMapper, &outCaps, sizeof outCaps), MMSYSERR_NOERROR);
    EXPECT_STREQ(outCaps.szPname, "Talvane Virtual Instrument");
    MIDIINCAPSA inCaps{};
    ASSERT_EQ(midiInGetDevCapsA(kMapper, &inCaps, sizeof inCaps), MMSYSERR_NOERROR);
    EXPECT_STREQ(inCaps.szPname, "Talvane Virtual Instrument");
}

TEST_F(VirtualInstrument, LongSysExComesBackInBuffersOf32000Bytes) {
    Set("TALVANE_VI_MODE", "loopback");
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    const Bytes message = OtherMakersMessage(70000);
    ports.Send(message);
    ASSERT_TRUE(ports.inNotices.WaitForBytes(70000));
    const auto returned = ports.inNotices.Of(MIM_LONGDATA);
    ASSERT_EQ(returned.size(), 3u);
    EXPECT_EQ(returned[0].recorded, 32000u);
    EXPECT_EQ(returned[1].recorded, 32000u);
    EXPECT_EQ(returned[2].recorded, 6000u);
    // In the order they were queued.
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(returned[i].param1, reinterpret_cast<DWORD_PTR>(&ports.buffers[i]->header));
    }
    EXPECT_EQ(ports.inNotices.Received(), message);
}

TEST_F(VirtualInstrument, QueuedBuffersComeBackEmptyOnReset) {
    Ports ports;
    ASSERT_EQ(ports.OpenIn(4), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInReset(ports.in), MMSYSERR_NOERROR);
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 4));
    const auto returned = ports.inNotices.Of(MIM_LONGDATA);
    ASSERT_EQ(returned.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(returned[i].recorded, 0u);
        const MIDIHDR& header = ports.buffers[i]->header;
        EXPECT_TRUE(header.dwFlags & MHDR_DONE);
        EXPECT_FALSE(header.dwFlags & MHDR_INQUEUE);
    }
}

TEST_F(VirtualInstrument, PortsWithWorkOutstandingRefuseToClose) {
    Set("TALVANE_VI_WIRE_SPEED", "1");
    Ports ports;
    ASSERT_EQ(ports.OpenIn(2), MMSYSERR_NOERROR);
    ASSERT_EQ(ports.OpenOut(), MMSYSERR_NOERROR);
    EXPECT_EQ(midiInUnprepareHeader(ports.in, &ports.buffers[0]->header, sizeof(MIDIHDR)),
              MIDIERR_STILLPLAYING);
    EXPECT_EQ(midiInClose(ports.in), MIDIERR_STILLPLAYING);
    Bytes message = OtherMakersMessage(3125);
    MIDIHDR header;
    Prepare(ports.out, message, header);
    ASSERT_EQ(midiOutLongMsg(ports.out, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOutClose(ports.out), MIDIERR_STILLPLAYING);
    // winmm has let go of both handles whatever the driver said; the driver has let go of the
    // ports too, so that they can be opened again.
    ports.in = nullptr;
    ports.out = nullptr;
    EXPECT_FALSE(WaitForLogLine("note close-in refused: 2 buffers still queued").empty());
    EXPECT_FALSE(WaitForLogLine("note close-out refused").empty());
    Ports again;
    EXPECT_TRUE(again.OpenBoth());
}

TEST_F(VirtualInstrument, DumpRequestOnChannel3IsAnsweredWithAProgramDump) {
    Set("TALVANE_VI_CHANNEL", "3");
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    ports.Send({0xF0, 0x42, 0x32, 0x19, 0x10, 0xF7});
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 1));
    const Bytes reply = ports.inNotices.Received();
    ASSERT_EQ(reply.size(), 170u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 5), (Bytes{0xF0, 0x42, 0x32, 0x19, 0x40}));
    EXPECT_EQ(reply.back(), 0xF7);
    const auto program = vi::DecodeProgramDump(reply.data());
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(program[i] >= 0x20 && program[i] < 0x7F);
    }
}

TEST_F(VirtualInstrument, DumpSentComesBackByteForByte) {
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    vi::ProgramBytes program = vi::MakeFactoryProgram(61);
    const char name[] = "Round Trip";
    std::copy(name, name + 10, program.begin());
    program[140] = 0x9C; // a high bit in the short last group
    const Bytes dump = DumpOf(program, 1);
    ports.Send(dump);
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 1));
    EXPECT_EQ(ports.inNotices.Received(), (Bytes{0xF0, 0x42, 0x30, 0x19, 0x23, 0xF7}));
    ports.Send(kDumpRequest);
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 2));
    EXPECT_EQ(ports.inNotices.Of(MIM_LONGDATA)[1].data, dump);
}

TEST_F(VirtualInstrument, ProgramChangeAndRequestInOneLongMessageSelectThatProgram) {
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    Bytes message = {0xC0, 0x2A};
    message.insert(message.end(), kDumpRequest.begin(), kDumpRequest.end());
    ports.Send(message);
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 1));
    EXPECT_EQ(ports.inNotices.Received(), DumpOf(vi::MakeFactoryProgram(42), 1));
    // The M1 took the program change itself: nothing of it came back.
    EXPECT_TRUE(ports.inNotices.Of(MIM_DATA).empty());
}

TEST_F(VirtualInstrument, ShortMessagesComeBackAsShortMessages) {
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    ASSERT_EQ(midiOutShortMsg(ports.out, 0x403C91), MMSYSERR_NOERROR);
    ASSERT_EQ(midiOutShortMsg(ports.out, 0x05C0), MMSYSERR_NOERROR); // the M1's own
    ASSERT_EQ(midiOutShortMsg(ports.out, 0x05C1), MMSYSERR_NOERROR);
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_DATA, 2));
    const auto shorts = ports.inNotices.Of(MIM_DATA);
    EXPECT_EQ(shorts[0].param1, 0x403C91u);
    EXPECT_EQ(shorts[1].param1, 0x05C1u);
    EXPECT_FALSE(WaitForLogLine("note program change 05").empty());
}

TEST_F(VirtualInstrument, SilentModeAnswersNothing) {
    Set("TALVANE_VI_MODE", "silent");
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    ports.Send(kDumpRequest);
    ports.Send(OtherMakersMessage(100));
    ASSERT_EQ(midiOutShortMsg(ports.out, 0x403C90), MMSYSERR_NOERROR);
    // Answers would follow the completions at once; allow a generous moment for any.
    EXPECT_FALSE(ports.inNotices.WaitFor(MIM_LONGDATA, 1, 300));
    EXPECT_TRUE(ports.inNotices.Of(MIM_DATA).empty());
    EXPECT_FALSE(WaitForLogLine("recv 6 F0 42 30 19 10 F7").empty());
}

TEST_F(VirtualInstrument, DropEveryNthReply) {
    Set("TALVANE_VI_DROP_EVERY", "2");
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    ports.Send(kDumpRequest);
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 1));
    ports.Send(kDumpRequest);
    const std::string drop = WaitForLogLine("drop 170 F0 42 30 19 40");
    EXPECT_FALSE(drop.empty());
    ports.Send(kDumpRequest);
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 2));
    EXPECT_EQ(ports.inNotices.Of(MIM_LONGDATA).size(), 2u);
}

TEST_F(VirtualInstrument, WireSpeedTakesAboutASecondFor3125Bytes) {
    Set("TALVANE_VI_MODE", "loopback");
    Set("TALVANE_VI_WIRE_SPEED", "1");
    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    Bytes message = OtherMakersMessage(3125);
    MIDIHDR header;
    Prepare(ports.out, message, header);
    const LONGLONG start = Ticks();
    ASSERT_EQ(midiOutLongMsg(ports.out, &header, sizeof header), MMSYSERR_NOERROR);
    // The output completes later, on the driver's thread.
    EXPECT_TRUE(header.dwFlags & MHDR_INQUEUE);
    EXPECT_FALSE(header.dwFlags & MHDR_DONE);
    ASSERT_TRUE(ports.outNotices.WaitFor(MOM_DONE, 1));
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 1));
    const double sent = Seconds(ports.outNotices.Of(MOM_DONE)[0].at - start);
    const double echoed = Seconds(ports.inNotices.Of(MIM_LONGDATA)[0].at - start);
    EXPECT_GT(sent, 0.95);
    EXPECT_LT(sent, 1.5);
    // A cable passes each byte on as it comes: the echo ends one byte time after the send.
    EXPECT_GT(echoed, 0.95);
    EXPECT_LT(echoed, 1.5);
    EXPECT_EQ(ports.inNotices.Received(), message);
    EXPECT_EQ(midiOutUnprepareHeader(ports.out, &header, sizeof header), MMSYSERR_NOERROR);
}

TEST_F(VirtualInstrument, OutputResetCutsAMessageShortAndReportsItDone) {
    Set("TALVANE_VI_WIRE_SPEED", "1");
    Ports ports;
    ASSERT_EQ(ports.OpenOut(), MMSYSERR_NOERROR);
    Bytes message = OtherMakersMessage(3125);
    MIDIHDR header;
    Prepare(ports.out, message, header);
    ASSERT_EQ(midiOutLongMsg(ports.out, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOutUnprepareHeader(ports.out, &header, sizeof header), MIDIERR_STILLPLAYING);
    const LONGLONG start = Ticks();
    ASSERT_EQ(midiOutReset(ports.out), MMSYSERR_NOERROR);
    ASSERT_TRUE(ports.outNotices.WaitFor(MOM_DONE, 1));
    EXPECT_LT(Seconds(ports.outNotices.Of(MOM_DONE)[0].at - start), 0.5);
    EXPECT_EQ(midiOutUnprepareHeader(ports.out, &header, sizeof header), MMSYSERR_NOERROR);
    const std::string done = WaitForLogLine("done ");
    ASSERT_FALSE(done.empty());
    const int sent = std::stoi(done.substr(done.find("done ") + 5));
    EXPECT_LT(sent, 3125);
}

TEST_F(VirtualInstrument, FailOpenRefusesTheChosenPorts) {
    const struct {
        const char* ports;
        MMRESULT in, out;
    } cases[] = {{"in", MMSYSERR_ALLOCATED, MMSYSERR_NOERROR},
                 {"out", MMSYSERR_NOERROR, MMSYSERR_ALLOCATED},
                 {"both", MMSYSERR_ALLOCATED, MMSYSERR_ALLOCATED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ports);
        Set("TALVANE_VI_FAIL_OPEN", c.ports);
        Ports ports;
        EXPECT_EQ(ports.OpenIn(), c.in);
        EXPECT_EQ(ports.OpenOut(), c.out);
    }
    SetEnvironmentVariableA("TALVANE_VI_FAIL_OPEN", nullptr);
    Ports ports;
    EXPECT_TRUE(ports.OpenBoth());
    // A second open of a device already open is refused as on a real port.
    HMIDIOUT second = nullptr;
    EXPECT_EQ(midiOutOpen(&second, kMapper, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
}

TEST_F(VirtualInstrument, WindowNoticesArriveAsWindowMessages) {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    HMIDIIN in = nullptr;
    ASSERT_EQ(midiInOpen(&in, kMapper, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    const auto buffer = QueuedBuffer(in);
    ASSERT_EQ(midiInStart(in), MMSYSERR_NOERROR);
    HMIDIOUT out = nullptr;
    ASSERT_EQ(midiOutOpen(&out, kMapper, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    Bytes request = kDumpRequest;
    MIDIHDR header;
    Prepare(out, request, header);
    ASSERT_EQ(midiOutLongMsg(out, &header, sizeof header), MMSYSERR_NOERROR);

    bool done = false;
    MIDIHDR* returned = nullptr;
    const LONGLONG deadline = Deadline(kPatience);
    while ((!done || !returned) && Ticks() < deadline) {
        MSG msg;
        while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
            if (msg.message == MM_MOM_DONE) {
                done = true;
            } else if (msg.message == MM_MIM_LONGDATA) {
                returned = reinterpret_cast<MIDIHDR*>(msg.lParam);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    EXPECT_TRUE(done);
    ASSERT_EQ(returned, &buffer->header);
    EXPECT_EQ(returned->dwBytesRecorded, 170u);

    EXPECT_EQ(midiOutUnprepareHeader(out, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOutReset(out), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
    EXPECT_EQ(midiInReset(in), MMSYSERR_NOERROR);
    EXPECT_EQ(midiInUnprepareHeader(in, &buffer->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
    DestroyWindow(window);
}

TEST_F(VirtualInstrument, LogHasOneDocumentedLinePerEvent) {
    const LONGLONG before = Ticks();
    Bytes reply;
    {
        Ports ports;
        ASSERT_TRUE(ports.OpenBoth());
        ports.Send(kDumpRequest);
        ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 1));
        reply = ports.inNotices.Received();
        ASSERT_EQ(midiOutShortMsg(ports.out, 0x403C90), MMSYSERR_NOERROR);
        ASSERT_TRUE(ports.inNotices.WaitFor(MIM_DATA, 1));
    }
    const LONGLONG after = Ticks();
    const std::vector<std::string> lines = LogLines();
    const std::regex form(R"(^(\d+\.\d{3}) ([a-z-]+)( \d+( [0-9A-F]{2})*| .+)?$)");
    std::vector<std::string> events;
    double last = 0;
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, form)) << line;
        const double ms = std::stod(match[1]);
        EXPECT_GE(ms, last) << line;
        EXPECT_GE(ms, Milliseconds(before) - 1) << line;
        EXPECT_LE(ms, Milliseconds(after) + 1) << line;
        last = ms;
        events.push_back(line.substr(line.find(' ') + 1));
    }
    auto position = [&](const std::string& prefix) {
        const auto found = std::find_if(events.begin(), events.end(), [&](const std::string& e) {
            return e.rfind(prefix, 0) == 0;
        });
        return found == events.end() ? -1 : static_cast<int>(found - events.begin());
    };
    ASSERT_EQ(reply.size(), 170u);
    std::string replyHex;
    for (std::uint8_t b : reply) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        replyHex += hex;
    }
    const int openIn = position("open-in");
    const int startIn = position("start-in");
    const int openOut = position("open-out");
    const int recv = position("recv 6 F0 42 30 19 10 F7");
    const int note = position("note dump request");
    const int done = position("done 6");
    const int send = position("send 170" + replyHex);
    const int recvShort = position("recv 3 90 3C 40");
    const int sendShort = position("send 3 90 3C 40");
    const int resetIn = position("reset-in");
    const int closeIn = position("close-in");
    const int resetOut = position("reset-out");
    const int closeOut = position("close-out");
    for (int p : {openIn, startIn, openOut, recv, note, done, send, recvShort, sendShort, resetIn,
                  closeIn, resetOut, closeOut}) {
        EXPECT_GE(p, 0);
    }
    EXPECT_LT(openIn, startIn);
    EXPECT_LT(startIn, recv);
    EXPECT_LT(openOut, recv);
    EXPECT_LT(recv, note);
    EXPECT_LT(note, done);
    EXPECT_LT(recv, send);
    EXPECT_LT(send, recvShort);
    EXPECT_LT(recvShort, sendShort);
    EXPECT_LT(sendShort, resetIn);
    EXPECT_LT(resetIn, closeIn);
    EXPECT_LT(closeIn, resetOut);
    EXPECT_LT(resetOut, closeOut);
}

TEST_F(VirtualInstrument, SettingsFileBesideTheDriverIsReadWhenTheEnvironmentIsSilent) {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::string ini(exe, length);
    ini.resize(ini.find_last_of('\\') + 1);
    ini += "midimap.ini";
    if (GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << ini << " exists already; left alone";
    }
    struct RemoveAtEnd {
        std::string path;
        ~RemoveAtEnd() { DeleteFileA(path.c_str()); }
    } remove{ini};
    HANDLE file = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string text =
        "; test settings\r\nTALVANE_VI_CHANNEL=5\r\nTALVANE_VI_MODE=silent\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    Set("TALVANE_VI_MODE", "m1"); // the environment comes first

    Ports ports;
    ASSERT_TRUE(ports.OpenBoth());
    ports.Send({0xF0, 0x42, 0x34, 0x19, 0x10, 0xF7});
    ASSERT_TRUE(ports.inNotices.WaitFor(MIM_LONGDATA, 1));
    const Bytes reply = ports.inNotices.Received();
    ASSERT_EQ(reply.size(), 170u);
    EXPECT_EQ(reply[2], 0x34);
}

} // namespace
