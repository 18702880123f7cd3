#pragma once
// What the Preferences box shows and what its OK changes, independent of the dialog and the
// registry.

#include "shell/settings.h"

#include <cstdint>
#include <vector>

// The state of the box's controls.
struct PreferencesChoice {
    bool titlePicture = false;
    bool titleSound = false;
    bool handleSyx = false;
    bool handleSyxEnabled = false; // greyed while the program owns .syx: it cannot be given up
    std::int32_t toolTips = toolTipsOff;
};

// The box as it opens from the settings. A stored tooltip level outside 0..2 shows as the level
// it acts as: below 0 Off, above 2 Maximum.
PreferencesChoice PreferencesShown(const Settings& record);

enum class SettingsChangeKind {
    deleteValue,
    writeEmpty,  // a presence-only value: REG_DWORD with no data
    writeNumber, // REG_DWORD, 4 bytes
};

struct SettingsChange {
    SettingsScope scope;
    SettingsChangeKind kind;
    const char* name;
    std::int32_t value = 0;
};

struct PreferencesOutcome {
    std::vector<SettingsChange> changes; // in order, the user key's first
    bool announceSyxClaim = false;       // DisableExtensions is deleted: say the next start asks
};

// OK: brings the record up to the choice and lists the registry changes that store it. Only
// what differs from the record is written.
PreferencesOutcome AcceptPreferences(Settings& record, const PreferencesChoice& choice);
