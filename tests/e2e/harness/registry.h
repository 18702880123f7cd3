#pragma once
// The registry the program keeps its settings and file types in. The test program shares the
// Wine prefix (and so the registry) with the program under test: what the program writes is
// visible here at once, and values a test writes before a start are what the program finds.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The settings key, under HKEY_CURRENT_USER (user settings) and HKEY_LOCAL_MACHINE (machine
// settings).
inline constexpr const char* kSettingsKey = "Software\\Quillfen\\Talvane\\2.0";

// Keys under HKEY_CLASSES_ROOT that the program writes for its three file types.
inline constexpr const char* kFileTypeKeys[] = {
    ".syx", "Talvane", ".QXInstrument", "TalvaneInstrument", ".QXBank", "TalvaneBank"};

// The state of a machine on which the program never ran: deletes "Software\Quillfen" under
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE and the file-type keys above. Records a test failure
// when a key survives.
void ResetRegistry();

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<unsigned char> data;
};

bool KeyExists(HKEY root, std::string_view path);
bool ValueExists(HKEY root, std::string_view path, std::string_view name);

// Nothing when the key or the value does not exist.
std::optional<RegistryValue> ReadValue(HKEY root, std::string_view path, std::string_view name);
// Only a REG_DWORD of exactly 4 bytes reads as a number.
std::optional<DWORD> ReadDword(HKEY root, std::string_view path, std::string_view name);
// A REG_SZ, without its terminating zero. An empty name reads the key's default value.
std::optional<std::string> ReadString(HKEY root, std::string_view path, std::string_view name);

// Writers create the key (and the keys on its path) when needed; false when that fails.
bool WriteValue(HKEY root, std::string_view path, std::string_view name, DWORD type,
                const std::vector<unsigned char>& data);
bool WriteDword(HKEY root, std::string_view path, std::string_view name, DWORD value);
bool WriteString(HKEY root, std::string_view path, std::string_view name, std::string_view value);

// True when the value or key is gone afterwards (also when it never existed).
bool DeleteValue(HKEY root, std::string_view path, std::string_view name);
bool DeleteKeyTree(HKEY root, std::string_view path);

// The program's own settings: a number in the settings key of `root`.
inline std::optional<DWORD> ReadSetting(HKEY root, std::string_view name) {
    return ReadDword(root, kSettingsKey, name);
}
inline bool WriteSetting(HKEY root, std::string_view name, DWORD value) {
    return WriteDword(root, kSettingsKey, name, value);
}

} // namespace e2e
