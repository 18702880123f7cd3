// The registry texts of the three file types and the uninstall's order, and the Preferences
// box's rules: what it shows and what its OK writes.
#include "shell/file_associations_values.h"
#include "shell/preferences_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::string path = "C:\\Program Files\\Talvane\\Talvane95.dat";
const std::string folder = "C:\\Program Files\\Talvane";

// A folder with a space: the commands quote the program and the file, the icon texts stay bare
// (the start-up check compares the .syx one).
TEST(ShellAssociations, EntriesQuoteProgramAndFileAndKeepTheIconTextsBare) {
    const std::string loader = "\"" + folder + "\\Talvane95\"";
    const std::vector<AssociationEntry> expected = {
        {".syx", "Talvane"},
        {"Talvane", "MIDI System Exclusive data"},
        {"Talvane\\DefaultIcon", path + ",1"},
        {"Talvane\\Shell", "Send"},
        {"Talvane\\Shell\\Send", "Send"},
        {"Talvane\\Shell\\Send\\command", "\"" + path + "\" /send \"%1\""},
        {"Talvane\\Shell\\Open", "Open"},
        {"Talvane\\Shell\\Open\\command", loader + " /open \"%1\""},
        {".QXInstrument", "TalvaneInstrument"},
        {"TalvaneInstrument", "Instrument definition for Talvane"},
        {"TalvaneInstrument\\DefaultIcon", path + ",2"},
        {"TalvaneInstrument\\Shell", "Open"},
        {"TalvaneInstrument\\Shell\\Open", "Open"},
        {"TalvaneInstrument\\Shell\\Open\\command", loader + " /librarian \"%1\""},
        {".QXBank", "TalvaneBank"},
        {"TalvaneBank", "Program bank file for Talvane"},
        {"TalvaneBank\\DefaultIcon", path + ",3"},
        {"TalvaneBank\\Shell", "Open"},
        {"TalvaneBank\\Shell\\Open", "Open"},
        {"TalvaneBank\\Shell\\Open\\command", loader + " /bankfile \"%1\""},
    };
    auto entries = SyxAssociationEntries(path, folder);
    for (const auto& entry : LibraryTypeEntries(path, folder))
        entries.push_back(entry);
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].defaultValue, expected[i].defaultValue) << expected[i].key;
    }
    EXPECT_EQ(SyxIconEntry(path), path + ",1");
}

TEST(ShellAssociations, UninstallDeletesEveryWrittenKeyWithTheProgramIdentifiers) {
    std::vector<std::string> written;
    for (const auto& entry : SyxAssociationEntries(path, folder))
        written.push_back(entry.key);
    for (const auto& entry : LibraryTypeEntries(path, folder))
        written.push_back(entry.key);
    for (const std::string& key : written) {
        if (key.front() == '.')
            continue; // the extensions are restored or deleted before the settings keys
        EXPECT_TRUE(std::any_of(
            std::begin(programIdentifiers), std::end(programIdentifiers),
            [&](const std::string& id) { return key == id || key.rfind(id + "\\", 0) == 0; }))
            << key;
    }
}

// ---------------------------------------------------------------------------------------------

Settings Record(bool picture, bool sound, bool syx, std::int32_t toolTips) {
    Settings record;
    record.titlePictureOn = picture;
    record.titleSoundOn = sound;
    record.handlingSyxFiles = syx;
    record.ToolTips = toolTips;
    return record;
}

TEST(ShellPreferences, TheBoxShowsTheSettingsAndGreysSyxWhileTheProgramOwnsIt) {
    const struct {
        Settings record;
        PreferencesChoice shown;
    } cases[] = {
        {Record(true, false, true, 1), {true, false, true, false, 1}},
        {Record(false, true, false, 0), {false, true, false, true, 0}},
        // A level the box has no button for shows as the level it acts as.
        {Record(true, true, false, 7), {true, true, false, true, 2}},
        {Record(true, true, false, -3), {true, true, false, true, 0}},
    };
    for (const auto& c : cases) {
        const PreferencesChoice shown = PreferencesShown(c.record);
        EXPECT_EQ(shown.titlePicture, c.shown.titlePicture);
        EXPECT_EQ(shown.titleSound, c.shown.titleSound);
        EXPECT_EQ(shown.handleSyx, c.shown.handleSyx);
        EXPECT_EQ(shown.handleSyxEnabled, c.shown.handleSyxEnabled);
        EXPECT_EQ(shown.toolTips, c.shown.toolTips);
    }
}

std::string Describe(const PreferencesOutcome& outcome) {
    std::string text;
    for (const SettingsChange& change : outcome.changes) {
        text += change.scope == SettingsScope::user ? "user:" : "machine:";
        switch (change.kind) {
        case SettingsChangeKind::deleteValue:
            text += "delete ";
            break;
        case SettingsChangeKind::writeEmpty:
            text += "empty ";
            break;
        case SettingsChangeKind::writeNumber:
            text += "number " + std::to_string(change.value) + " ";
            break;
        }
        text += change.name;
        text += "; ";
    }
    if (outcome.announceSyxClaim)
        text += "announce";
    return text;
}

TEST(ShellPreferences, OkWritesOnlyWhatChangedAndClaimsSyxOnlyWhenTheUserAsks) {
    const struct {
        const char* what;
        Settings record;
        PreferencesChoice choice;
        const char* changes;
        Settings after;
    } cases[] = {
        {"nothing changed",
         Record(true, true, true, 2),
         {true, true, true, false, 2},
         "",
         Record(true, true, true, 2)},
        {"picture off, sound on",
         Record(true, false, true, 2),
         {false, true, true, false, 2},
         "user:empty TitleGraphicTurnedOff; user:delete TitleSoundDisabled; ",
         Record(false, true, true, 2)},
        {"picture on, sound off, tooltips off",
         Record(false, true, true, 2),
         {true, false, true, false, 0},
         "user:delete TitleGraphicTurnedOff; user:empty TitleSoundDisabled; "
         "user:number 0 ToolTips; ",
         Record(true, false, true, 0)},
        {"syx ticked by the user",
         Record(true, true, false, 1),
         {true, true, true, true, 1},
         "machine:delete DisableExtensions; announce",
         Record(true, true, false, 1)},
        {"syx ticked but greyed",
         Record(true, true, false, 1),
         {true, true, true, false, 1},
         "",
         Record(true, true, false, 1)},
        {"a stored level out of range is rewritten",
         Record(true, true, true, 9),
         {true, true, true, false, 2},
         "user:number 2 ToolTips; ",
         Record(true, true, true, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Settings record = c.record;
        EXPECT_EQ(Describe(AcceptPreferences(record, c.choice)), c.changes);
        EXPECT_EQ(record.titlePictureOn, c.after.titlePictureOn);
        EXPECT_EQ(record.titleSoundOn, c.after.titleSoundOn);
        EXPECT_EQ(record.ToolTips, c.after.ToolTips);
        // The claim takes effect at the next start, not now.
        EXPECT_EQ(record.handlingSyxFiles, c.after.handlingSyxFiles);
    }
}

} // namespace
