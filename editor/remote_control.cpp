#include "editor/remote_control.h"

#include <algorithm>

namespace {

constexpr int programChange = 0xC0;
constexpr int controlChange = 0xB0;
constexpr int noteOn = 0x90;
constexpr int dataEntryHigh = 6;
constexpr int dataEntryLow = 38;
constexpr int dataIncrement = 96;
constexpr int dataDecrement = 97;
// Data entry reaches from -10 (the bottom of the control's range) to +10 (its top).
constexpr int dataEntryReach = 10;

// The 14-bit value is signed: bit 13 set reads as negative.
int SignedDataEntry(int value) {
    return value & 0x2000 ? value - 0x4000 : value;
}

RemoteAction Adjust(int value, int step) {
    return {RemoteActionKind::adjust, 0, value, step};
}

RemoteAction DataEntryPart(DataEntryAssembly& dataEntry, int controller, int data) {
    if (controller == dataEntryLow) {
        dataEntry.value = (dataEntry.value & ~0x7F) | data;
        dataEntry.lowReceived = true;
    } else {
        dataEntry.value = (dataEntry.value & 0x7F) | (data << 7);
        dataEntry.highReceived = true;
    }
    if (!dataEntry.lowReceived || !dataEntry.highReceived)
        return {};
    const int value = SignedDataEntry(dataEntry.value);
    dataEntry = DataEntryAssembly{};
    return Adjust(value, 0);
}

} // namespace

RemoteAction ReadRemoteMessage(DataEntryAssembly& dataEntry, std::uint32_t packed, int channel) {
    const int status = static_cast<int>(packed & 0xFF);
    const int data1 = static_cast<int>((packed >> 8) & 0x7F);
    const int data2 = static_cast<int>((packed >> 16) & 0x7F);
    if (status < 0x80 || status >= 0xF0 || (status & 0x0F) != channel - 1)
        return {};
    switch (status & 0xF0) {
    case programChange:
        return {RemoteActionKind::selectProgram, data1, 0, 0};
    case noteOn:
        return data2 == 0 ? RemoteAction{} : Adjust(0, keyPlayedStep + data1);
    case controlChange:
        switch (data1) {
        case dataEntryHigh:
        case dataEntryLow:
            return DataEntryPart(dataEntry, data1, data2);
        case dataIncrement:
            return Adjust(0, +1);
        case dataDecrement:
            return Adjust(0, -1);
        }
        break;
    }
    return {};
}

bool AdjustByRemote(M1Program& program, const ControlMapEntry& entry, int oscillator, int value,
                    int step) {
    const int byte = ControlByte(entry, oscillator);
    const std::uint8_t before = ProgramByte(program, byte);
    if (step >= keyPlayedStep) {
        if (entry.kind == controlKeyName)
            SetProgramByte(program, byte, static_cast<std::uint8_t>(step - keyPlayedStep));
        return ProgramByte(program, byte) != before;
    }
    const ValueRange range = RangeOfLimit(entry.limit);
    if (range.hi == 0 || entry.kind == controlOutput)
        return false;
    const int current = static_cast<std::int8_t>(before);
    int wanted = current;
    if (step == +1 && current < range.hi)
        wanted = current + 1;
    else if (step == -1 && current > range.lo)
        wanted = current - 1;
    else if (step == 0) {
        const int reach = std::clamp(value, -dataEntryReach, dataEntryReach);
        wanted = range.lo + (range.hi - range.lo) * (reach + dataEntryReach) / (2 * dataEntryReach);
    }
    SetProgramByte(program, byte, static_cast<std::uint8_t>(wanted));
    return ProgramByte(program, byte) != before;
}
