#include "shell/preferences_rules.h"

#include <algorithm>

namespace {

// A start-up feature that is on while its presence-only value is absent.
void ApplyTitleFlag(bool& flag, bool ticked, const char* valueName,
                    std::vector<SettingsChange>& changes) {
    if (ticked == flag)
        return;
    flag = ticked;
    changes.push_back({SettingsScope::user,
                       flag ? SettingsChangeKind::deleteValue : SettingsChangeKind::writeEmpty,
                       valueName});
}

} // namespace

PreferencesChoice PreferencesShown(const Settings& record) {
    PreferencesChoice shown;
    shown.titlePicture = record.titlePictureOn;
    shown.titleSound = record.titleSoundOn;
    shown.handleSyx = record.handlingSyxFiles;
    shown.handleSyxEnabled = !record.handlingSyxFiles;
    shown.toolTips = std::clamp(record.ToolTips, toolTipsOff, toolTipsMaximum);
    return shown;
}

PreferencesOutcome AcceptPreferences(Settings& record, const PreferencesChoice& choice) {
    PreferencesOutcome outcome;
    ApplyTitleFlag(record.titlePictureOn, choice.titlePicture, "TitleGraphicTurnedOff",
                   outcome.changes);
    ApplyTitleFlag(record.titleSoundOn, choice.titleSound, "TitleSoundDisabled", outcome.changes);
    if (choice.toolTips != record.ToolTips) {
        record.ToolTips = choice.toolTips;
        outcome.changes.push_back(
            {SettingsScope::user, SettingsChangeKind::writeNumber, "ToolTips", choice.toolTips});
    }
    // Only a claim the user makes counts; a greyed tick means the program owns .syx already.
    if (choice.handleSyx && choice.handleSyxEnabled) {
        outcome.changes.push_back(
            {SettingsScope::machine, SettingsChangeKind::deleteValue, "DisableExtensions"});
        outcome.announceSyxClaim = true;
    }
    return outcome;
}
