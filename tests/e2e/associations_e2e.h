#pragma once
// Shared pieces of the file-association and uninstall tests: the entries the program writes
// under HKEY_CLASSES_ROOT for a given program file, a .syx that another program owns, and
// opening the module keys' dialogs.
#include "harness/e2e.h"

#include <string>
#include <vector>

namespace associations_e2e {

inline constexpr const char* kOtherOwner = "OtherSysexTool.syx";
inline constexpr const char* kConsentCaption = "Talvane configuration";

struct Entry {
    std::string key;
    std::string value;
};

// Every key the program writes, with its default value, for the program at programPath.
inline std::vector<Entry> ExpectedEntries(const std::string& programPath,
                                          const std::string& programFolder) {
    const std::string loader = "\"" + programFolder + "\\Talvane95\"";
    return {
        {".syx", "Talvane"},
        {"Talvane", "MIDI System Exclusive data"},
        {"Talvane\\DefaultIcon", programPath + ",1"},
        {"Talvane\\Shell", "Send"},
        {"Talvane\\Shell\\Send", "Send"},
        {"Talvane\\Shell\\Send\\command", "\"" + programPath + "\" /send \"%1\""},
        {"Talvane\\Shell\\Open", "Open"},
        {"Talvane\\Shell\\Open\\command", loader + " /open \"%1\""},
        {".QXInstrument", "TalvaneInstrument"},
        {"TalvaneInstrument", "Instrument definition for Talvane"},
        {"TalvaneInstrument\\DefaultIcon", programPath + ",2"},
        {"TalvaneInstrument\\Shell", "Open"},
        {"TalvaneInstrument\\Shell\\Open", "Open"},
        {"TalvaneInstrument\\Shell\\Open\\command", loader + " /librarian \"%1\""},
        {".QXBank", "TalvaneBank"},
        {"TalvaneBank", "Program bank file for Talvane"},
        {"TalvaneBank\\DefaultIcon", programPath + ",3"},
        {"TalvaneBank\\Shell", "Open"},
        {"TalvaneBank\\Shell\\Open", "Open"},
        {"TalvaneBank\\Shell\\Open\\command", loader + " /bankfile \"%1\""},
    };
}

// Checks each entry (those whose key starts with `prefix`, all by default) against the registry.
inline void ExpectEntries(const std::vector<Entry>& entries, const std::string& prefix = "") {
    for (const Entry& entry : entries) {
        if (entry.key.rfind(prefix, 0) == 0) {
            EXPECT_EQ(e2e::ReadString(HKEY_CLASSES_ROOT, entry.key, ""), entry.value) << entry.key;
        }
    }
}

// Opens the dialog of CTRL+<key> from the module window and returns it (nullptr on failure).
// The key goes to one of the window's buttons, as it does when a control has the focus; the
// message hook hands it on to the module window.
inline HWND OpenWithCtrl(const e2e::Program& program, HWND module, int key,
                         const std::string& caption) {
    HWND button = FindWindowExA(module, nullptr, "Button", nullptr);
    EXPECT_TRUE(button) << "the module window has no button";
    {
        e2e::CtrlHeld ctrl(module);
        EXPECT_TRUE(ctrl.held);
        EXPECT_TRUE(e2e::PressKey(button, key));
    }
    HWND dialog = e2e::WaitForWindowOf(program, {.className = "#32770", .caption = caption});
    // Releasing CTRL made the module window the foreground window again, which raises it over
    // its own dialog on Wine's X server; a user's dialog stays in front.
    if (dialog) {
        SetForegroundWindow(dialog);
        EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == dialog; },
                                   "the dialog is in front"));
    }
    return dialog;
}

} // namespace associations_e2e
