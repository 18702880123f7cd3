#include "editor/control_map.h"
#include "editor/effect_tables.h"
#include "editor/m1_program.h"
#include "editor/multisounds.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>
#include <string>

namespace {

// The "[lo,hi]" that closes many help texts, when it is a plain pair of whole numbers.
std::optional<ValueRange> RangeInHelp(const char* help) {
    const char* open = std::strrchr(help, '[');
    int lo, hi, consumed = 0;
    if (!open || std::sscanf(open, "[%d,%d]%n", &lo, &hi, &consumed) != 2 || consumed == 0)
        return std::nullopt;
    return ValueRange{lo, hi};
}

TEST(ControlMapTable, HasNinetyFourDistinctKnownControls) {
    EXPECT_EQ(controlMap.size(), 94u);
    std::set<int> ids;
    for (const ControlMapEntry& entry : controlMap) {
        EXPECT_TRUE(ids.insert(entry.controlId).second) << entry.controlId;
        EXPECT_TRUE(IsKnownControlKind(entry.kind)) << entry.controlId;
        EXPECT_NE(entry.kind, controlNothing) << entry.controlId;
        EXPECT_GT(std::strlen(entry.tooltip), 0u) << entry.controlId;
        EXPECT_EQ(FindControlEntry(entry.controlId), &entry);
    }
    EXPECT_EQ(FindControlEntry(3145), nullptr);
    EXPECT_EQ(FindControlEntry(0), nullptr);
}

TEST(ControlMapTable, EveryByteOfBothOscillatorsLiesInTheRecord) {
    for (const ControlMapEntry& entry : controlMap) {
        for (int oscillator = 1; oscillator <= 2; ++oscillator) {
            const int byte = ControlByte(entry, oscillator);
            const int last = IsTimeTrackKind(entry.kind) ? byte + 1 : byte;
            EXPECT_GE(byte, 0) << entry.controlId;
            EXPECT_LT(last, m1ProgramSize) << entry.controlId;
        }
        if (entry.kind == controlOscillatorNumber || entry.kind == controlKeyName ||
            IsTimeTrackKind(entry.kind)) {
            EXPECT_GE(entry.byte, oscillator1BlockStart) << entry.controlId;
            EXPECT_LT(entry.byte, oscillator1BlockStart + oscillatorBlockSize) << entry.controlId;
            EXPECT_EQ(ControlByte(entry, 2), entry.byte + 40) << entry.controlId;
        } else if (entry.kind != controlMultisound) {
            EXPECT_LT(entry.byte, oscillator1BlockStart) << entry.controlId;
            EXPECT_EQ(ControlByte(entry, 2), entry.byte) << entry.controlId;
        }
    }
}

TEST(ControlMapTable, BytesMatchTheRecordsFields) {
    const std::pair<int, std::size_t> fields[] = {
        {3207, offsetof(M1Program, osc1Multisound)},
        {3229, offsetof(M1Program, octave)},
        {3204, offsetof(M1Program, interval)},
        {3134, offsetof(M1Program, effectType)},
        {3140, offsetof(M1Program, effectPlacement)},
        {3131, offsetof(M1Program, output4Pan)},
        {3209, oscillator1BlockStart + offsetof(OscillatorBlock, ampKeyCentre)},
        {3231, oscillator1BlockStart + offsetof(OscillatorBlock, cutoffKeyCentre)},
        {3244, oscillator1BlockStart + offsetof(OscillatorBlock, cutoffEgSlopeTime)},
        {3228, oscillator1BlockStart + offsetof(OscillatorBlock, pitchEgVelocityLevel)},
        {3245, oscillator1BlockStart + offsetof(OscillatorBlock, cutoffEgTimeSwitches)},
        {3252, oscillator1BlockStart + offsetof(OscillatorBlock, ampEgTimeSwitches)},
    };
    for (const auto& [id, offset] : fields)
        EXPECT_EQ(static_cast<std::size_t>(FindControlEntry(id)->byte), offset) << id;
    EXPECT_EQ(ControlByte(*FindControlEntry(3207), 2), offsetof(M1Program, osc2Multisound));
}

TEST(ControlMapTable, OutputCheckBoxesNameThePanBoxOfTheirByte) {
    int outputs = 0;
    for (const ControlMapEntry& entry : controlMap) {
        if (entry.kind != controlOutput)
            continue;
        ++outputs;
        const ControlMapEntry* pan = FindControlEntry(entry.limit);
        ASSERT_NE(pan, nullptr) << entry.controlId;
        EXPECT_EQ(pan->kind, controlPan);
        EXPECT_EQ(pan->byte, entry.byte);
    }
    EXPECT_EQ(outputs, 2);
}

TEST(ControlMapTable, NumberLimitsAgreeWithTheirTooltips) {
    // The pitch EG velocity time takes -99..+99 although its tooltip reads [0,99].
    for (const ControlMapEntry& entry : controlMap) {
        if (entry.kind != controlNumber && entry.kind != controlOscillatorNumber)
            continue;
        const std::optional<ValueRange> help = RangeInHelp(entry.tooltip);
        if (!help || entry.controlId == 3227)
            continue;
        const ValueRange range = RangeOfLimit(entry.limit);
        EXPECT_EQ(help->lo, range.lo) << entry.controlId;
        EXPECT_EQ(help->hi, range.hi) << entry.controlId;
    }
}

TEST(EffectTables, ThirtyFourTypesInTwentyThreeGroups) {
    EXPECT_EQ(effectTypes.size(), 34u);
    EXPECT_EQ(effectGroups.size(), 23u);
    std::set<std::string> names;
    std::set<int> groupsUsed;
    for (const EffectType& type : effectTypes) {
        EXPECT_GT(std::strlen(type.name), 0u);
        EXPECT_LT(std::strlen(type.name), 20u) << type.name;
        EXPECT_TRUE(names.insert(type.name).second) << type.name;
        ASSERT_GE(type.group, 0) << type.name;
        ASSERT_LT(type.group, effectGroupCount) << type.name;
        groupsUsed.insert(type.group);
    }
    EXPECT_EQ(groupsUsed.size(), 23u);
    EXPECT_STREQ(effectTypes[0].name, "Hall");
    EXPECT_STREQ(effectTypes[24].name, "Rotary Speaker");
    EXPECT_STREQ(effectTypes[noEffectType].name, "No Effect");
    EXPECT_EQ(effectTypes[noEffectType].group, 22);
    EXPECT_EQ(&EffectGroupOfType(34), &effectGroups[22]);
    EXPECT_EQ(&EffectGroupOfType(-1), &effectGroups[22]);
}

TEST(EffectTables, SlotsStayInsideTheBlockAndNeverShareAByte) {
    for (int g = 0; g < effectGroupCount; ++g) {
        bool used[effectBlockSize] = {};
        int filled = 0;
        for (const EffectSlot& slot : effectGroups[g]) {
            const bool empty = slot.kind == effectValueEmpty;
            EXPECT_EQ(empty, slot.label[0] == '\0') << "group " << g;
            EXPECT_EQ(empty, slot.help[0] == '\0') << "group " << g;
            if (empty)
                continue;
            ++filled;
            EXPECT_LE(slot.kind, effectValueEarlyTimeShort) << slot.label;
            const int last = SlotTakesTwoBytes(slot.kind) ? slot.byte + 1 : slot.byte;
            ASSERT_GE(slot.byte, 0) << slot.label;
            ASSERT_LT(last, effectBlockSize) << slot.label;
            for (int b = slot.byte; b <= last; ++b) {
                EXPECT_FALSE(used[b]) << "group " << g << " byte " << b;
                used[b] = true;
            }
        }
        EXPECT_EQ(filled == 0, g == 22) << "group " << g;
    }
}

TEST(EffectTables, NumberLimitsAgreeWithTheirHelpTexts) {
    for (const EffectGroup& group : effectGroups) {
        for (const EffectSlot& slot : group) {
            if (slot.kind != effectValueNumber && slot.kind != effectValueDelayTime &&
                slot.kind != effectValueEmphasis)
                continue;
            // "Distortion" takes 0..100 although its help reads [0,99].
            if (std::strcmp(slot.label, "Distortion") == 0)
                continue;
            const std::optional<ValueRange> help = RangeInHelp(slot.help);
            ASSERT_TRUE(help.has_value()) << slot.label;
            const ValueRange range = RangeOfLimit(slot.limit);
            EXPECT_EQ(help->hi, range.hi) << slot.label;
            if (slot.kind != effectValueEmphasis) {
                EXPECT_EQ(help->lo, range.lo) << slot.label;
            }
        }
    }
}

TEST(EffectTables, FlagBytesAreFreeOrTheWaveByteOfTheirGroup) {
    for (const EffectFlagBits& flags : effectFlagBits) {
        ASSERT_GE(flags.type, 0);
        ASSERT_LT(flags.type, effectTypeCount);
        ASSERT_GE(flags.byte, 0);
        ASSERT_LT(flags.byte, effectBlockSize);
        bool waveByte = false, dataByte = false;
        for (const EffectSlot& slot : EffectGroupOfType(flags.type)) {
            if (slot.kind == effectValueEmpty)
                continue;
            if (slot.kind == effectValueSpeedWave && slot.byte + 1 == flags.byte)
                waveByte = true;
            else if (slot.byte == flags.byte ||
                     (SlotTakesTwoBytes(slot.kind) && slot.byte + 1 == flags.byte))
                dataByte = true;
        }
        EXPECT_FALSE(dataByte) << "type " << flags.type;
        // The wave letter survives its type's flags.
        if (waveByte) {
            EXPECT_EQ(flags.keep, 0x01) << "type " << flags.type;
        }
    }
}

TEST(MultisoundTable, HundredNamesThatFitTheirSlots) {
    EXPECT_EQ(multisoundNames.size(), 100u);
    for (const char* name : multisoundNames) {
        EXPECT_GT(std::strlen(name), 0u);
        EXPECT_LT(std::strlen(name), 15u) << name;
    }
    EXPECT_STREQ(multisoundNames[0], "Piano");
    EXPECT_STREQ(multisoundNames[4], "Harpsicord");
    EXPECT_STREQ(multisoundNames[93], "25% Pulse");
    EXPECT_STREQ(multisoundNames[99], "DWGS Sine");
}

} // namespace
