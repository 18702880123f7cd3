#include "shell/settings.h"

#include <cstdio>
#include <cstring>
#include <limits>

Settings settings;

namespace {

struct NumberField {
    const char* name;
    std::int32_t Settings::*field;
};

// The numbers kept in the record and written back at exit, in the order they are written.
constexpr NumberField savedNumbers[] = {
    {"InputPort", &Settings::InputPort},
    {"OutputPort", &Settings::OutputPort},
    {"WindowX", &Settings::WindowX},
    {"WindowY", &Settings::WindowY},
    {"GraphX", &Settings::GraphX},
    {"GraphY", &Settings::GraphY},
    {"GraphW", &Settings::GraphW},
    {"GraphH", &Settings::GraphH},
    {"GraphAmp1", &Settings::GraphAmp1},
    {"GraphAmp2", &Settings::GraphAmp2},
    {"GraphPitch1", &Settings::GraphPitch1},
    {"GraphPitch2", &Settings::GraphPitch2},
    {"GraphCutoff1", &Settings::GraphCutoff1},
    {"GraphCutoff2", &Settings::GraphCutoff2},
};

void CloseSettingsKey(const SettingsPlatform& platform, SettingsKey key) {
    if (key)
        platform.closeKey(platform.context, key);
}

void WriteFirstRunValues(const SettingsPlatform& platform, SettingsKey key) {
    for (const FirstRunValue& value : firstRunValues)
        WriteSettingsNumber(platform, key, value.name, value.value);
}

// A value that cannot be read leaves the field as it was.
void LoadNumbers(const SettingsPlatform& platform, SettingsKey key, Settings& record) {
    for (const NumberField& number : savedNumbers)
        ReadSettingsNumber(platform, key, number.name, &(record.*number.field));
    ReadSettingsNumber(platform, key, "ToolTips", &record.ToolTips);
    if (!ReadSettingsNumber(platform, key, "LibrarianInstrument", &record.LibrarianInstrument))
        record.LibrarianInstrument = -1;
}

// Counts this start. The count goes on below zero, so only the start that reaches exactly zero
// tones the tooltips down, and only when the user has not chosen a level below Maximum.
void CountStart(const SettingsPlatform& platform, SettingsKey key, Settings& record) {
    std::int32_t countdown = 10;
    if (!ReadSettingsNumber(platform, key, "ToolTipsCountdown", &countdown))
        countdown = 10;
    // A stored count at the bottom of the range stays there rather than wrapping to the top.
    if (countdown > std::numeric_limits<std::int32_t>::min())
        --countdown;
    WriteSettingsNumber(platform, key, "ToolTipsCountdown", countdown);
    if (countdown == 0 && record.ToolTips == toolTipsMaximum) {
        record.ToolTips = toolTipsNormal;
        WriteSettingsNumber(platform, key, "ToolTips", record.ToolTips);
        platform.announceTooltipReduction(platform.context);
    }
}

void ReadFirstEntryFlags(const SettingsPlatform& platform, SettingsKey key, Settings& record) {
    for (int module = 0; module < 3; ++module) {
        char name[16];
        std::snprintf(name, sizeof name, "FirstTime%d", module);
        if (SettingsValueExists(platform, key, name))
            record.firstEntry[module] = false;
    }
}

} // namespace

bool ReadSettingsNumber(const SettingsPlatform& platform, SettingsKey key, const char* name,
                        std::int32_t* value) {
    if (!key)
        return false;
    unsigned char data[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (!platform.readValue(platform.context, key, name, &type, data, sizeof data, &size))
        return false;
    if (type != settingsTypeDword || size != sizeof data)
        return false;
    // REG_DWORD is little-endian whatever the host.
    std::uint32_t bits = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                         std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
    *value = static_cast<std::int32_t>(bits);
    return true;
}

void WriteSettingsNumber(const SettingsPlatform& platform, SettingsKey key, const char* name,
                         std::int32_t value) {
    if (!key)
        return;
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    const unsigned char data[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    platform.writeValue(platform.context, key, name, settingsTypeDword, data, sizeof data);
}

bool SettingsValueExists(const SettingsPlatform& platform, SettingsKey key, const char* name) {
    if (!key)
        return false;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    return platform.readValue(platform.context, key, name, &type, nullptr, 0, &size);
}

SettingsKey ConfigureSettings(const SettingsPlatform& platform, Settings& record) {
    bool firstRun = false;
    SettingsKey user = platform.createKey(platform.context, SettingsScope::user, &firstRun);
    for (bool& flag : record.firstEntry)
        flag = true;
    if (user && firstRun) {
        WriteFirstRunValues(platform, user);
        platform.showWelcome(platform.context);
    }
    LoadNumbers(platform, user, record);
    CountStart(platform, user, record);
    record.titleSoundOn = !SettingsValueExists(platform, user, "TitleSoundDisabled");
    record.titlePictureOn = !SettingsValueExists(platform, user, "TitleGraphicTurnedOff");
    CloseSettingsKey(platform, user);

    bool machineCreated = false;
    SettingsKey machine =
        platform.createKey(platform.context, SettingsScope::machine, &machineCreated);
    ReadFirstEntryFlags(platform, machine, record);
    return machine;
}

void SaveSettingsValues(const SettingsPlatform& platform, const Settings& record) {
    // Opening never creates: once the keys have been removed nothing is written back.
    SettingsKey user = platform.openKey(platform.context, SettingsScope::user);
    if (!user)
        return;
    for (const NumberField& number : savedNumbers)
        WriteSettingsNumber(platform, user, number.name, record.*number.field);
    if (record.LibrarianInstrument != -1)
        WriteSettingsNumber(platform, user, "LibrarianInstrument", record.LibrarianInstrument);
    CloseSettingsKey(platform, user);
}
