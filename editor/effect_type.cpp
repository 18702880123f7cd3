#include "editor/effect_type.h"

namespace {

int EffectIndex(int effect) {
    return effect == 2 ? 1 : 0;
}

// "Symphonic Ens." and "Rotary Speaker" share the modulation hardware with these types.
bool NeedsModulationAlone(int type) {
    return type == 23 || type == 24;
}

bool UsesModulation(int type) {
    return (type >= 11 && type <= 18) || type == 23 || type == 24 || (type >= 29 && type <= 32);
}

void ClearUnusedBytes(std::uint8_t* block, const EffectGroup& group) {
    bool used[effectBlockSize] = {};
    for (const EffectSlot& slot : group) {
        if (slot.kind == effectValueEmpty)
            continue;
        used[slot.byte] = true;
        if (SlotTakesTwoBytes(slot.kind))
            used[slot.byte + 1] = true;
    }
    for (int i = 0; i < effectBlockSize; ++i) {
        if (!used[i])
            block[i] = 0;
    }
}

void ResetValuesOutOfRange(std::uint8_t* block, const EffectGroup& group) {
    for (const EffectSlot& slot : group) {
        if (slot.kind == effectValueEmpty)
            continue;
        const ValueRange range = RangeOfLimit(slot.limit);
        const int value = EffectSlotValue(block, slot);
        if (value < range.lo || value > range.hi) {
            block[slot.byte] = 0;
            if (slot.kind == effectValueDelayTime)
                block[slot.byte + 1] = 0;
        }
        if (slot.kind == effectValueEmphasis && block[slot.byte] == 0)
            block[slot.byte] = 1;
    }
}

void SetFlagBits(std::uint8_t* block, int type) {
    for (const EffectFlagBits& flags : effectFlagBits) {
        if (flags.type == type)
            block[flags.byte] =
                static_cast<std::uint8_t>((block[flags.byte] & flags.keep) | flags.set);
    }
}

} // namespace

int EffectSlotValue(const std::uint8_t* block, const EffectSlot& slot) {
    if (slot.kind == effectValueDelayTime)
        return block[slot.byte] | (block[slot.byte + 1] << 8);
    return ByteInRange(block[slot.byte], RangeOfLimit(slot.limit));
}

EffectTypeResult ApplyEffectType(M1Program& program, int effect) {
    const int e = EffectIndex(effect);
    std::uint8_t& type = program.effectType[e];
    const int otherType = program.effectType[1 - e];
    if (type >= effectTypeCount || (NeedsModulationAlone(type) && UsesModulation(otherType))) {
        type = noEffectType;
        return EffectTypeResult::replacedByNoEffect;
    }
    std::uint8_t* block = program.effectBlock[e];
    const EffectGroup& group = EffectGroupOfType(type);
    ClearUnusedBytes(block, group);
    ResetValuesOutOfRange(block, group);
    SetFlagBits(block, type);
    return EffectTypeResult::applied;
}

const EffectSlot& EffectSlotOf(const M1Program& program, int effect, int slot) {
    static const EffectSlot noSlot = {"", 0, effectValueEmpty, 0, ""};
    if (slot < 1 || slot > effectSlotCount)
        return noSlot;
    return EffectGroupOfType(program.effectType[EffectIndex(effect)])[slot - 1];
}
