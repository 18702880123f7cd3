// The virtual instrument's behaviour as an M1, a loopback cable and a silent device.
#include "tools/virtual-instrument/instrument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// What the instrument sent back and logged for `bytes`.
using Heard = vi::InstrumentOutput;

Heard Feed(vi::Instrument& instrument, const Bytes& bytes) {
    Heard out;
    for (std::uint8_t b : bytes) {
        vi::ReceiveByte(instrument, b, out);
    }
    return out;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes DumpOf(const vi::ProgramBytes& program, int channel) {
    const auto dump = vi::EncodeProgramDump(program, channel);
    return Bytes(dump.begin(), dump.end());
}

const Bytes kDumpRequest = {0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7};

TEST(ViInstrumentM1, DumpRequestIsAnsweredWithTheEditBuffer) {
    vi::Instrument m1;
    const Heard run = Feed(m1, kDumpRequest);
    ASSERT_EQ(run.wire.size(), 170u);
    EXPECT_EQ(run.wire, DumpOf(vi::MakeFactoryProgram(0), 1));
    ASSERT_EQ(run.log.size(), 1u);
    EXPECT_EQ(run.log[0].rfind("note dump request", 0), 0u) << run.log[0];
}

TEST(ViInstrumentM1, ListensOnlyOnItsGlobalChannel) {
    vi::Instrument m1;
    m1.channel = 3;
    const Heard own = Feed(m1, {0xF0, 0x42, 0x32, 0x19, 0x10, 0xF7});
    ASSERT_EQ(own.wire.size(), 170u);
    EXPECT_EQ(Bytes(own.wire.begin(), own.wire.begin() + 5), (Bytes{0xF0, 0x42, 0x32, 0x19, 0x40}));
    EXPECT_EQ(own.wire.back(), 0xF7);
    // A request on channel 1 is not for it: it goes back as on a cable.
    const Heard other = Feed(m1, kDumpRequest);
    EXPECT_EQ(other.wire, kDumpRequest);
    EXPECT_TRUE(other.log.empty());
}

TEST(ViInstrumentM1, ProgramChangeBeforeTheRequestInOneStreamSelectsTheProgram) {
    vi::Instrument m1;
    const Heard run = Feed(m1, Concat({0xC0, 0x05}, kDumpRequest));
    EXPECT_EQ(run.wire, DumpOf(vi::MakeFactoryProgram(5), 1));
    EXPECT_EQ(m1.m1.currentProgram, 5);
    ASSERT_EQ(run.log.size(), 2u);
    EXPECT_EQ(run.log[0].rfind("note program change 05", 0), 0u) << run.log[0];
}

TEST(ViInstrumentM1, ProgramChangeOnAnotherChannelIsPassedOn) {
    vi::Instrument m1;
    const Heard run = Feed(m1, {0xC1, 0x05});
    EXPECT_EQ(run.wire, (Bytes{0xC1, 0x05}));
    EXPECT_EQ(m1.m1.currentProgram, 0);
}

TEST(ViInstrumentM1, ProgramChangeBeyondTheLastProgramChangesNothing) {
    vi::Instrument m1;
    const Heard run = Feed(m1, Concat({0xC0, 0x63, 0xC0, 0x64}, kDumpRequest));
    EXPECT_EQ(m1.m1.currentProgram, 99);
    EXPECT_EQ(run.wire, DumpOf(vi::MakeFactoryProgram(99), 1));
    ASSERT_GE(run.log.size(), 2u);
    EXPECT_EQ(run.log[1].rfind("note ignored program change 100", 0), 0u) << run.log[1];
}

TEST(ViInstrumentM1, RunningStatusCarriesProgramChanges) {
    vi::Instrument m1;
    Feed(m1, {0xC0, 0x02, 0x07});
    EXPECT_EQ(m1.m1.currentProgram, 7);
}

TEST(ViInstrumentM1, ReceivedDumpReplacesTheEditBufferAndComesBackOnRequest) {
    vi::Instrument m1;
    vi::ProgramBytes program = vi::MakeFactoryProgram(42);
    program[0] = 'Z';
    program[100] = 0xFE;
    const Heard load = Feed(m1, DumpOf(program, 1));
    EXPECT_EQ(load.wire, (Bytes{0xF0, 0x42, 0x30, 0x19, 0x23, 0xF7}));
    EXPECT_EQ(m1.m1.editBuffer, program);
    // The stored program is untouched until it is written.
    EXPECT_EQ(m1.m1.programs[0], vi::MakeFactoryProgram(0));
    const Heard back = Feed(m1, kDumpRequest);
    EXPECT_EQ(back.wire, DumpOf(program, 1));
}

TEST(ViInstrumentM1, DumpOfTheWrongLengthIsADataLoadError) {
    vi::Instrument m1;
    Bytes shortDump = DumpOf(vi::MakeFactoryProgram(9), 1);
    shortDump.erase(shortDump.begin() + 100);
    const Heard tooShort = Feed(m1, shortDump);
    EXPECT_EQ(tooShort.wire, (Bytes{0xF0, 0x42, 0x30, 0x19, 0x24, 0xF7}));
    Bytes longDump = DumpOf(vi::MakeFactoryProgram(9), 1);
    longDump.insert(longDump.begin() + 100, 0x00);
    const Heard tooLong = Feed(m1, longDump);
    EXPECT_EQ(tooLong.wire, (Bytes{0xF0, 0x42, 0x30, 0x19, 0x24, 0xF7}));
    EXPECT_EQ(m1.m1.editBuffer, vi::MakeFactoryProgram(0));
}

TEST(ViInstrumentM1, WriteRequestStoresTheEditBuffer) {
    vi::Instrument m1;
    vi::ProgramBytes program = vi::MakeFactoryProgram(3);
    program[5] = '!';
    Feed(m1, DumpOf(program, 1));
    const Heard write = Feed(m1, {0xF0, 0x42, 0x30, 0x19, 0x11, 0x00, 0x63, 0xF7});
    EXPECT_EQ(write.wire, (Bytes{0xF0, 0x42, 0x30, 0x19, 0x21, 0xF7}));
    EXPECT_EQ(m1.m1.programs[99], program);
    // Selecting another program and coming back finds the written one.
    const Heard reread = Feed(m1, Concat({0xC0, 0x00, 0xC0, 0x63}, kDumpRequest));
    EXPECT_EQ(reread.wire, DumpOf(program, 1));
}

TEST(ViInstrumentM1, WriteRequestBeyondTheLastProgramIsAWriteError) {
    vi::Instrument m1;
    const auto before = m1.m1.programs;
    const Heard run = Feed(m1, {0xF0, 0x42, 0x30, 0x19, 0x11, 0x00, 0x64, 0xF7});
    EXPECT_EQ(run.wire, (Bytes{0xF0, 0x42, 0x30, 0x19, 0x22, 0xF7}));
    const Heard bank = Feed(m1, {0xF0, 0x42, 0x30, 0x19, 0x11, 0x01, 0x00, 0xF7});
    EXPECT_EQ(bank.wire, (Bytes{0xF0, 0x42, 0x30, 0x19, 0x22, 0xF7}));
    EXPECT_EQ(m1.m1.programs, before);
}

TEST(ViInstrumentM1, ParameterChangesAndOtherFunctionsAreLoggedNotAnswered) {
    vi::Instrument m1;
    const Heard change = Feed(m1, {0xF0, 0x42, 0x30, 0x19, 0x41, 0x00, 0x08, 0x00, 0x00, 0xF7});
    EXPECT_TRUE(change.wire.empty());
    ASSERT_EQ(change.log.size(), 1u);
    EXPECT_EQ(change.log[0], "note parameter change 00 08 00 00");
    const Heard other = Feed(m1, {0xF0, 0x42, 0x30, 0x19, 0x1C, 0xF7});
    EXPECT_TRUE(other.wire.empty());
    ASSERT_EQ(other.log.size(), 1u);
    EXPECT_EQ(other.log[0].rfind("note ignored function 1C", 0), 0u) << other.log[0];
    const Heard badRequest = Feed(m1, {0xF0, 0x42, 0x30, 0x19, 0x10, 0x00, 0xF7});
    EXPECT_TRUE(badRequest.wire.empty());
}

TEST(ViInstrumentM1, UnterminatedMessageForTheM1IsIgnored) {
    vi::Instrument m1;
    const Heard run = Feed(m1, {0xF0, 0x42, 0x30, 0x19, 0x10, 0x90, 0x3C, 0x40});
    EXPECT_EQ(run.wire, (Bytes{0x90, 0x3C, 0x40}));
    ASSERT_EQ(run.log.size(), 1u);
    EXPECT_EQ(run.log[0].rfind("note ignored unterminated", 0), 0u) << run.log[0];
}

TEST(ViInstrumentM1, OtherSysExComesBackUnchangedAsItArrives) {
    vi::Instrument m1;
    vi::InstrumentOutput out;
    // Another maker: passed on as soon as the maker byte shows it.
    vi::ReceiveByte(m1, 0xF0, out);
    EXPECT_TRUE(out.wire.empty());
    vi::ReceiveByte(m1, 0x43, out);
    EXPECT_EQ(out.wire, (Bytes{0xF0, 0x43}));
    Bytes message = {0xF0, 0x43};
    for (int i = 0; i < 70000; ++i) {
        const auto b = static_cast<std::uint8_t>(i % 128);
        message.push_back(b);
        vi::ReceiveByte(m1, b, out);
    }
    message.push_back(0xF7);
    vi::ReceiveByte(m1, 0xF7, out);
    EXPECT_EQ(out.wire, message);
    // Too short to be anyone's, and an M1 message for another model number.
    EXPECT_EQ(Feed(m1, {0xF0, 0xF7}).wire, (Bytes{0xF0, 0xF7}));
    EXPECT_EQ(Feed(m1, {0xF0, 0x42, 0x30, 0x1A, 0x10, 0xF7}).wire,
              (Bytes{0xF0, 0x42, 0x30, 0x1A, 0x10, 0xF7}));
}

TEST(ViInstrumentM1, ShortMessagesComeBackWithTheirStatus) {
    vi::Instrument m1;
    const Heard run = Feed(m1, {0x90, 0x3C, 0x40, 0x3E, 0x40, 0xF8, 0xB0, 0x07, 0x64});
    EXPECT_EQ(run.wire, (Bytes{0x90, 0x3C, 0x40, 0x90, 0x3E, 0x40, 0xF8, 0xB0, 0x07, 0x64}));
}

TEST(ViInstrumentM1, DropEveryNthReplyLogsTheDroppedReply) {
    vi::Instrument m1;
    m1.dropEvery = 2;
    EXPECT_EQ(Feed(m1, kDumpRequest).wire.size(), 170u);
    const Heard dropped = Feed(m1, kDumpRequest);
    EXPECT_TRUE(dropped.wire.empty());
    ASSERT_EQ(dropped.log.size(), 2u);
    EXPECT_EQ(dropped.log[1].rfind("drop 170 F0 42 30 19 40 ", 0), 0u);
    EXPECT_EQ(dropped.log[1].substr(dropped.log[1].size() - 3), " F7");
    EXPECT_EQ(Feed(m1, kDumpRequest).wire.size(), 170u);
    // Loopback echoes are not replies and are never dropped.
    EXPECT_EQ(Feed(m1, {0xF0, 0x7E, 0xF7}).wire.size(), 3u);
    EXPECT_TRUE(Feed(m1, kDumpRequest).wire.empty());
}

TEST(ViInstrumentModes, LoopbackPassesEverythingIncludingM1Requests) {
    vi::Instrument cable;
    cable.mode = vi::InstrumentMode::Loopback;
    const Bytes stream = Concat({0xC0, 0x05, 0x13}, kDumpRequest);
    const Heard run = Feed(cable, stream);
    EXPECT_EQ(run.wire, stream);
    EXPECT_TRUE(run.log.empty());
    EXPECT_EQ(cable.m1.currentProgram, 0);
}

TEST(ViInstrumentModes, SilentAnswersNothing) {
    vi::Instrument silent;
    silent.mode = vi::InstrumentMode::Silent;
    const Heard run = Feed(silent, Concat({0x90, 0x3C, 0x40, 0xF0, 0x43, 0xF7}, kDumpRequest));
    EXPECT_TRUE(run.wire.empty());
    EXPECT_TRUE(run.log.empty());
}

} // namespace
