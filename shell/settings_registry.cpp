#include "shell/settings_registry.h"

#include "shell/file_associations.h"
#include "shell/message_box.h"

static_assert(settingsTypeNone == REG_NONE && settingsTypeDword == REG_DWORD);

const char welcomeCaption[] = "New user information";
const char welcomeText[] =
    "Welcome to Quillfen Talvane 95! To get you up to speed right away, here's some advice.\n\n"
    "Be sure to use the help file - from the button in the top right of all main screens - any "
    "time if you're not sure how to do something, or why something is happening.\n\n"
    "The program is equipped with tooltips - small yellow rectangles that pop up to explain the "
    "purpose of a control that the mouse has paused over. If these annoy you, you can turn them "
    "off using the preferences dialog box, which is accessed by pressing CTRL+P from any main "
    "screen. This is also how you turn off the startup sound.\n\n"
    "If you really don't like the program, pressing CTRL+U to uninstall will automatically "
    "remove most parts of it from your system. This is explained in more detail when you press "
    "CTRL+U.\n\n"
    "In case you haven't got the idea yet - I like the CTRL key. When you hold it down, some "
    "buttons do different things. (The tooltips will explain, and indicate which controls this "
    "applies to.) This also works while the program is loading...\n\n"
    "Don't be alarmed if the program seems to disappear when switching between modules; it will "
    "be back shortly!\n\n"
    "Hope you enjoy using the program!";

const char tooltipReductionCaption[] = "Talvane 95";
const char tooltipReductionText[] =
    "Since you've now used this program a number of times, the tooltips (yellow pop-up "
    "information boxes) have been reduced in number and frequency.\n\n"
    "They are now set to the normal level. If you'd like to put them back the way they were "
    "before, or turn them off altogether, you can do so using the Preferences box (accessed by "
    "typing CTRL+P from any main screen).";

namespace {

const char* const settingsPath[] = {"Quillfen", "Talvane", "2.0"};

HKEY RootOf(SettingsScope scope) {
    return scope == SettingsScope::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

SettingsKey CreateKey(void*, SettingsScope scope, bool* created) {
    return CreateSettingsKey(RootOf(scope), created);
}

SettingsKey OpenKey(void*, SettingsScope scope) {
    return OpenSettingsKey(RootOf(scope));
}

void CloseKey(void*, SettingsKey key) {
    RegCloseKey(static_cast<HKEY>(key));
}

bool ReadValue(void*, SettingsKey key, const char* name, std::uint32_t* type, void* data,
               std::uint32_t capacity, std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = data ? capacity : 0;
    LONG result = RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, &valueType,
                                   static_cast<BYTE*>(data), &valueSize);
    if (result == ERROR_MORE_DATA) {
        // Larger than the caller's buffer: report its real size without reading it.
        valueSize = 0;
        result = RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, &valueType, nullptr,
                                  &valueSize);
    }
    if (result != ERROR_SUCCESS)
        return false;
    *type = valueType;
    *size = valueSize;
    return true;
}

void WriteValue(void*, SettingsKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) {
    RegSetValueExA(static_cast<HKEY>(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

void ShowWelcome(void*) {
    ShowMessageBox(nullptr, welcomeText, welcomeCaption, MB_OK | MB_ICONINFORMATION);
}

void AnnounceTooltipReduction(void*) {
    ShowMessageBox(nullptr, tooltipReductionText, tooltipReductionCaption,
                   MB_OK | MB_ICONINFORMATION);
}

} // namespace

HKEY OpenSettingsKey(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, "Software", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    for (const char* name : settingsPath) {
        HKEY child = nullptr;
        LONG result = RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &child);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return nullptr;
        key = child;
    }
    return key;
}

HKEY CreateSettingsKey(HKEY root, bool* created) {
    *created = false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, "Software", 0, KEY_READ | KEY_CREATE_SUB_KEY, &key) != ERROR_SUCCESS)
        return nullptr;
    for (const char* name : settingsPath) {
        char keyClass[] = "Talvane";
        char noClass[] = "";
        bool isQuillfen = name == settingsPath[0];
        HKEY child = nullptr;
        DWORD disposition = 0;
        LONG result =
            RegCreateKeyExA(key, name, 0, isQuillfen ? noClass : keyClass, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &child, &disposition);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return nullptr;
        key = child;
        *created = disposition == REG_CREATED_NEW_KEY;
    }
    return key;
}

SettingsPlatform RegistrySettingsPlatform() {
    SettingsPlatform platform;
    platform.createKey = CreateKey;
    platform.openKey = OpenKey;
    platform.closeKey = CloseKey;
    platform.readValue = ReadValue;
    platform.writeValue = WriteValue;
    platform.showWelcome = ShowWelcome;
    platform.announceTooltipReduction = AnnounceTooltipReduction;
    return platform;
}

void StartupConfiguration() {
    HKEY machineKey = static_cast<HKEY>(ConfigureSettings(RegistrySettingsPlatform(), settings));
    settings.handlingSyxFiles = true;
    if (CheckSyxAssociation(machineKey) == SyxAssociation::writeAssociations)
        RegisterLibraryFileTypes();
}

void SaveSettings() {
    SaveSettingsValues(RegistrySettingsPlatform(), settings);
}
