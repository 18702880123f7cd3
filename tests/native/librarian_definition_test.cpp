#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "librarian/device_list.h"
#include "librarian/instrument_definition.h"

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

class DefinitionFiles : public ::testing::Test {
  protected:
    fs::path folder;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(TALVANE_TEST_SCRATCH) / "definition" / info->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        instrument = CurrentInstrument{};
    }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    void WriteFile(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    Bytes ReadFile(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

std::int32_t IntAt(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::int32_t>(bytes[offset] | bytes[offset + 1] << 8 |
                                     bytes[offset + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

void PutInt(Bytes& bytes, std::size_t offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

// A record image with a distinct, valid value in every field, texts at their longest and stale
// bytes after a terminator.
Bytes SampleRecord() {
    Bytes image(definitionRecordSize, 0);
    const std::int32_t numbers[] = {7, 12, 1999, -5, 31999, 1, 1, 3, 2};
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        PutInt(image, 4 * i, numbers[i]);
    auto fill = [&](std::size_t offset, std::size_t size, char first) {
        for (std::size_t i = 0; i + 1 < size; ++i)
            image[offset + i] = static_cast<std::uint8_t>(first + i % 20);
    };
    fill(36, 450, 'A');
    fill(486, 450, 'a');
    fill(936, 100, '0');
    fill(1036, 1012, '!');
    image[486 + 10] = 0; // a shorter send string, stale bytes after it
    return image;
}

TEST_F(DefinitionFiles, RecordRoundTripsAtEveryOffset) {
    Bytes image = SampleRecord();
    WriteFile("Sample.QXInstrument", image);
    ASSERT_TRUE(LoadInstrumentDefinition(PathOf("Sample.QXInstrument")));
    const InstrumentDefinition& d = instrument.definition;
    EXPECT_EQ(d.channel, 7);
    EXPECT_EQ(d.rangeStart, 12);
    EXPECT_EQ(d.rangeEnd, 1999);
    EXPECT_EQ(d.numberOffset, -5);
    EXPECT_EQ(d.programSize, 31999);
    EXPECT_EQ(d.nameGrabbing, 1);
    EXPECT_EQ(d.autoUpdate, 1);
    EXPECT_EQ(d.midiInPort, 3);
    EXPECT_EQ(d.midiOutPort, 2);
    EXPECT_EQ(FieldText(d.requestString).size(), 449u);
    EXPECT_EQ(FieldText(d.requestString).substr(0, 3), "ABC");
    EXPECT_EQ(FieldText(d.sendString), "abcdefghij");
    EXPECT_EQ(FieldText(d.nameOffsets).size(), 99u);
    EXPECT_EQ(FieldText(d.notes).size(), 1011u);
    EXPECT_EQ(instrument.name, "Sample");
    EXPECT_EQ(std::memcmp(&d, image.data(), image.size()), 0) << "held exactly as in the file";

    // Written back over an existing file that carries a device list: the first 2048 bytes are the
    // record byte for byte, the rest stays.
    Bytes other(definitionRecordSize + 40, 0xEE);
    WriteFile("Copy.QXInstrument", other);
    ASSERT_TRUE(SaveInstrumentDefinition(PathOf("Copy.QXInstrument")));
    Bytes saved = ReadFile("Copy.QXInstrument");
    ASSERT_EQ(saved.size(), other.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), saved.begin()));
    EXPECT_TRUE(std::all_of(saved.begin() + definitionRecordSize, saved.end(),
                            [](std::uint8_t b) { return b == 0xEE; }));
    EXPECT_EQ(instrument.name, "Copy");

    // Each field lands at its own offset.
    instrument.definition.channel = 16;
    instrument.definition.rangeStart = 2048;
    instrument.definition.rangeEnd = 2048;
    instrument.definition.numberOffset = -2147483647 - 1;
    instrument.definition.programSize = 32000;
    instrument.definition.nameGrabbing = 0;
    instrument.definition.autoUpdate = 1;
    instrument.definition.midiInPort = -1;
    instrument.definition.midiOutPort = 9;
    SetFieldText(instrument.definition.requestString, "F0 7E F7 ;3,0");
    SetFieldText(instrument.definition.sendString, "F0 % F7");
    SetFieldText(instrument.definition.nameOffsets, "1,2 ");
    SetFieldText(instrument.definition.notes, "notes");
    ASSERT_TRUE(SaveInstrumentDefinition(PathOf("Copy.QXInstrument")));
    saved = ReadFile("Copy.QXInstrument");
    EXPECT_EQ(IntAt(saved, 0), 16);
    EXPECT_EQ(IntAt(saved, 4), 2048);
    EXPECT_EQ(IntAt(saved, 8), 2048);
    EXPECT_EQ(IntAt(saved, 12), -2147483647 - 1);
    EXPECT_EQ(IntAt(saved, 16), 32000);
    EXPECT_EQ(IntAt(saved, 20), 0);
    EXPECT_EQ(IntAt(saved, 24), 1);
    EXPECT_EQ(IntAt(saved, 28), -1);
    EXPECT_EQ(IntAt(saved, 32), 9);
    EXPECT_STREQ(reinterpret_cast<const char*>(&saved[36]), "F0 7E F7 ;3,0");
    EXPECT_STREQ(reinterpret_cast<const char*>(&saved[486]), "F0 % F7");
    EXPECT_STREQ(reinterpret_cast<const char*>(&saved[936]), "1,2 ");
    EXPECT_STREQ(reinterpret_cast<const char*>(&saved[1036]), "notes");

    instrument = CurrentInstrument{};
    ASSERT_TRUE(LoadInstrumentDefinition(PathOf("Copy.QXInstrument")));
    EXPECT_EQ(instrument.definition.numberOffset, -2147483647 - 1);
    EXPECT_EQ(instrument.definition.midiOutPort, 9);
    EXPECT_EQ(FieldText(instrument.definition.requestString), "F0 7E F7 ;3,0");
}

TEST_F(DefinitionFiles, AFileThatCannotBeOpenedChangesNothing) {
    instrument.definition.channel = 4;
    instrument.name = "Before";
    EXPECT_FALSE(LoadInstrumentDefinition(PathOf("Missing.QXInstrument")));
    EXPECT_EQ(instrument.definition.channel, 4);
    EXPECT_EQ(instrument.name, "Before");
}

TEST_F(DefinitionFiles, RewritingNeedsAnExistingFile) {
    EXPECT_FALSE(SaveInstrumentDefinition(PathOf("Missing.QXInstrument")));
    EXPECT_FALSE(fs::exists(folder / "Missing.QXInstrument"));
    EXPECT_EQ(instrument.name, "Missing");
}

TEST_F(DefinitionFiles, AShortFileReplacesOnlyTheBytesItHolds) {
    instrument.definition.channel = 2;
    instrument.definition.rangeStart = 0;
    instrument.definition.rangeEnd = 99;
    instrument.definition.programSize = 170;
    SetFieldText(instrument.definition.notes, "kept");
    Bytes head(8, 0);
    PutInt(head, 0, 5);
    PutInt(head, 4, 9);
    WriteFile("Short.QXInstrument", head);
    ASSERT_TRUE(LoadInstrumentDefinition(PathOf("Short.QXInstrument")));
    EXPECT_EQ(instrument.definition.channel, 5);
    EXPECT_EQ(instrument.definition.rangeStart, 9);
    EXPECT_EQ(instrument.definition.rangeEnd, 99);
    EXPECT_EQ(instrument.definition.programSize, 170);
    EXPECT_EQ(FieldText(instrument.definition.notes), "kept");
}

TEST_F(DefinitionFiles, DamagedRecordsAreBroughtInsideTheDialogsLimits) {
    struct Case {
        std::int32_t channel, start, end, size, grabbing, in, out;
        std::int32_t wantChannel, wantStart, wantEnd, wantSize, wantGrabbing, wantIn, wantOut;
    } cases[] = {
        {0, -1, 5000, 32001, 7, -9, -2, 1, 0, 2048, 32000, 1, -1, -1},
        {17, 10, 4, -5, -1, 0, 0, 16, 10, 10, 0, 1, 0, 0},
        {-2147483647 - 1, 2147483647, -2147483647 - 1, 2147483647, 0, 2147483647, -1, 1, 2048, 2048,
         32000, 0, 2147483647, -1},
        {16, 2048, 2048, 32000, 1, -1, 5, 16, 2048, 2048, 32000, 1, -1, 5},
        {1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Bytes image(definitionRecordSize, 'x'); // no text is terminated
        PutInt(image, 0, c.channel);
        PutInt(image, 4, c.start);
        PutInt(image, 8, c.end);
        PutInt(image, 16, c.size);
        PutInt(image, 20, c.grabbing);
        PutInt(image, 24, c.grabbing);
        PutInt(image, 28, c.in);
        PutInt(image, 32, c.out);
        WriteFile("Damaged.QXInstrument", image);
        ASSERT_TRUE(LoadInstrumentDefinition(PathOf("Damaged.QXInstrument")));
        const InstrumentDefinition& d = instrument.definition;
        EXPECT_EQ(d.channel, c.wantChannel);
        EXPECT_EQ(d.rangeStart, c.wantStart);
        EXPECT_EQ(d.rangeEnd, c.wantEnd);
        EXPECT_EQ(d.programSize, c.wantSize);
        EXPECT_EQ(d.nameGrabbing, c.wantGrabbing);
        EXPECT_EQ(d.autoUpdate, c.wantGrabbing);
        EXPECT_EQ(d.midiInPort, c.wantIn);
        EXPECT_EQ(d.midiOutPort, c.wantOut);
        EXPECT_EQ(FieldText(d.requestString).size(), 449u);
        EXPECT_EQ(FieldText(d.sendString).size(), 449u);
        EXPECT_EQ(FieldText(d.nameOffsets).size(), 99u);
        EXPECT_EQ(FieldText(d.notes).size(), 1011u);
    }
}

TEST(DefinitionNames, InstrumentNameIsTheBaseNameOfThePath) {
    EXPECT_EQ(BaseNameOf("/any/folder/Korg M1.QXInstrument"), "Korg M1");
    EXPECT_EQ(BaseNameOf("C:\\Program Files\\Talvane\\Korg M1.QXInstrument"), "Korg M1");
    EXPECT_EQ(BaseNameOf("C:\\x.y\\Roland D-50 v1.2.QXInstrument"), "Roland D-50 v1.2");
    EXPECT_EQ(BaseNameOf("C:\\x.y\\NoExtension"), "NoExtension");
    EXPECT_EQ(BaseNameOf("Plain.QXBank"), "Plain");
    EXPECT_EQ(BaseNameOf(""), "");
}

TEST(DefinitionNames, ShortenedExtensionsAreCompleted) {
    EXPECT_EQ(CompleteExtension("C:\\a\\Piano.QXI", ".QXI", "nstrument"),
              "C:\\a\\Piano.QXInstrument");
    EXPECT_EQ(CompleteExtension("C:\\a\\Piano.QXInstrument", ".QXI", "nstrument"),
              "C:\\a\\Piano.QXInstrument");
    EXPECT_EQ(CompleteExtension("C:\\a\\Voices.QXB", ".QXB", "ank"), "C:\\a\\Voices.QXBank");
    EXPECT_EQ(CompleteExtension("QXB", ".QXB", "ank"), "QXB");
    EXPECT_EQ(CompleteExtension("Piano.qxi", ".QXI", "nstrument"), "Piano.qxi");
}

TEST(DefinitionNames, PathsInTheProgramFolder) {
    std::string expected = std::string("folder") + pathSeparator + "Korg M1.QXInstrument";
    EXPECT_EQ(DefinitionPath("folder", "Korg M1"), expected);
}

TEST(DefinitionFields, TextIsCutToLeaveRoomForTheTerminator) {
    char field[5];
    SetFieldText(field, "abcdefg");
    EXPECT_EQ(FieldText(field), "abcd");
    EXPECT_EQ(field[4], '\0');
    SetFieldText(field, "x");
    EXPECT_THAT(field, ElementsAre('x', 0, 0, 0, 0));
    char full[3] = {'a', 'b', 'c'};
    EXPECT_EQ(FieldText(full), "abc");
}

class DeviceLists : public DefinitionFiles {
  protected:
    std::string path;
    void SetUp() override {
        DefinitionFiles::SetUp();
        WriteFile("Synth.QXInstrument", Bytes(definitionRecordSize, 0));
        path = PathOf("Synth.QXInstrument");
    }
};

TEST_F(DeviceLists, ARecordOnlyFileHasNoList) {
    std::vector<std::string> lines = {"00 <Unknown>", "01 <Unknown>"};
    EXPECT_FALSE(ReadDeviceList(path, lines));
    EXPECT_THAT(lines, ElementsAre("00 <Unknown>", "01 <Unknown>"));
    EXPECT_FALSE(ReadDeviceList(PathOf("Missing.QXInstrument"), lines));
    EXPECT_EQ(lines.size(), 2u);
}

TEST_F(DeviceLists, LinesOf29And34Characters) {
    std::string line29 = "0001 " + std::string(24, 'n');
    std::string line34 = "0002 " + std::string(29, 'm');
    ASSERT_TRUE(WriteDeviceList(path, {line29, line34, ""}));
    Bytes file = ReadFile("Synth.QXInstrument");
    ASSERT_EQ(file.size(), definitionRecordSize + 4 + 3 * deviceLineSize);
    EXPECT_EQ(IntAt(file, 2048), 3);
    EXPECT_EQ(file[2052 + 29], 0) << "29 characters keep their NUL";
    EXPECT_TRUE(std::none_of(file.begin() + 2082, file.begin() + 2112, [](std::uint8_t b) {
        return b == 0;
    })) << "a longer line fills its field";
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadDeviceList(path, lines));
    EXPECT_THAT(lines, ElementsAre(line29, line34.substr(0, 30), ""));
}

TEST_F(DeviceLists, AShorterListLeavesTheOldBytesBehind) {
    ASSERT_TRUE(WriteDeviceList(path, {"00 One", "01 Two", "02 Three", "03 Four"}));
    std::size_t longSize = ReadFile("Synth.QXInstrument").size();
    ASSERT_TRUE(WriteDeviceList(path, {"00 Uno"}));
    Bytes file = ReadFile("Synth.QXInstrument");
    EXPECT_EQ(file.size(), longSize);
    EXPECT_STREQ(reinterpret_cast<const char*>(&file[2052 + 2 * 30]), "02 Three");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadDeviceList(path, lines));
    EXPECT_THAT(lines, ElementsAre("00 Uno"));
    // The record in front is untouched.
    EXPECT_TRUE(
        std::all_of(file.begin(), file.begin() + 2048, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(DeviceLists, DamagedSectionsReadOnlyTheLinesTheFileHolds) {
    struct Case {
        std::int32_t count;
        std::size_t linesPresent;
        std::size_t extraBytes;
        std::size_t expected;
    } cases[] = {
        {5, 2, 0, 2},  {2147483647, 3, 0, 3}, {-1, 2, 0, 0}, {-2147483647 - 1, 1, 0, 0},
        {3, 2, 17, 2}, {0, 4, 0, 0},          {1, 4, 0, 1},
    };
    for (const Case& c : cases) {
        Bytes file(definitionRecordSize + 4 + c.linesPresent * deviceLineSize + c.extraBytes, 'L');
        PutInt(file, 2048, c.count);
        WriteFile("Synth.QXInstrument", file);
        std::vector<std::string> lines = {"before"};
        ASSERT_TRUE(ReadDeviceList(path, lines)) << c.count;
        ASSERT_EQ(lines.size(), c.expected) << c.count;
        for (const std::string& line : lines)
            EXPECT_EQ(line, std::string(30, 'L'));
    }
    // A count cut short by the end of the file is no section at all.
    WriteFile("Synth.QXInstrument", Bytes(definitionRecordSize + 2, 0));
    std::vector<std::string> lines = {"before"};
    EXPECT_FALSE(ReadDeviceList(path, lines));
    EXPECT_THAT(lines, ElementsAre("before"));
}

TEST_F(DeviceLists, WritingNeedsAnExistingFile) {
    EXPECT_FALSE(WriteDeviceList(PathOf("Missing.QXInstrument"), {"00 A"}));
    EXPECT_FALSE(fs::exists(folder / "Missing.QXInstrument"));
}

} // namespace
