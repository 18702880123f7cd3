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
    managerId = 3001,
    pageId = 3007,
    programBoxId = 3008,
    revertId = 3009,
    singleId = 3100,
    aftertouchCutoffId = 3107, // byte 29, -99..+99
    effect1Id = 3141,
    effect2Id = 3142,
    oscillator1Id = 3200,
    oscillator2Id = 3201,
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

// A program dump (F0 42 3n 19 40 .. F7, 170 bytes) inside a message: the send string puts a
// program change in front of it and the write request behind it.
inline Bytes DumpInside(const Bytes& bytes) {
    for (std::size_t i = 0; i + 170 <= bytes.size(); ++i) {
        if (bytes[i] == 0xF0 && bytes[i + 1] == 0x42 && (bytes[i + 2] & 0xF0) == 0x30 &&
            bytes[i + 3] == 0x19 && bytes[i + 4] == 0x40 && bytes[i + 169] == 0xF7)
            return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                         bytes.begin() + static_cast<std::ptrdiff_t>(i + 170));
    }
    return {};
}

struct SentDump {
    double ms = 0;
    Bytes dump;
    Bytes message; // the whole message that carried it
    Bytes next;    // the message the program sent after it
};

// Program dumps the program sent to the instrument, in order.
inline std::vector<SentDump> DumpsReceived(const e2e::Program& program) {
    const auto received = LogEvents(program, "recv");
    std::vector<SentDump> dumps;
    for (std::size_t i = 0; i < received.size(); ++i) {
        Bytes dump = DumpInside(received[i].bytes);
        if (dump.empty())
            continue;
        dumps.push_back({received[i].ms, dump, received[i].bytes,
                         i + 1 < received.size() ? received[i + 1].bytes : Bytes{}});
    }
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

// A click on a radio button or check box, which ticks it before it notifies.
inline testing::AssertionResult Click(HWND editor, int button) {
    return e2e::Delivered(e2e::Deliver(e2e::Control(editor, button), BM_CLICK, 0, 0),
                          "clicking " + std::to_string(button));
}

// A value entered into a box: its text replaced, as typing over it does.
inline testing::AssertionResult TypeInto(HWND editor, int box, const std::string& text) {
    return e2e::SetText(e2e::Control(editor, box), text);
}

// The editor redisplays after it has sent: the box shows `text` once that is done.
inline testing::AssertionResult ShowsSoon(HWND editor, int box, const std::string& text) {
    return e2e::WaitUntil([&] { return e2e::Text(e2e::Control(editor, box)) == text; },
                          "box " + std::to_string(box) + " shows " + text);
}

// The clock of the instrument's log, in this process.
inline double NowMs() {
    LARGE_INTEGER ticks, frequency;
    QueryPerformanceCounter(&ticks);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline const Bytes kFollowUp = {0xF0, 0x42, 0x30, 0x19, 0x41, 0x00, 0x08, 0x00, 0x00, 0xF7};

// A started editor whose list and first program are in.
inline Editor EditingEditor(e2e::LaunchOptions options = {}) {
    PresetSettings();
    Editor editor = StartEditor(std::move(options));
    EXPECT_TRUE(editor.window);
    if (editor.window) {
        EXPECT_TRUE(WaitUntilEditing(editor));
    }
    return editor;
}

// Waits until `count` program dumps reached the instrument.
inline testing::AssertionResult WaitForDumps(const e2e::Program& program, std::size_t count) {
    return e2e::WaitForLog(
        program.instrumentLog,
        [&](const std::vector<e2e::LogEntry>& entries) {
            const auto received = e2e::EventsNamed(entries, "recv");
            return static_cast<std::size_t>(std::count_if(
                       received.begin(), received.end(), [](const e2e::LogEntry& entry) {
                           return !DumpInside(entry.bytes).empty();
                       })) >= count;
        },
        std::to_string(count) + " program dumps sent");
}

} // namespace editor_e2e
