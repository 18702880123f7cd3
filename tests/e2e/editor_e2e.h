#pragma once
// Shared pieces of the Program Editor's end-to-end tests: a user's settings with the virtual
// instrument as both ports, the way into the editor (the shipped Korg M1 definition, started
// with CTRL held), the editor's controls, and the program dumps in the instrument's log decoded
// independently of the program's own code.
#include "harness/e2e.h"
#include "harness/instrument_keys.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace editor_e2e {

using Bytes = std::vector<unsigned char>;

inline constexpr const char* kEditorClass = "QX_SysX3";

enum EditorControl {
    clearId = 100,
    librarianId = 3000,
    managerId = 3001,
    pageId = 3007,
    programBoxId = 3008,
    revertId = 3009,
    singleId = 3100,
    doubleId = 3101,
    aftertouchCutoffId = 3107, // byte 29, -99..+99
    effect1Id = 3141,
    effect2Id = 3142,
    effectType1Id = 3134,
    oscillator1Id = 3200,
    oscillator2Id = 3201,
    multisoundId = 3207,
    ampLevelId = 3208,       // oscillator byte 86, 0..99
    ampKeyCentreId = 3209,   // key name, byte 87
    cutoffKeyTrackId = 3230, // byte 73, -99..+99
    ampTimeTrackAttackId = 3249,
};

// A user who has run the program a few times, with the virtual instrument (the mapper, the only
// MIDI device here) as input and output port.
inline void PresetSettings(DWORD toolTips = 2) {
    e2e::ResetRegistry();
    const struct {
        const char* name;
        DWORD value;
    } values[] = {{"InputPort", DWORD(-1)}, {"OutputPort", DWORD(-1)}, {"WindowX", 30},
                  {"WindowY", 30},          {"GraphX", 520},           {"GraphY", 30},
                  {"GraphW", 300},          {"GraphH", 200},           {"ToolTips", toolTips},
                  {"ToolTipsCountdown", 6}};
    for (const auto& value : values)
        ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, value.name, value.value));
    ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime0", 1));
}

struct Editor {
    e2e::Program program;
    HWND window = nullptr;
};

// Starts the program straight into the editor, as "/librarian <Korg M1 definition>" with CTRL
// held does, and waits for the editor window. The instrument is the M1 unless the options say
// otherwise; the settings are as they are (see PresetSettings).
inline Editor StartEditor(e2e::LaunchOptions options = {}) {
    options.freshRegistry = false;
    if (options.arguments.empty())
        options.arguments =
            "/librarian \"" + e2e::JoinPath(e2e::BinFolder(), "Korg M1.QXInstrument") + "\"";
    Editor editor;
    {
        e2e::CtrlHeld ctrl;
        EXPECT_TRUE(ctrl.held);
        editor.program = e2e::Launch(options);
        if (editor.program)
            editor.window = e2e::WaitForWindowOf(editor.program, {.className = kEditorClass});
    }
    return editor;
}

inline std::vector<e2e::LogEntry> LogEvents(const e2e::Program& program, const char* event) {
    return e2e::EventsNamed(e2e::ReadInstrumentLog(program.instrumentLog).entries, event);
}

inline bool IsDump(const e2e::LogEntry& entry) {
    return entry.count == 170 && entry.bytes.size() == 170 && entry.bytes[4] == 0x40;
}

// Program dumps the program sent to the instrument.
inline std::vector<e2e::LogEntry> DumpsReceived(const e2e::Program& program) {
    std::vector<e2e::LogEntry> dumps;
    for (const e2e::LogEntry& entry : LogEvents(program, "recv"))
        if (IsDump(entry))
            dumps.push_back(entry);
    return dumps;
}

// Dumps the instrument sent to the program.
inline int DumpsSent(const e2e::Program& program) {
    const auto sent = LogEvents(program, "send");
    return static_cast<int>(std::count_if(sent.begin(), sent.end(), IsDump));
}

// The 143 program bytes of a dump: per group of seven bytes a leading byte that holds their
// high bits.
inline Bytes Unpacked(const Bytes& dump) {
    Bytes program(143);
    for (int i = 0; i < 143; ++i) {
        const int group = 5 + 8 * (i / 7);
        const int high = (dump[static_cast<std::size_t>(group)] >> (i % 7)) & 1;
        program[static_cast<std::size_t>(i)] = static_cast<unsigned char>(
            dump[static_cast<std::size_t>(group + 1 + i % 7)] | (high << 7));
    }
    return program;
}

inline std::string ProgramBoxText(HWND editor) {
    return e2e::Text(e2e::Control(editor, programBoxId));
}

// Waits until the list is complete and the program shown is fetched in full: 100 list dumps,
// then one more, the window enabled and showing "NN name".
inline testing::AssertionResult WaitUntilEditing(const Editor& editor, int dumps = 101) {
    auto fetched = e2e::WaitForLog(
        editor.program.instrumentLog,
        [&](const std::vector<e2e::LogEntry>& entries) {
            const auto sent = e2e::EventsNamed(entries, "send");
            return std::count_if(sent.begin(), sent.end(), IsDump) >= dumps;
        },
        "the list and the program are fetched");
    if (!fetched)
        return fetched;
    return e2e::WaitUntil(
        [&] {
            return IsWindowEnabled(editor.window) &&
                   e2e::ComboBoxItems(e2e::Control(editor.window, programBoxId)).size() == 100 &&
                   ProgramBoxText(editor.window).size() == 13;
        },
        "the editor is ready for editing");
}

// Types a value into a box as a user would: replaces the text, then leaves the box.
inline testing::AssertionResult TypeInto(HWND editor, int box, const std::string& text) {
    return e2e::SetText(e2e::Control(editor, box), text);
}

// Waits until `count` program dumps reached the instrument.
inline testing::AssertionResult WaitForDumps(const e2e::Program& program, std::size_t count) {
    return e2e::WaitForLog(
        program.instrumentLog,
        [&](const std::vector<e2e::LogEntry>& entries) {
            const auto received = e2e::EventsNamed(entries, "recv");
            return static_cast<std::size_t>(
                       std::count_if(received.begin(), received.end(), IsDump)) >= count;
        },
        std::to_string(count) + " program dumps sent");
}

} // namespace editor_e2e
