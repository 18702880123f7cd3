#pragma once
#include <cstdint>

// The program's persistent choices, one record for the whole process: loaded once at start-up,
// written back at exit (a few values are written at the moment they change). The numeric fields
// keep the names of their registry values.
struct Settings {
    std::int32_t InputPort = 0;
    std::int32_t OutputPort = 0;
    std::int32_t WindowX = 0;
    std::int32_t WindowY = 0;
    std::int32_t GraphX = 0;
    std::int32_t GraphY = 0;
    std::int32_t GraphW = 100;
    std::int32_t GraphH = 100;
    std::int32_t GraphAmp1 = 0;
    std::int32_t GraphAmp2 = 0;
    std::int32_t GraphPitch1 = 0;
    std::int32_t GraphPitch2 = 0;
    std::int32_t GraphCutoff1 = 0;
    std::int32_t GraphCutoff2 = 0;
    std::int32_t ToolTips = 0;
    std::int32_t LibrarianInstrument = -1;

    bool titlePictureOn = false;
    bool titleSoundOn = false;
    bool handlingSyxFiles = false;
    bool firstEntry[3] = {false, false, false}; // Manager, Librarian, Program Editor
};

extern Settings settings;

// Tooltip levels kept in ToolTips.
inline constexpr std::int32_t toolTipsOff = 0;
inline constexpr std::int32_t toolTipsNormal = 1;
inline constexpr std::int32_t toolTipsMaximum = 2;

// ---------------------------------------------------------------------------------------------
// The rules of the settings store, independent of where the values are kept. The Windows layer
// (settings_registry.h) supplies the registry; tests supply a store in memory.

// Value types as the registry numbers them.
inline constexpr std::uint32_t settingsTypeNone = 0;
inline constexpr std::uint32_t settingsTypeDword = 4;

// The two settings keys: per user (everything in the record) and per machine (first-entry
// markers and the .syx refusal).
enum class SettingsScope { user, machine };

// An open settings key; nullptr means "no key", and every operation on it does nothing.
using SettingsKey = void*;

// What the settings rules need from the system, as a table of functions sharing one context.
struct SettingsPlatform {
    void* context = nullptr;
    // Creates what is missing of the settings key path and opens the key for full access;
    // *created tells whether the last key of the path had to be created.
    SettingsKey (*createKey)(void* context, SettingsScope scope, bool* created) = nullptr;
    // Opens the settings key for full access without creating anything.
    SettingsKey (*openKey)(void* context, SettingsScope scope) = nullptr;
    void (*closeKey)(void* context, SettingsKey key) = nullptr;
    // True when the value exists. *type and *size describe what is stored; the data are copied
    // into data only when they fit capacity. data may be null with capacity 0.
    bool (*readValue)(void* context, SettingsKey key, const char* name, std::uint32_t* type,
                      void* data, std::uint32_t capacity, std::uint32_t* size) = nullptr;
    void (*writeValue)(void* context, SettingsKey key, const char* name, std::uint32_t type,
                       const void* data, std::uint32_t size) = nullptr;
    // The first-run welcome advice.
    void (*showWelcome)(void* context) = nullptr;
    // The tooltips have just been toned down to Normal: close the title picture and say so.
    void (*announceTooltipReduction)(void* context) = nullptr;
};

// A stored number: only a REG_DWORD of exactly 4 bytes counts; anything else reads as absent.
bool ReadSettingsNumber(const SettingsPlatform& platform, SettingsKey key, const char* name,
                        std::int32_t* value);
void WriteSettingsNumber(const SettingsPlatform& platform, SettingsKey key, const char* name,
                         std::int32_t value);
// Values whose presence alone counts, whatever their type and data.
bool SettingsValueExists(const SettingsPlatform& platform, SettingsKey key, const char* name);

// The first-run values, in the order they are written.
struct FirstRunValue {
    const char* name;
    std::int32_t value;
};
inline constexpr FirstRunValue firstRunValues[] = {
    {"InputPort", 0},    {"OutputPort", 0},   {"WindowX", 30},    {"WindowY", 30},
    {"GraphX", 200},     {"GraphY", 200},     {"GraphW", 200},    {"GraphH", 200},
    {"GraphAmp1", 0},    {"GraphAmp2", 0},    {"GraphPitch1", 0}, {"GraphPitch2", 0},
    {"GraphCutoff1", 0}, {"GraphCutoff2", 0}, {"ToolTips", 2},
};

// Runs the settings part of the start-up: decides the first run, writes the first-run values
// and asks for the welcome box, loads the record, counts the start (toning the tooltips down on
// the tenth), derives the title flags and reads the first-entry markers. Returns the machine
// settings key, still open for the .syx association check (nullptr when it cannot be opened).
SettingsKey ConfigureSettings(const SettingsPlatform& platform, Settings& record);

// Writes the values kept in memory back into the user settings key, if it still exists.
void SaveSettingsValues(const SettingsPlatform& platform, const Settings& record);
