#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "librarian/shipped_definitions.h"
#include "librarian/string_language.h"
#include "librarian/transfer_logic.h"
#include "tools/virtual-instrument/instrument.h"

using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Case {
    const char* name;
    std::optional<vi::InstrumentMode> mode;
    bool writesMemory; // a copy lands in the program itself, not only in the edit buffer
    std::int32_t program;
    Bytes request; // for that program on channel 1, as the MIDI implementation gives it
};

const Case cases[] = {
    {"Korg M1", std::nullopt, true, 5, {0xC0, 5, 0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7}},
    {"Yamaha TX7", vi::InstrumentMode::Tx7, false, 5, {0xC0, 5, 0xF0, 0x43, 0x20, 0x00, 0xF7}},
    {"Korg DW-8000",
     vi::InstrumentMode::Dw8000,
     true,
     63,
     {0xC0, 63, 0xF0, 0x42, 0x30, 0x03, 0x10, 0xF7}},
    {"E-mu Proteus 1",
     vi::InstrumentMode::Proteus1,
     true,
     70,
     {0xF0, 0x18, 0x04, 0x00, 0x00, 70, 0x00, 0xF7}},
    {"E-mu Proteus 2",
     vi::InstrumentMode::Proteus2,
     true,
     127,
     {0xF0, 0x18, 0x04, 0x00, 0x00, 127, 0x00, 0xF7}},
    {"DSI Mopho", vi::InstrumentMode::Mopho, true, 5, {0xF0, 0x01, 0x25, 0x05, 0x00, 5, 0xF7}},
    {"DSI Prophet 08",
     vi::InstrumentMode::Prophet08,
     true,
     127,
     {0xF0, 0x01, 0x23, 0x05, 0x00, 127, 0xF7}},
    {"DSI Tetra", vi::InstrumentMode::Tetra, true, 0, {0xF0, 0x01, 0x26, 0x05, 0x00, 0, 0xF7}},
    {"DSI Evolver",
     vi::InstrumentMode::Evolver,
     true,
     9,
     {0xF0, 0x01, 0x20, 0x01, 0x05, 0x00, 9, 0xF7}},
};

// Plays the bytes into the instrument; what it sends back.
Bytes Play(vi::Instrument& instrument, const Bytes& bytes) {
    vi::InstrumentOutput out;
    for (std::uint8_t byte : bytes)
        vi::ReceiveByte(instrument, byte, out);
    return out.wire;
}

// Each definition as the build wrote it: the table's record, its documented request, and, where
// the virtual instrument plays the instrument from a real dump, every program of the range
// fetched (a reply of the expected size carrying the name the instrument shows), then a copy of
// the first program to the last place and what the instrument holds afterwards.
TEST(ShippedDefinitions, EachIsWrittenAndWorksWithItsInstrument) {
    const auto files = std::filesystem::directory_iterator(TALVANE_DEFINITIONS_DIR);
    EXPECT_EQ(std::distance(begin(files), end(files)), std::ssize(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            std::string(TALVANE_DEFINITIONS_DIR) + "/" + c.name + definitionExtension;
        ASSERT_TRUE(LoadInstrumentDefinition(path));
        InstrumentDefinition d = instrument.definition;
        const std::optional<InstrumentDefinition> shipped = FindShippedDefinition(c.name);
        ASSERT_TRUE(shipped);
        EXPECT_EQ(std::memcmp(&d, &*shipped, sizeof d), 0);
        EXPECT_EQ(std::filesystem::file_size(path), sizeof d) << "a new definition is the record";
        EXPECT_TRUE(CheckDefinitionString(FieldText(d.requestString), StringKind::request));
        EXPECT_TRUE(CheckDefinitionString(FieldText(d.sendString), StringKind::send));
        const BuiltMessage request = BuildRequestMessage(d, c.program);
        EXPECT_TRUE(request.errors.empty());
        EXPECT_THAT(request.bytes, ElementsAreArray(c.request));
        if (!c.mode)
            continue;
        vi::Instrument vi;
        vi.mode = *c.mode;
        std::vector<Bytes> stored;
        for (std::int32_t program = d.rangeStart; program <= d.rangeEnd; ++program) {
            const Bytes reply = Play(vi, BuildRequestMessage(d, program).bytes);
            ASSERT_EQ(reply.size(), static_cast<std::size_t>(replyValues.expectedReplySize))
                << "program " << program;
            const auto data = reply.begin() + replyValues.replyDataOffset;
            stored.emplace_back(data, data + d.programSize);
            const std::string shown = vi::DumpProgramName(*vi.dumpModel, vi.dumpMemory, program);
            if (d.nameGrabbing) {
                char name[programNameSize];
                ExtractProgramName(FieldText(d.nameOffsets), stored.back().data(),
                                   stored.back().size(), name);
                EXPECT_EQ(name, shown);
            } else {
                EXPECT_EQ(shown, "");
            }
        }
        // The channel reaches the instruments that take it in their messages: on another one
        // they do not answer. DSI's messages carry none.
        d.channel = 2;
        const Bytes other = Play(vi, BuildRequestMessage(d, d.rangeStart).bytes);
        EXPECT_EQ(other.size() == static_cast<std::size_t>(replyValues.expectedReplySize),
                  *c.mode >= vi::InstrumentMode::Mopho);
        d.channel = 1;

        Play(vi, BuildSendMessage(d, d.rangeEnd, stored.front().data()).bytes);
        const Bytes reply = Play(vi, BuildRequestMessage(d, d.rangeEnd).bytes);
        const Bytes now(reply.begin() + replyValues.replyDataOffset,
                        reply.begin() + replyValues.replyDataOffset + d.programSize);
        EXPECT_EQ(now, c.writesMemory ? stored.front() : stored.back());
        if (!c.writesMemory) {
            Play(vi, BuildSendMessage(d, d.rangeEnd, stored.front().data()).bytes);
            EXPECT_EQ(vi.dumpMemory.editBuffer, stored.front());
        }
    }
}

} // namespace
