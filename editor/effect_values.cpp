#include "editor/effect_values.h"

#include "editor/box_number.h"
#include "editor/effect_tables.h"
#include "editor/effect_type.h"
#include "editor/input_messages.h"
#include "editor/speed_scale.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The equaliser frequencies, in Hz, of the values 0, 1 and 2.
constexpr int lowFcHz[3] = {250, 500, 1000};
constexpr int midFcHz[3] = {500, 1000, 2000};
constexpr int highFcHz[3] = {1000, 2000, 4000};

const int* FrequenciesOf(int kind) {
    switch (kind) {
    case effectValueLowFc:
        return lowFcHz;
    case effectValueMidFc:
        return midFcHz;
    default:
        return highFcHz;
    }
}

InputMessage FrequencyMessage(int kind) {
    switch (kind) {
    case effectValueLowFc:
        return LowFcMessage();
    case effectValueMidFc:
        return MidFcMessage();
    default:
        return HighFcMessage();
    }
}

int EffectIndex(int effect) {
    return effect == 2 ? 1 : 0;
}

std::string TenthsText(int tenths) {
    char text[16];
    std::snprintf(text, sizeof text, "%03.1f", tenths / 10.0);
    return text;
}

// What the text of an effect box comes to: the value to store (and for a speed with its wave,
// the wave bit), or the message naming the accepted form. Storing and checking read it the same
// way, so text that is not stored while typed is reported when the box loses the focus.
struct EffectInput {
    std::optional<int> value;
    int waveBit = -1; // 1 triangle, 0 sine, -1 no wave letter
    std::optional<InputMessage> message;
};

EffectInput Accepted(int value) {
    return {value, -1, std::nullopt};
}

EffectInput Refused(InputMessage message) {
    return {std::nullopt, -1, std::move(message)};
}

EffectInput ReadNumberInRange(std::string_view text, int lo, int hi) {
    const int n = ReadBoxNumber(text);
    if (n < lo || n > hi)
        return Refused(RangeMessage(lo, hi));
    return Accepted(n);
}

// Exactly digit "." digit; only those three characters count.
EffectInput ReadReverbTime(std::string_view text, ValueRange range) {
    const bool wellFormed = text.size() >= 3 && text[0] >= '0' && text[0] <= '9' &&
                            text[1] == '.' && text[2] >= '0' && text[2] <= '9';
    const int b = wellFormed ? (text[0] - '0') * 10 + (text[2] - '0') - 2 : -1;
    if (!wellFormed || b < range.lo || b > range.hi)
        return Refused(ReverbTimeMessage(range.hi + 2));
    return Accepted(b);
}

EffectInput ReadEarlyReflectionTime(std::string_view text, ValueRange range) {
    const int n = ReadBoxNumber(text);
    if (n < 100 || (n - 100) / 10 > range.hi)
        return Refused(RangeMessage(100, 100 + 10 * range.hi));
    return Accepted((n - 100) / 10);
}

EffectInput ReadSpeed(std::string_view text, ValueRange range) {
    const std::optional<int> b = ParseSpeedText(text);
    if (!b || *b > range.hi)
        return Refused(SpeedMessage());
    return Accepted(*b);
}

// The wave letter closes the text; the speed is what comes before it.
EffectInput ReadSpeedAndWave(std::string_view text, ValueRange range) {
    const char letter = text.empty() ? '\0' : text.back();
    int waveBit;
    if (letter == 't' || letter == 'T')
        waveBit = 1;
    else if (letter == 's' || letter == 'S')
        waveBit = 0;
    else
        return Refused(WaveLetterMessage());
    EffectInput input = ReadSpeed(text.substr(0, text.size() - 1), range);
    input.waveBit = waveBit;
    return input;
}

EffectInput ReadFrequency(std::string_view text, int kind) {
    const int n = ReadBoxNumber(text);
    const int* frequencies = FrequenciesOf(kind);
    for (int i = 0; i < 3; ++i) {
        if (frequencies[i] == n)
            return Accepted(i);
    }
    return Refused(FrequencyMessage(kind));
}

EffectInput ReadEffectInput(const EffectSlot& slot, const std::string& text) {
    const ValueRange range = RangeOfLimit(slot.limit);
    const std::string_view head = BoxTextHead(text);
    switch (slot.kind) {
    case effectValueEmpty:
        return {};
    case effectValueNumber:
    case effectValueDelayTime:
        return ReadNumberInRange(text, range.lo, range.hi);
    case effectValueReverbTime:
        return ReadReverbTime(head, range);
    case effectValueEarlyTime:
    case effectValueEarlyTimeShort:
        return ReadEarlyReflectionTime(text, range);
    case effectValueSpeed:
        return ReadSpeed(head, range);
    case effectValueSpeedWave:
        return ReadSpeedAndWave(head, range);
    case effectValueLowFc:
    case effectValueMidFc:
    case effectValueHighFc:
        return ReadFrequency(text, slot.kind);
    case effectValueEmphasis:
        return ReadNumberInRange(text, 1, range.hi);
    default:
        return Refused(InvalidEffectKindMessage());
    }
}

std::string EffectValueText(const std::uint8_t* block, const EffectSlot& slot) {
    const int value = EffectSlotValue(block, slot);
    switch (slot.kind) {
    case effectValueReverbTime:
        return TenthsText(value + 2);
    case effectValueEarlyTime:
    case effectValueEarlyTimeShort:
        return std::to_string(100 + 10 * value);
    case effectValueSpeed:
        return SpeedText(block[slot.byte]);
    case effectValueSpeedWave:
        return SpeedText(block[slot.byte]) + ((block[slot.byte + 1] & 1) ? "T" : "S");
    case effectValueLowFc:
    case effectValueMidFc:
    case effectValueHighFc: {
        const int index = block[slot.byte];
        return std::to_string(index < 3 ? FrequenciesOf(slot.kind)[index] : index);
    }
    case effectValueEmphasis:
        return std::to_string(block[slot.byte]);
    default:
        return std::to_string(value);
    }
}

bool IsKnownEffectKind(int kind) {
    return kind >= effectValueEmpty && kind <= effectValueEarlyTimeShort;
}

} // namespace

std::optional<InputMessage> ShowEffectValue(const M1Program& program, int effect, int slot,
                                            ControlState& box) {
    const EffectSlot& s = EffectSlotOf(program, effect, slot);
    if (!IsKnownEffectKind(s.kind))
        return InvalidEffectKindMessage();
    // Only hiding belongs here: the panel's boxes are shown again by the page they sit on.
    if (s.kind == effectValueEmpty)
        box.visible = false;
    else
        box.text = EffectValueText(program.effectBlock[EffectIndex(effect)], s);
    return std::nullopt;
}

StoreOutcome StoreEffectValue(M1Program& program, int effect, int slot, const ControlState& box) {
    StoreOutcome outcome;
    const EffectSlot& s = EffectSlotOf(program, effect, slot);
    const EffectInput input = ReadEffectInput(s, box.text);
    if (!input.value) {
        if (input.message && input.message->style == MessageStyle::fatal)
            outcome.message = input.message;
        return outcome;
    }
    std::uint8_t* block = program.effectBlock[EffectIndex(effect)];
    const M1Program before = program;
    block[s.byte] = static_cast<std::uint8_t>(*input.value);
    if (s.kind == effectValueDelayTime)
        block[s.byte + 1] = static_cast<std::uint8_t>(*input.value >> 8);
    if (input.waveBit >= 0)
        block[s.byte + 1] = static_cast<std::uint8_t>((block[s.byte + 1] & 0xFE) | input.waveBit);
    outcome.changed = !(program == before);
    return outcome;
}

std::optional<InputMessage> CheckEffectValue(const M1Program& program, int effect, int slot,
                                             const ControlState& box) {
    return ReadEffectInput(EffectSlotOf(program, effect, slot), box.text).message;
}
