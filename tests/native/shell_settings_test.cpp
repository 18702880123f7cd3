#include "shell/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

struct StoredValue {
    std::uint32_t type = settingsTypeDword;
    std::vector<unsigned char> data;
};

struct MemoryKey {
    bool exists = false;
    std::map<std::string, StoredValue> values;
};

// A registry in memory: the two settings keys, a log of every write and the keys left open.
struct MemoryRegistry {
    MemoryKey user;
    MemoryKey machine;
    std::vector<std::string> writes; // "scope:name" in write order
    int openKeys = 0;
    int welcomes = 0;
    int reductions = 0;
    bool userKeyRefused = false;

    MemoryKey& KeyOf(SettingsScope scope) { return scope == SettingsScope::user ? user : machine; }

    void SetNumber(MemoryKey& key, const std::string& name, std::int32_t value) {
        auto bits = static_cast<std::uint32_t>(value);
        key.values[name] = {
            settingsTypeDword,
            {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
             static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)}};
    }

    std::int32_t Number(const MemoryKey& key, const std::string& name) const {
        const StoredValue& value = key.values.at(name);
        EXPECT_EQ(value.type, settingsTypeDword);
        EXPECT_EQ(value.data.size(), 4u);
        std::uint32_t bits = 0;
        for (int i = 3; i >= 0; --i)
            bits = bits << 8 | value.data.at(i);
        return static_cast<std::int32_t>(bits);
    }

    SettingsPlatform Platform() {
        SettingsPlatform p;
        p.context = this;
        p.createKey = [](void* c, SettingsScope scope, bool* created) -> SettingsKey {
            auto* r = static_cast<MemoryRegistry*>(c);
            *created = false;
            if (scope == SettingsScope::user && r->userKeyRefused)
                return nullptr;
            MemoryKey& key = r->KeyOf(scope);
            if (!key.exists) {
                key.exists = true;
                *created = true;
            }
            ++r->openKeys;
            return &key;
        };
        p.openKey = [](void* c, SettingsScope scope) -> SettingsKey {
            auto* r = static_cast<MemoryRegistry*>(c);
            MemoryKey& key = r->KeyOf(scope);
            if (!key.exists)
                return nullptr;
            ++r->openKeys;
            return &key;
        };
        p.closeKey = [](void* c, SettingsKey) { --static_cast<MemoryRegistry*>(c)->openKeys; };
        p.readValue = [](void*, SettingsKey k, const char* name, std::uint32_t* type, void* data,
                         std::uint32_t capacity, std::uint32_t* size) {
            auto* key = static_cast<MemoryKey*>(k);
            auto found = key->values.find(name);
            if (found == key->values.end())
                return false;
            *type = found->second.type;
            *size = static_cast<std::uint32_t>(found->second.data.size());
            if (data && *size <= capacity && *size > 0)
                std::memcpy(data, found->second.data.data(), *size);
            return true;
        };
        p.writeValue = [](void* c, SettingsKey k, const char* name, std::uint32_t type,
                          const void* data, std::uint32_t size) {
            auto* r = static_cast<MemoryRegistry*>(c);
            auto* key = static_cast<MemoryKey*>(k);
            const auto* bytes = static_cast<const unsigned char*>(data);
            key->values[name] = {type, std::vector<unsigned char>(bytes, bytes + size)};
            r->writes.push_back((key == &r->user ? "user:" : "machine:") + std::string(name));
        };
        p.showWelcome = [](void* c) { ++static_cast<MemoryRegistry*>(c)->welcomes; };
        p.announceTooltipReduction = [](void* c) { ++static_cast<MemoryRegistry*>(c)->reductions; };
        return p;
    }

    // One program start's settings step; the machine key is closed afterwards as the .syx
    // association check does.
    Settings Start() {
        Settings record;
        SettingsPlatform platform = Platform();
        SettingsKey machineKey = ConfigureSettings(platform, record);
        if (machineKey)
            platform.closeKey(this, machineKey);
        return record;
    }
};

std::vector<std::string> UserNames(std::initializer_list<const char*> names) {
    std::vector<std::string> out;
    for (const char* n : names)
        out.push_back(std::string("user:") + n);
    return out;
}

TEST(ShellSettings, FirstRunWritesTheDefaultsInOrderAndAsksForTheWelcome) {
    MemoryRegistry registry;
    Settings record = registry.Start();

    EXPECT_EQ(registry.writes,
              UserNames({"InputPort", "OutputPort", "WindowX", "WindowY", "GraphX", "GraphY",
                         "GraphW", "GraphH", "GraphAmp1", "GraphAmp2", "GraphPitch1", "GraphPitch2",
                         "GraphCutoff1", "GraphCutoff2", "ToolTips", "ToolTipsCountdown"}));
    EXPECT_EQ(registry.welcomes, 1);
    EXPECT_EQ(registry.reductions, 0);
    EXPECT_EQ(registry.openKeys, 0);
    EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"), 9);
    EXPECT_EQ(registry.Number(registry.user, "WindowX"), 30);
    EXPECT_EQ(registry.Number(registry.user, "GraphH"), 200);
    EXPECT_FALSE(registry.user.values.count("LibrarianInstrument"));
    EXPECT_TRUE(registry.machine.exists);
    EXPECT_TRUE(registry.machine.values.empty());

    EXPECT_EQ(record.InputPort, 0);
    EXPECT_EQ(record.WindowX, 30);
    EXPECT_EQ(record.WindowY, 30);
    EXPECT_EQ(record.GraphX, 200);
    EXPECT_EQ(record.GraphW, 200);
    EXPECT_EQ(record.ToolTips, toolTipsMaximum);
    EXPECT_EQ(record.LibrarianInstrument, -1);
    EXPECT_TRUE(record.titleSoundOn);
    EXPECT_TRUE(record.titlePictureOn);
    for (bool entry : record.firstEntry)
        EXPECT_TRUE(entry);
}

TEST(ShellSettings, LaterStartsOnlyCountAndShowNoWelcome) {
    MemoryRegistry registry;
    registry.Start();
    registry.writes.clear();
    registry.SetNumber(registry.user, "WindowX", -12);
    Settings record = registry.Start();
    EXPECT_EQ(registry.writes, UserNames({"ToolTipsCountdown"}));
    EXPECT_EQ(registry.welcomes, 1);
    EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"), 8);
    EXPECT_EQ(record.WindowX, -12);
}

TEST(ShellSettings, TheTenthStartTonesTheTooltipsDownOnce) {
    MemoryRegistry registry;
    for (int start = 1; start <= 12; ++start) {
        Settings record = registry.Start();
        EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"), 10 - start);
        EXPECT_EQ(registry.reductions, start >= 10 ? 1 : 0) << "start " << start;
        EXPECT_EQ(record.ToolTips, start >= 10 ? toolTipsNormal : toolTipsMaximum);
        EXPECT_EQ(registry.Number(registry.user, "ToolTips"), record.ToolTips);
    }
}

TEST(ShellSettings, ALevelChosenBeforeTheTenthStartIsLeftAlone) {
    for (std::int32_t level : {toolTipsOff, toolTipsNormal}) {
        MemoryRegistry registry;
        registry.Start();
        registry.SetNumber(registry.user, "ToolTips", level);
        registry.SetNumber(registry.user, "ToolTipsCountdown", 1);
        registry.writes.clear();
        Settings record = registry.Start();
        EXPECT_EQ(registry.reductions, 0);
        EXPECT_EQ(record.ToolTips, level);
        EXPECT_EQ(registry.writes, UserNames({"ToolTipsCountdown"}));
        EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"), 0);
    }
}

TEST(ShellSettings, ACountAtTheBottomOfTheRangeDoesNotWrap) {
    MemoryRegistry registry;
    registry.user.exists = true;
    registry.SetNumber(registry.user, "ToolTips", toolTipsMaximum);
    registry.SetNumber(registry.user, "ToolTipsCountdown",
                       std::numeric_limits<std::int32_t>::min());
    registry.Start();
    EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"),
              std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(registry.reductions, 0);
}

TEST(ShellSettings, MissingValuesKeepTheirStartingValues) {
    MemoryRegistry registry;
    registry.user.exists = true; // a key without values: not a first run
    Settings record = registry.Start();
    EXPECT_EQ(registry.welcomes, 0);
    EXPECT_EQ(record.ToolTips, toolTipsOff);
    EXPECT_EQ(record.GraphW, 100);
    EXPECT_EQ(record.GraphH, 100);
    EXPECT_EQ(record.GraphX, 0);
    EXPECT_EQ(record.GraphY, 0);
    EXPECT_EQ(record.WindowX, 0);
    EXPECT_EQ(record.LibrarianInstrument, -1);
    // An absent count counts as 10.
    EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"), 9);
}

TEST(ShellSettings, ValuesOfTheWrongTypeOrSizeReadAsAbsent) {
    MemoryRegistry registry;
    registry.user.exists = true;
    registry.user.values["ToolTips"] = {3 /* binary */, {2, 0, 0, 0}};
    registry.user.values["GraphW"] = {settingsTypeDword, {50, 0}};
    registry.user.values["GraphH"] = {settingsTypeDword, {50, 0, 0, 0, 0, 0, 0, 0}};
    registry.user.values["WindowX"] = {5 /* big-endian dword */, {0, 0, 0, 7}};
    registry.user.values["LibrarianInstrument"] = {1 /* string */, {'3', 0, 0, 0}};
    registry.user.values["ToolTipsCountdown"] = {settingsTypeDword, {}};
    registry.user.values["InputPort"] = {settingsTypeDword, {0xFF, 0xFF, 0xFF, 0xFF}};
    Settings record = registry.Start();
    EXPECT_EQ(record.ToolTips, toolTipsOff);
    EXPECT_EQ(record.GraphW, 100);
    EXPECT_EQ(record.GraphH, 100);
    EXPECT_EQ(record.WindowX, 0);
    EXPECT_EQ(record.LibrarianInstrument, -1);
    EXPECT_EQ(record.InputPort, -1);
    EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"), 9);
}

TEST(ShellSettings, PresenceOnlyValuesCountWhateverTheirData) {
    MemoryRegistry registry;
    registry.user.exists = true;
    registry.machine.exists = true;
    registry.user.values["TitleSoundDisabled"] = {settingsTypeDword, {}};
    registry.machine.values["FirstTime1"] = {settingsTypeNone, {}};
    registry.machine.values["FirstTime2"] = {settingsTypeDword, {0, 0, 0, 0}};
    Settings record = registry.Start();
    EXPECT_FALSE(record.titleSoundOn);
    EXPECT_TRUE(record.titlePictureOn);
    EXPECT_TRUE(record.firstEntry[0]);
    EXPECT_FALSE(record.firstEntry[1]);
    EXPECT_FALSE(record.firstEntry[2]);

    registry.user.values.erase("TitleSoundDisabled");
    registry.user.values["TitleGraphicTurnedOff"] = {settingsTypeDword, {1, 2, 3, 4, 5, 6}};
    record = registry.Start();
    EXPECT_TRUE(record.titleSoundOn);
    EXPECT_FALSE(record.titlePictureOn);
}

TEST(ShellSettings, NoUserKeyMeansDefaultsWithoutWrites) {
    MemoryRegistry registry;
    registry.userKeyRefused = true;
    Settings record = registry.Start();
    EXPECT_TRUE(registry.writes.empty());
    EXPECT_EQ(registry.welcomes, 0);
    EXPECT_EQ(record.ToolTips, toolTipsOff);
    EXPECT_EQ(record.GraphW, 100);
    EXPECT_EQ(record.LibrarianInstrument, -1);
    EXPECT_TRUE(record.titleSoundOn);
    EXPECT_EQ(registry.openKeys, 0);
}

TEST(ShellSettings, SaveWritesTheRecordInOrderAndTheInstrumentOnlyWhenChosen) {
    MemoryRegistry registry;
    registry.user.exists = true;
    Settings record;
    record.WindowX = 123;
    record.GraphCutoff2 = -7;
    record.ToolTips = toolTipsNormal;
    SaveSettingsValues(registry.Platform(), record);
    std::vector<std::string> numbers = UserNames(
        {"InputPort", "OutputPort", "WindowX", "WindowY", "GraphX", "GraphY", "GraphW", "GraphH",
         "GraphAmp1", "GraphAmp2", "GraphPitch1", "GraphPitch2", "GraphCutoff1", "GraphCutoff2"});
    EXPECT_EQ(registry.writes, numbers);
    EXPECT_EQ(registry.Number(registry.user, "WindowX"), 123);
    EXPECT_EQ(registry.Number(registry.user, "GraphCutoff2"), -7);
    EXPECT_EQ(registry.Number(registry.user, "GraphW"), 100);
    EXPECT_EQ(registry.openKeys, 0);

    registry.writes.clear();
    record.LibrarianInstrument = 0;
    SaveSettingsValues(registry.Platform(), record);
    numbers.push_back("user:LibrarianInstrument");
    EXPECT_EQ(registry.writes, numbers);
    EXPECT_EQ(registry.Number(registry.user, "LibrarianInstrument"), 0);
}

TEST(ShellSettings, AStoredInstrumentOfMinusOneIsNeverRewritten) {
    MemoryRegistry registry;
    registry.Start();
    registry.SetNumber(registry.user, "LibrarianInstrument", -1);
    Settings record = registry.Start();
    registry.writes.clear();
    SaveSettingsValues(registry.Platform(), record);
    for (const std::string& name : registry.writes)
        EXPECT_NE(name, "user:LibrarianInstrument");
}

TEST(ShellSettings, NothingIsRecreatedOnceTheKeysAreGone) {
    MemoryRegistry registry;
    Settings record = registry.Start();
    registry.user = MemoryKey{}; // removed by the uninstall
    registry.writes.clear();
    record.LibrarianInstrument = 4;
    SaveSettingsValues(registry.Platform(), record);
    EXPECT_FALSE(registry.user.exists);
    EXPECT_TRUE(registry.writes.empty());
    EXPECT_EQ(registry.openKeys, 0);
}

TEST(ShellSettings, UninstalledKeysMakeTheNextStartAFirstRunAgain) {
    MemoryRegistry registry;
    for (int i = 0; i < 3; ++i)
        registry.Start();
    registry.user = MemoryKey{};
    registry.Start();
    EXPECT_EQ(registry.welcomes, 2);
    EXPECT_EQ(registry.Number(registry.user, "ToolTipsCountdown"), 9);
}

} // namespace
