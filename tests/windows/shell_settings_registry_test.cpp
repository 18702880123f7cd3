// The settings rules against the real registry of the test prefix. Every test starts without
// any settings key, as on a machine where the program never ran.
#include "shell/settings_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void DeleteKeyTree(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char child[256];
    for (;;) {
        DWORD length = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        DeleteKeyTree(key, child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, name);
}

void RemoveAllSettings() {
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillfen");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Quillfen");
}

struct Boxes {
    int welcomes = 0;
    int reductions = 0;
};

// The registry platform with the two boxes counted instead of shown.
SettingsPlatform CountingPlatform(Boxes& boxes) {
    SettingsPlatform platform = RegistrySettingsPlatform();
    platform.context = &boxes;
    platform.showWelcome = [](void* c) { ++static_cast<Boxes*>(c)->welcomes; };
    platform.announceTooltipReduction = [](void* c) { ++static_cast<Boxes*>(c)->reductions; };
    return platform;
}

Settings Start(Boxes& boxes) {
    Settings record;
    HKEY machine = static_cast<HKEY>(ConfigureSettings(CountingPlatform(boxes), record));
    EXPECT_NE(machine, nullptr);
    if (machine)
        RegCloseKey(machine);
    return record;
}

struct RawValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

RawValue ReadRaw(HKEY root, const char* name) {
    RawValue value;
    HKEY key = OpenSettingsKey(root);
    if (!key)
        return value;
    BYTE data[64];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
        value.exists = true;
        value.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return value;
}

std::int32_t Number(HKEY root, const char* name) {
    RawValue value = ReadRaw(root, name);
    EXPECT_TRUE(value.exists) << name;
    EXPECT_EQ(value.type, DWORD(REG_DWORD)) << name;
    EXPECT_EQ(value.data.size(), 4u) << name;
    if (value.data.size() != 4)
        return 0x7FFFFFFF;
    return static_cast<std::int32_t>(value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                                     static_cast<std::uint32_t>(value.data[3]) << 24);
}

void WriteRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = OpenSettingsKey(HKEY_CURRENT_USER);
    ASSERT_NE(key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

std::string KeyClass(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    char keyClass[64] = {};
    DWORD length = sizeof keyClass;
    RegQueryInfoKeyA(key, keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return keyClass;
}

class ShellSettingsRegistry : public ::testing::Test {
  protected:
    void SetUp() override { RemoveAllSettings(); }
    void TearDown() override { RemoveAllSettings(); }
};

TEST_F(ShellSettingsRegistry, FirstRunCreatesBothKeysWithTheFirstRunValues) {
    Boxes boxes;
    Settings record = Start(boxes);
    EXPECT_EQ(boxes.welcomes, 1);
    EXPECT_EQ(boxes.reductions, 0);

    const struct {
        const char* name;
        std::int32_t value;
    } expected[] = {
        {"InputPort", 0},    {"OutputPort", 0},   {"WindowX", 30},    {"WindowY", 30},
        {"GraphX", 200},     {"GraphY", 200},     {"GraphW", 200},    {"GraphH", 200},
        {"GraphAmp1", 0},    {"GraphAmp2", 0},    {"GraphPitch1", 0}, {"GraphPitch2", 0},
        {"GraphCutoff1", 0}, {"GraphCutoff2", 0}, {"ToolTips", 2},    {"ToolTipsCountdown", 9}};
    for (const auto& value : expected)
        EXPECT_EQ(Number(HKEY_CURRENT_USER, value.name), value.value) << value.name;
    EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, "LibrarianInstrument").exists);
    EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, "TitleSoundDisabled").exists);

    HKEY machine = OpenSettingsKey(HKEY_LOCAL_MACHINE);
    EXPECT_NE(machine, nullptr);
    if (machine)
        RegCloseKey(machine);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        EXPECT_EQ(KeyClass(root, "Software\\Quillfen"), "");
        EXPECT_EQ(KeyClass(root, "Software\\Quillfen\\Talvane"), "Talvane");
        EXPECT_EQ(KeyClass(root, "Software\\Quillfen\\Talvane\\2.0"), "Talvane");
    }
    EXPECT_EQ(record.ToolTips, 2);
    EXPECT_EQ(record.WindowX, 30);
    EXPECT_TRUE(record.titleSoundOn);
    EXPECT_TRUE(record.firstEntry[0] && record.firstEntry[1] && record.firstEntry[2]);
}

TEST_F(ShellSettingsRegistry, TheTenthStartTonesTheTooltipsDown) {
    Boxes boxes;
    for (int start = 1; start <= 11; ++start) {
        Start(boxes);
        EXPECT_EQ(Number(HKEY_CURRENT_USER, "ToolTipsCountdown"), 10 - start);
        EXPECT_EQ(boxes.reductions, start >= 10 ? 1 : 0);
    }
    EXPECT_EQ(Number(HKEY_CURRENT_USER, "ToolTips"), 1);
    EXPECT_EQ(boxes.welcomes, 1);
}

TEST_F(ShellSettingsRegistry, ForeignValuesOfTheWrongShapeReadAsAbsent) {
    Boxes boxes;
    Start(boxes);
    WriteRaw("ToolTips", REG_SZ, "2", 2);
    const BYTE eight[8] = {50, 0, 0, 0, 0, 0, 0, 0};
    WriteRaw("GraphW", REG_DWORD, eight, sizeof eight); // longer than a number
    WriteRaw("GraphH", REG_BINARY, eight, 4);
    WriteRaw("LibrarianInstrument", REG_DWORD, eight, 2);
    WriteRaw("TitleSoundDisabled", REG_DWORD, nullptr, 0);
    WriteRaw("TitleGraphicTurnedOff", REG_SZ, "a long text that does not fit four bytes", 41);
    Settings record = Start(boxes);
    EXPECT_EQ(record.ToolTips, 0);
    EXPECT_EQ(record.GraphW, 100);
    EXPECT_EQ(record.GraphH, 100);
    EXPECT_EQ(record.LibrarianInstrument, -1);
    EXPECT_FALSE(record.titleSoundOn);
    EXPECT_FALSE(record.titlePictureOn);
}

TEST_F(ShellSettingsRegistry, FirstEntryMarkersInTheMachineKey) {
    Boxes boxes;
    Start(boxes);
    HKEY machine = OpenSettingsKey(HKEY_LOCAL_MACHINE);
    ASSERT_NE(machine, nullptr);
    const DWORD one = 1;
    RegSetValueExA(machine, "FirstTime0", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
    RegSetValueExA(machine, "FirstTime2", 0, REG_NONE, nullptr, 0);
    RegCloseKey(machine);
    Settings record = Start(boxes);
    EXPECT_FALSE(record.firstEntry[0]);
    EXPECT_TRUE(record.firstEntry[1]);
    EXPECT_FALSE(record.firstEntry[2]);
}

TEST_F(ShellSettingsRegistry, SavingWritesBackButNeverRecreatesTheKeys) {
    Boxes boxes;
    settings = Start(boxes);
    settings.WindowX = 321;
    settings.GraphAmp2 = 1;
    SaveSettings();
    EXPECT_EQ(Number(HKEY_CURRENT_USER, "WindowX"), 321);
    EXPECT_EQ(Number(HKEY_CURRENT_USER, "GraphAmp2"), 1);
    EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, "LibrarianInstrument").exists);
    settings.LibrarianInstrument = 3;
    SaveSettings();
    EXPECT_EQ(Number(HKEY_CURRENT_USER, "LibrarianInstrument"), 3);

    RemoveAllSettings();
    SaveSettings();
    EXPECT_EQ(OpenSettingsKey(HKEY_CURRENT_USER), nullptr);
    HKEY quillfen = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quillfen", 0, KEY_READ, &quillfen),
              ERROR_SUCCESS);
}

TEST_F(ShellSettingsRegistry, OpeningAPartlyRemovedPathGivesNoKey) {
    Boxes boxes;
    Start(boxes);
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillfen\\Talvane\\2.0");
    EXPECT_EQ(OpenSettingsKey(HKEY_CURRENT_USER), nullptr);
    // The next start finds "2.0" missing again: a first run.
    Start(boxes);
    EXPECT_EQ(boxes.welcomes, 2);
}

} // namespace
