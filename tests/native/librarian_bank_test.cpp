#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "librarian/bank_file.h"
#include "librarian/instrument_definition.h"

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

constexpr std::int32_t size4 = 4;

struct Program {
    std::int32_t slot;
    std::string name; // written into the 30-byte field as is, cut to 30 bytes
    std::uint8_t fill;
};

class Banks : public ::testing::Test {
  protected:
    fs::path folder;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(TALVANE_TEST_SCRATCH) / "bank" / info->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        ClearBankIndex();
        bank = BankState{};
    }

    void TearDown() override { ClearBankIndex(); }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    Bytes ReadFile(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void WriteFile(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    // A bank image holding the given programs, each record filled with its fill byte.
    Bytes BankImage(std::int32_t programSize, const std::vector<Program>& programs) const {
        Bytes image(static_cast<std::size_t>(bankRecordsOffset), 0);
        std::memcpy(image.data(), &programSize, 4);
        for (const Program& p : programs) {
            image[4 + p.slot] = 1;
            std::size_t offset = static_cast<std::size_t>(BankRecordOffset(p.slot, programSize));
            if (image.size() < offset + bankNameSize + programSize)
                image.resize(offset + bankNameSize + programSize, 0);
            std::fill_n(image.begin() + offset, bankNameSize, 0);
            std::memcpy(&image[offset], p.name.data(), std::min<std::size_t>(p.name.size(), 30));
            std::fill_n(image.begin() + offset + bankNameSize, programSize, p.fill);
        }
        return image;
    }

    std::string MakeBank(const std::string& name, std::int32_t programSize,
                         const std::vector<Program>& programs) const {
        WriteFile(name, BankImage(programSize, programs));
        return PathOf(name);
    }

    static std::vector<std::string> IndexNames() {
        std::vector<std::string> names;
        for (const BankIndexEntry& entry : bank.index)
            if (!entry.deleted)
                names.emplace_back(entry.name);
        return names;
    }

    static std::vector<std::int32_t> IndexSlots() {
        std::vector<std::int32_t> slots;
        for (const BankIndexEntry& entry : bank.index)
            if (!entry.deleted)
                slots.push_back(entry.slot);
        return slots;
    }
};

TEST_F(Banks, ANewBankIsHeaderAndFreeSlots) {
    std::string path = PathOf("New.QXBank");
    ASSERT_TRUE(InitialiseBankFile(path, 170));
    Bytes file = ReadFile("New.QXBank");
    ASSERT_EQ(file.size(), 32004u);
    EXPECT_THAT(Bytes(file.begin(), file.begin() + 4), ElementsAre(170, 0, 0, 0));
    EXPECT_TRUE(std::all_of(file.begin() + 4, file.end(), [](std::uint8_t b) { return b == 0; }));
    std::int32_t size = -1;
    ASSERT_TRUE(ReadBankProgramSize(path, size));
    EXPECT_EQ(size, 170);
    ASSERT_TRUE(LoadBankIndex(path, 170));
    EXPECT_TRUE(bank.index.empty());
    EXPECT_EQ(BankPath("f", "Voices"), std::string("f") + pathSeparator + "Voices.QXBank");
}

TEST_F(Banks, HeadersThatCannotBeRead) {
    WriteFile("Tiny.QXBank", {170, 0, 0});
    std::int32_t size = 5;
    EXPECT_FALSE(ReadBankProgramSize(PathOf("Tiny.QXBank"), size));
    EXPECT_FALSE(ReadBankProgramSize(PathOf("Missing.QXBank"), size));
    EXPECT_FALSE(LoadBankIndex(PathOf("Tiny.QXBank"), 170));
    EXPECT_FALSE(LoadBankIndex(PathOf("Missing.QXBank"), 170));
}

TEST_F(Banks, StoresGoToTheFirstFreeSlotAtTheirOffsets) {
    std::string path = PathOf("B.QXBank");
    ASSERT_TRUE(InitialiseBankFile(path, size4));
    ASSERT_TRUE(LoadBankIndex(path, size4));
    const std::uint8_t a[] = {1, 2, 3, 4}, b[] = {5, 6, 7, 8};
    EXPECT_EQ(StoreProgramRecord("Alpha", a, -1), 0);
    EXPECT_EQ(StoreProgramRecord("Beta", b, -1), 1);
    Bytes file = ReadFile("B.QXBank");
    ASSERT_EQ(file.size(), 32004u + 2 * 34);
    EXPECT_EQ(file[4], 1);
    EXPECT_EQ(file[5], 1);
    EXPECT_EQ(file[6], 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(&file[32004]), "Alpha");
    EXPECT_THAT(Bytes(file.begin() + 32004 + 30, file.begin() + 32004 + 34),
                ElementsAre(1, 2, 3, 4));
    EXPECT_STREQ(reinterpret_cast<const char*>(&file[32004 + 34]), "Beta");
    EXPECT_THAT(Bytes(file.end() - 4, file.end()), ElementsAre(5, 6, 7, 8));
    EXPECT_EQ(FindProgram("Alpha"), 0);
    EXPECT_EQ(FindProgram("Beta"), 1);
    EXPECT_EQ(FindProgram("beta"), -1) << "names compare case-sensitively";
    std::uint8_t buffer[4];
    ASSERT_TRUE(ReadProgramData(1, buffer));
    EXPECT_THAT(buffer, ElementsAre(5, 6, 7, 8));

    // Read back from the file as the Librarian does when it opens the bank.
    ASSERT_TRUE(LoadBankIndex(path, size4));
    EXPECT_THAT(IndexNames(), ElementsAre("Alpha", "Beta"));
    EXPECT_THAT(IndexSlots(), ElementsAre(0, 1));
}

TEST_F(Banks, AfterADeleteTheNextStoreTakesTheFreedSlot) {
    std::string path = MakeBank("B.QXBank", size4, {{0, "Old", 0xAA}, {1, "Keep", 0xBB}});
    ASSERT_TRUE(LoadBankIndex(path, size4));
    ASSERT_TRUE(DeleteProgram("Old"));
    EXPECT_EQ(ReadFile("B.QXBank")[4], 0);
    EXPECT_EQ(FindProgram("Old"), -1);
    EXPECT_FALSE(DeleteProgram("Old")) << "a deleted entry never matches again";
    const std::uint8_t data[] = {9, 9, 9, 9};
    EXPECT_EQ(StoreProgramRecord("New", data, -1), 0);
    Bytes file = ReadFile("B.QXBank");
    EXPECT_EQ(file[4], 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(&file[32004]), "New");
    EXPECT_THAT(Bytes(file.begin() + 32034, file.begin() + 32038), ElementsAre(9, 9, 9, 9));
    EXPECT_EQ(FindProgram("New"), 0);
    EXPECT_EQ(FindProgram("Keep"), 1);
    EXPECT_FALSE(DeleteProgram("Nobody"));
}

TEST_F(Banks, OverwritingAKnownSlotKeepsTheIndex) {
    std::string path = MakeBank("B.QXBank", size4, {{3, "Pad", 0x11}});
    ASSERT_TRUE(LoadBankIndex(path, size4));
    const std::uint8_t data[] = {7, 7, 7, 7};
    EXPECT_EQ(StoreProgramRecord("Pad", data, FindProgram("Pad")), 3);
    EXPECT_EQ(bank.index.size(), 1u);
    std::uint8_t buffer[4];
    ASSERT_TRUE(ReadProgramData(3, buffer));
    EXPECT_THAT(buffer, ElementsAre(7, 7, 7, 7));
    EXPECT_EQ(StoreProgramRecord("Pad", data, bankSlotCount), bankWriteFailed);
    EXPECT_EQ(StoreProgramRecord("Pad", data, -2), bankWriteFailed);
}

TEST_F(Banks, NamesAreAtMost29Characters) {
    std::string path = MakeBank("B.QXBank", size4, {{0, std::string(30, 'u'), 0}});
    ASSERT_TRUE(LoadBankIndex(path, size4));
    EXPECT_THAT(IndexNames(), ElementsAre(std::string(29, 'u')));
    EXPECT_EQ(FindProgram(std::string(30, 'u')), 0);
    std::string longName(40, 'L');
    EXPECT_EQ(StoreProgramRecord(longName, nullptr, -1), 1);
    Bytes file = ReadFile("B.QXBank");
    std::size_t record = static_cast<std::size_t>(BankRecordOffset(1, size4));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[record])), std::string(29, 'L'));
    EXPECT_EQ(FindProgram(std::string(29, 'L')), 1);
}

TEST_F(Banks, ThirtyTwoThousandProgramsFillTheBank) {
    std::string path = PathOf("Full.QXBank");
    ASSERT_TRUE(InitialiseBankFile(path, size4));
    ASSERT_TRUE(LoadBankIndex(path, size4));
    std::uint8_t data[4] = {};
    for (std::int32_t i = 0; i < bankSlotCount; ++i) {
        std::memcpy(data, &i, 4);
        ASSERT_EQ(StoreProgramRecord("P" + std::to_string(i), data, -1), i);
    }
    Bytes before = ReadFile("Full.QXBank");
    EXPECT_EQ(before.size(), static_cast<std::size_t>(BankRecordOffset(bankSlotCount, size4)));
    EXPECT_EQ(StoreProgramRecord("One more", data, -1), bankFull);
    EXPECT_EQ(ReadFile("Full.QXBank"), before) << "a full bank writes nothing";
    EXPECT_EQ(FindProgram("One more"), -1);
    EXPECT_EQ(FindProgram("P31999"), 31999);

    ASSERT_TRUE(LoadBankIndex(path, size4));
    ASSERT_EQ(bank.index.size(), 32000u);
    EXPECT_STREQ(bank.index[12345].name, "P12345");
    std::uint8_t buffer[4];
    ASSERT_TRUE(ReadProgramData(31999, buffer));
    std::int32_t stored;
    std::memcpy(&stored, buffer, 4);
    EXPECT_EQ(stored, 31999);
}

TEST_F(Banks, DuplicateNamesFirstEntryWins) {
    std::string path = MakeBank("B.QXBank", size4, {{2, "Dup", 1}, {5, "Dup", 2}, {7, "Other", 3}});
    ASSERT_TRUE(LoadBankIndex(path, size4));
    EXPECT_EQ(FindProgram("Dup"), 2);
    ASSERT_TRUE(DeleteProgram("Dup"));
    EXPECT_EQ(FindProgram("Dup"), 5);
    ASSERT_TRUE(DeleteProgram("Dup"));
    EXPECT_EQ(FindProgram("Dup"), -1);
    EXPECT_EQ(FindProgram("Other"), 7);
}

TEST_F(Banks, ManyNamesStayFindableAsTheIndexGrows) {
    std::string path = PathOf("B.QXBank");
    ASSERT_TRUE(InitialiseBankFile(path, 0));
    ASSERT_TRUE(LoadBankIndex(path, 0));
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(StoreProgramRecord("N" + std::to_string(i), nullptr, -1), i);
    for (int i = 0; i < 2000; i += 2)
        ASSERT_TRUE(DeleteProgram("N" + std::to_string(i)));
    for (int i = 0; i < 1000; ++i) // reuse the freed slots while the table grows again
        ASSERT_EQ(StoreProgramRecord("M" + std::to_string(i), nullptr, -1), 2 * i);
    for (int i = 0; i < 2000; ++i)
        EXPECT_EQ(FindProgram("N" + std::to_string(i)), i % 2 ? i : -1) << i;
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(FindProgram("M" + std::to_string(i)), 2 * i) << i;
}

TEST_F(Banks, ABankOfAnotherProgramSizeIsNeitherReadNorWritten) {
    std::string path = MakeBank("B.QXBank", 10, {{0, "Ten", 0x10}});
    Bytes before = ReadFile("B.QXBank");
    EXPECT_FALSE(LoadBankIndex(path, size4));
    EXPECT_TRUE(bank.index.empty());
    EXPECT_EQ(StoreProgramRecord("X", nullptr, -1), bankWriteFailed);
    EXPECT_FALSE(DeleteProgram("Ten"));
    std::uint8_t buffer[4] = {1, 1, 1, 1};
    EXPECT_FALSE(ReadProgramData(0, buffer));
    EXPECT_THAT(buffer, ElementsAre(0, 0, 0, 0));
    EXPECT_TRUE(MergeBankRecords(path).unreadable);
    EXPECT_EQ(ReadFile("B.QXBank"), before);
}

TEST_F(Banks, DamagedBanksNeverYieldGarbage) {
    // Flags cut short: the missing ones count as free.
    Bytes image = BankImage(size4, {});
    image.resize(4 + 10);
    image[4 + 3] = 0xFF; // in use, but its record is not in the file
    WriteFile("Short.QXBank", image);
    ASSERT_TRUE(LoadBankIndex(PathOf("Short.QXBank"), size4));
    EXPECT_TRUE(bank.index.empty());
    EXPECT_EQ(StoreProgramRecord("First", nullptr, -1), 0);
    EXPECT_EQ(StoreProgramRecord("Second", nullptr, -1), 1);
    EXPECT_EQ(StoreProgramRecord("Third", nullptr, -1), 2);
    EXPECT_EQ(StoreProgramRecord("Fourth", nullptr, -1), 4) << "slot 3 stays in use";
    // Writing slot 4 filled the file up to it with zeros: slot 3 now reads as an unnamed program
    // of zero bytes, nothing that was not written.
    ASSERT_TRUE(LoadBankIndex(PathOf("Short.QXBank"), size4));
    EXPECT_THAT(IndexNames(), ElementsAre("First", "Second", "Third", "", "Fourth"));
    std::uint8_t buffer[4] = {1, 1, 1, 1};
    ASSERT_TRUE(ReadProgramData(3, buffer));
    EXPECT_THAT(buffer, ElementsAre(0, 0, 0, 0));

    // A used slot whose name is cut off by the end of the file is not listed.
    image = BankImage(size4, {{0, "Whole", 0x21}, {1, "Also whole", 0x22}, {2, "Cut name", 0x23}});
    image.resize(static_cast<std::size_t>(BankRecordOffset(2, size4)) + 5);
    WriteFile("Cut.QXBank", image);
    ASSERT_TRUE(LoadBankIndex(PathOf("Cut.QXBank"), size4));
    EXPECT_THAT(IndexNames(), ElementsAre("Whole", "Also whole"));
    EXPECT_EQ(StoreProgramRecord("Next", nullptr, -1), 3) << "the cut slot is still in use";
}

TEST_F(Banks, RecordsBeyondTheEndOfTheFile) {
    Bytes image = BankImage(size4, {{0, "Whole", 0x21}, {1, "Cut data", 0x22}});
    image.resize(static_cast<std::size_t>(BankRecordOffset(1, size4)) + bankNameSize + 2);
    image[4 + 2] = 1; // slot 2: nothing of it in the file
    image[4 + 31999] = 1;
    WriteFile("Cut.QXBank", image);
    ASSERT_TRUE(LoadBankIndex(PathOf("Cut.QXBank"), size4));
    EXPECT_THAT(IndexNames(), ElementsAre("Whole", "Cut data"));
    std::uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_FALSE(ReadProgramData(1, buffer));
    EXPECT_THAT(buffer, ElementsAre(0, 0, 0, 0));
    ASSERT_TRUE(ReadProgramData(0, buffer));
    EXPECT_THAT(buffer, ElementsAre(0x21, 0x21, 0x21, 0x21));
    EXPECT_FALSE(ReadProgramData(-1, buffer));
    EXPECT_FALSE(ReadProgramData(bankSlotCount, buffer));
    EXPECT_EQ(StoreProgramRecord("Next", nullptr, -1), 3);
}

TEST_F(Banks, HugeOrNegativeProgramSizesAreRefused) {
    for (std::int32_t size : {-1, 32001, 2147483647, -2147483647 - 1}) {
        Bytes image(32004 + 100, 1);
        std::memcpy(image.data(), &size, 4);
        WriteFile("Huge.QXBank", image);
        EXPECT_FALSE(LoadBankIndex(PathOf("Huge.QXBank"), size)) << size;
        EXPECT_TRUE(bank.index.empty());
        EXPECT_EQ(StoreProgramRecord("X", nullptr, -1), bankWriteFailed);
    }
}

TEST_F(Banks, MergeSkipsNamesTheBankHoldsAndCopiesTheRestInOrder) {
    std::string current = MakeBank("Current.QXBank", size4,
                                   {{0, "Strings", 0x01}, {1, "Brass", 0x02}, {3, "Bass", 3}});
    std::string source = MakeBank("Source.QXBank", size4,
                                  {{0, "Piano", 0x10},
                                   {4, "Strings", 0x11},
                                   {9, "Organ", 0x12},
                                   {20, "Piano", 0x13},
                                   {21, "Bass", 0x14}});
    ASSERT_TRUE(LoadBankIndex(current, size4));
    ASSERT_TRUE(DeleteProgram("Bass")); // a deleted name no longer counts as held
    MergeOutcome outcome = MergeBankRecords(source);
    EXPECT_EQ(outcome.copied, 4);
    EXPECT_FALSE(outcome.full);
    EXPECT_FALSE(outcome.unreadable);
    EXPECT_FALSE(outcome.writeFailed);
    EXPECT_EQ(bank.index.size(), 3u) << "the index is reloaded by the caller";

    ASSERT_TRUE(LoadBankIndex(current, size4));
    EXPECT_THAT(IndexNames(), ElementsAre("Strings", "Brass", "Piano", "Organ", "Piano", "Bass"));
    EXPECT_THAT(IndexSlots(), ElementsAre(0, 1, 2, 3, 4, 5));
    std::uint8_t buffer[4];
    ASSERT_TRUE(ReadProgramData(0, buffer));
    EXPECT_THAT(buffer, ElementsAre(1, 1, 1, 1)) << "the bank's own Strings stays";
    ASSERT_TRUE(ReadProgramData(3, buffer));
    EXPECT_THAT(buffer, ElementsAre(0x12, 0x12, 0x12, 0x12));
    ASSERT_TRUE(ReadProgramData(4, buffer));
    EXPECT_THAT(buffer, ElementsAre(0x13, 0x13, 0x13, 0x13)) << "both programs named Piano";
}

TEST_F(Banks, MergeIntoAFullBankStopsAndKeepsWhatItCopied) {
    std::vector<Program> programs;
    for (std::int32_t slot = 0; slot < bankSlotCount; ++slot)
        if (slot != 100 && slot != 31999)
            programs.push_back({slot, "C" + std::to_string(slot), 0});
    std::string current = MakeBank("Current.QXBank", size4, programs);
    std::string source =
        MakeBank("Source.QXBank", size4,
                 {{0, "S0", 0x30}, {1, "C5", 0x31}, {2, "S2", 0x32}, {3, "S3", 0x33}});
    ASSERT_TRUE(LoadBankIndex(current, size4));
    MergeOutcome outcome = MergeBankRecords(source);
    EXPECT_TRUE(outcome.full);
    EXPECT_EQ(outcome.copied, 2);
    ASSERT_TRUE(LoadBankIndex(current, size4));
    EXPECT_EQ(bank.index.size(), 32000u);
    EXPECT_EQ(FindProgram("S0"), 100);
    EXPECT_EQ(FindProgram("S2"), 31999);
    EXPECT_EQ(FindProgram("S3"), -1);
}

TEST_F(Banks, MergeFromUnreadableSources) {
    std::string current = MakeBank("Current.QXBank", size4, {{0, "A", 1}});
    ASSERT_TRUE(LoadBankIndex(current, size4));
    Bytes before = ReadFile("Current.QXBank");
    EXPECT_TRUE(MergeBankRecords(PathOf("Missing.QXBank")).unreadable);
    std::string other = MakeBank("Other.QXBank", 8, {{0, "B", 2}});
    EXPECT_TRUE(MergeBankRecords(other).unreadable);
    EXPECT_EQ(ReadFile("Current.QXBank"), before);

    // A source cut short: used slots without a whole record are not copied.
    Bytes image = BankImage(size4, {{0, "Whole", 5}, {1, "Half", 6}});
    image.resize(image.size() - 1);
    image[4 + 7] = 1;
    WriteFile("Cut.QXBank", image);
    MergeOutcome outcome = MergeBankRecords(PathOf("Cut.QXBank"));
    EXPECT_EQ(outcome.copied, 1);
    ASSERT_TRUE(LoadBankIndex(current, size4));
    EXPECT_THAT(IndexNames(), ElementsAre("A", "Whole"));

    // Merging the bank into itself copies nothing.
    outcome = MergeBankRecords(current);
    EXPECT_EQ(outcome.copied, 0);
    EXPECT_FALSE(outcome.unreadable || outcome.writeFailed);
}

} // namespace
