// The editor window's own rules: the program box's text, the instrument's remote control and the
// time a fetch may take.
#include "editor/control_map.h"
#include "editor/fetch_watch.h"
#include "editor/program_box.h"
#include "editor/remote_control.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(ProgramBox, OneChangeKeepsNumberSpaceAndEveryNameCharacter) {
    const struct {
        const char* typed;
        int caret;
        const char* text;
        int caretAfter;
    } cases[] = {
        {"05 Piano     ", 6, "05 Piano     ", 6},
        // Typed among the number and the space: dropped; one of them deleted: put back.
        {"X05 Piano     ", 1, "05 Piano     ", 0},
        {"05Piano     ", 2, "05 Piano     ", 2},
        {"0 Piano     ", 1, "05 Piano     ", 1},
        // In the name: the text is held at 13 characters.
        {"05 Pano     ", 4, "05 Pano      ", 4},
        {"05 Pianoforte     ", 13, "05 Pianoforte", 13},
        // A selection from the number into the name typed over, or deleted.
        {"Brass", 5, "05 Brass     ", 8},
        {"", 0, "05           ", 3},
    };
    for (const auto& c : cases) {
        const ProgramBoxCorrection corrected =
            CorrectProgramBoxText("05 Piano     ", c.typed, c.caret);
        EXPECT_EQ(corrected.text, c.text) << c.typed;
        EXPECT_EQ(corrected.caret, c.caretAfter) << c.typed;
    }
    // A list entry longer than the box keeps; text beyond 99 characters is not looked at.
    EXPECT_EQ(CorrectProgramBoxText("42 Grand Piano 3", "42 Grand Pian 3", 13).text,
              "42 Grand Pian");
    EXPECT_EQ(CorrectProgramBoxText("01 A", std::string(500, 'A'), 500).caret, 13);
}

TEST(ProgramBox, NamesShowControlBytesAsSpacesAndBoxTextCopiesBack) {
    const char name[10] = {'P', 'i', 'a', 'n', 'o', '\0', '1', '6', '\'', '\x1F'};
    EXPECT_EQ(ProgramBoxText(3, name), "03 Piano 16' ");
    char copied[10];
    CopyNameFromBoxText("03 Strings 2", copied);
    EXPECT_EQ(std::string(copied, 10), "Strings 2 ");
}

TEST(ProgramBox, ListEntryTakesTheNameAtTheDefinitionsOffsets) {
    std::vector<std::uint8_t> dump(170, 0x41);
    const char name[] = "Cold\0Brass";
    const int positions[] = {6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
    for (int i = 0; i < 10; ++i)
        dump[static_cast<std::size_t>(positions[i])] = static_cast<std::uint8_t>(name[i]);
    const struct {
        const char* offsets;
        const char* entry;
    } cases[] = {
        {"6 7 8 9 10 11 12 14 15 16 ", "07 Cold Brass"},
        {"6,,7 ", "07 Co"},
        {"6 7", "07 C"},                     // digits with nothing after them are not used
        {"6 169 170 99999999999 ", "07 CA"}, // beyond the dump: skipped
        {"", "07 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramListEntry(7, dump, c.offsets), c.entry) << c.offsets;
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += "20 ";
    EXPECT_EQ(ProgramListEntry(0, dump, many).size(), 3u + 29u);
}

// winmm packs a short message with the status in the low byte.
std::uint32_t Packed(int status, int data1, int data2 = 0) {
    return static_cast<std::uint32_t>(status | data1 << 8 | data2 << 16);
}

TEST(RemoteControl, MessagesOnTheChannelBecomeActions) {
    DataEntryAssembly dataEntry;
    const struct {
        std::uint32_t packed;
        RemoteActionKind kind;
        int program;
        int step;
    } cases[] = {
        {Packed(0xC2, 17), RemoteActionKind::selectProgram, 17, 0},
        {Packed(0x92, 60, 100), RemoteActionKind::adjust, 0, 160},
        {Packed(0x92, 60, 0), RemoteActionKind::none, 0, 0}, // key released
        {Packed(0xB2, 96, 127), RemoteActionKind::adjust, 0, +1},
        {Packed(0xB2, 97, 0), RemoteActionKind::adjust, 0, -1},
        {Packed(0xB2, 7, 100), RemoteActionKind::none, 0, 0},
        {Packed(0x82, 60, 64), RemoteActionKind::none, 0, 0},
        // Another channel.
        {Packed(0xC3, 17), RemoteActionKind::none, 0, 0},
        {Packed(0x90, 60, 100), RemoteActionKind::none, 0, 0},
        {Packed(0xF8, 0), RemoteActionKind::none, 0, 0},
    };
    for (const auto& c : cases) {
        const RemoteAction action = ReadRemoteMessage(dataEntry, c.packed, 3);
        EXPECT_EQ(action.kind, c.kind) << std::hex << c.packed;
        EXPECT_EQ(action.program, c.program) << std::hex << c.packed;
        EXPECT_EQ(action.step, c.step) << std::hex << c.packed;
    }
}

TEST(RemoteControl, DataEntryNeedsBothPartsInEitherOrderAndIsSigned) {
    const struct {
        int first, firstValue, second, secondValue;
        int value;
    } cases[] = {
        {6, 0, 38, 10, 10},       // high, then low
        {38, 10, 6, 0, 10},       // low, then high
        {6, 0x7F, 38, 0x76, -10}, // 0x3FF6
        {6, 0x40, 38, 0, -8192},  {6, 0x3F, 38, 0x7F, 8191},
    };
    for (const auto& c : cases) {
        DataEntryAssembly dataEntry;
        EXPECT_EQ(ReadRemoteMessage(dataEntry, Packed(0xB0, c.first, c.firstValue), 1).kind,
                  RemoteActionKind::none);
        const RemoteAction action =
            ReadRemoteMessage(dataEntry, Packed(0xB0, c.second, c.secondValue), 1);
        EXPECT_EQ(action.kind, RemoteActionKind::adjust);
        EXPECT_EQ(action.value, c.value);
        EXPECT_EQ(action.step, 0);
        // Both parts are needed again for the next value.
        EXPECT_EQ(ReadRemoteMessage(dataEntry, Packed(0xB0, 38, 1), 1).kind,
                  RemoteActionKind::none);
    }
}

int Adjusted(int control, int start, int value, int step, int oscillator = 1) {
    M1Program program{};
    const ControlMapEntry* entry = FindControlEntry(control);
    EXPECT_NE(entry, nullptr);
    const int byte = ControlByte(*entry, oscillator);
    SetProgramByte(program, byte, static_cast<std::uint8_t>(start));
    AdjustByRemote(program, *entry, oscillator, value, step);
    return static_cast<std::int8_t>(ProgramByte(program, byte));
}

TEST(RemoteControl, AdjustSweepsStepsAndNamesKeysWithinTheRange) {
    const struct {
        int control, start, value, step, oscillator, result;
    } cases[] = {
        // Data entry sweeps a -99..+99 box: 0, +10, -10, and beyond is held at the ends.
        {3107, 5, 0, 0, 1, 0},
        {3107, 5, 10, 0, 1, 99},
        {3107, 5, -10, 0, 1, -99},
        {3107, 5, 8191, 0, 1, 99},
        {3107, 5, -8192, 0, 1, -99},
        {3107, 5, 5, 0, 1, 49}, // -99 + 198 * 15 / 20, truncated
        // 0..99: the middle; -12..+12.
        {3106, 0, 0, 0, 1, 49},
        {3105, 0, -5, 0, 1, -6},
        // Steps stop at the range's ends.
        {3106, 98, 0, +1, 1, 99},
        {3106, 99, 0, +1, 1, 99},
        {3106, 0, 0, -1, 1, 0},
        {3107, -99, 0, -1, 1, -99},
        // A key played names the key of a key-name box, oscillator 2's with oscillator 2 shown.
        {3231, 48, 0, 160, 1, 60},
        {3231, 48, 0, 160, 2, 60},
        {3106, 7, 0, 160, 1, 7},
        // Controls without a numeric range and output check boxes stay.
        {3100, 1, 10, 0, 1, 1},
        {3132, 20, 10, 0, 1, 20},
        {3245, 0x11, 10, 0, 1, 0x11},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Adjusted(c.control, c.start, c.value, c.step, c.oscillator), c.result)
            << c.control << " from " << c.start << " value " << c.value << " step " << c.step;
    }
}

TEST(FetchWatch, AnAnswerIsDueTwoSecondsAfterBothMessagesWireTime) {
    // An 8-byte request and a 170-byte dump: 3 + 55 ms on the cable.
    EXPECT_EQ(FetchPatienceMilliseconds(8, 170), 2058u);
    EXPECT_FALSE(FetchOverdue(2058, 8, 170));
    EXPECT_TRUE(FetchOverdue(2059, 8, 170));
    EXPECT_FALSE(FetchOverdue(0, -5, 170));
    EXPECT_EQ(ListFetchEnd(99), 99);
    EXPECT_EQ(ListFetchEnd(0), 0);
    EXPECT_EQ(ListFetchEnd(2048), 99);
}

} // namespace
