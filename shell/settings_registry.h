#pragma once
#include <windows.h>

#include "shell/settings.h"

// The settings in the system registry: the user settings key under HKEY_CURRENT_USER and the
// machine settings key under HKEY_LOCAL_MACHINE, both "Software\Quillfen\Talvane\2.0".

// Opens the settings key under root (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE) for full access.
// Never creates anything: nullptr when a key on the way is missing. The caller closes it.
HKEY OpenSettingsKey(HKEY root);

// Creates what is missing of the settings key path under root ("Quillfen" with an empty class
// string, "Talvane" and "2.0" with the class "Talvane") and opens "2.0" for full access;
// *created tells whether "2.0" had to be created. nullptr when the path cannot be made.
HKEY CreateSettingsKey(HKEY root, bool* created);

// The settings rules' view of the registry, with the start-up boxes shown without owner.
SettingsPlatform RegistrySettingsPlatform();

// Start-up: loads the settings record, writes the first-run values and counts the start, then
// checks the .syx association and registers the library file types when it asks for that.
void StartupConfiguration();

// Exit: writes the record back into the user settings key, if that still exists.
void SaveSettings();

// The texts of the two start-up boxes.
extern const char welcomeCaption[];
extern const char welcomeText[];
extern const char tooltipReductionCaption[];
extern const char tooltipReductionText[];
