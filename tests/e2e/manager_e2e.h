#pragma once
// Shared pieces of the Manager's end-to-end tests: a user's settings with the virtual instrument
// as both ports, starting the Manager, reading its two lists and captions, .syx files, and the
// system's file dialogs driven as a user drives them.
#include "harness/e2e.h"

#include <cstdint>
#include <string>
#include <vector>

namespace manager_e2e {

using Bytes = std::vector<unsigned char>;

// Controls of the Manager window.
enum ManagerControl {
    clearId = 100,
    saveAsId = 101,
    messagesId = 102,
    sendId = 103,
    filesId = 104,
    inputPortId = 105,
    outputPortId = 106,
    openId = 107,
    deleteId = 109,
    createEditId = 111,
    helpId = 150,
    aboutId = 151,
    librarianId = 3000,
};

// Controls of the hex editor "Create/Edit SysEx Message".
enum HexEditorControl { hexFieldId = 400, hexOkId = 111, hexCancelId = 301, hexHelpId = 150 };

inline constexpr const char* kHexEditorCaption = "Create/Edit SysEx Message";

// The settings of a user who has run the program a few times, with the virtual instrument (the
// mapper, the only MIDI device here) as input and output port.
inline void PresetSettings(DWORD librarianInstrument = DWORD(-1), DWORD toolTips = 2) {
    e2e::ResetRegistry();
    const struct {
        const char* name;
        DWORD value;
    } values[] = {{"InputPort", DWORD(-1)}, {"OutputPort", DWORD(-1)}, {"WindowX", 30},
                  {"WindowY", 30},          {"ToolTips", toolTips},    {"ToolTipsCountdown", 6}};
    for (const auto& value : values)
        ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, value.name, value.value));
    if (librarianInstrument != DWORD(-1)) {
        ASSERT_TRUE(
            e2e::WriteSetting(HKEY_CURRENT_USER, "LibrarianInstrument", librarianInstrument));
    }
    ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime0", 1));
}

struct Manager {
    e2e::Program program;
    HWND window = nullptr;
};

// The shipped Korg M1 definition alone, for a copy of the program whose definition position 0
// must be the M1 (the build folder lists every shipped definition) and which the Librarian may
// write its device list into.
inline e2e::ScratchFile ShippedM1Definition() {
    const std::string name = "Korg M1.QXInstrument";
    return {name, e2e::ReadFileBytes(e2e::JoinPath(e2e::BinFolder(), name)).value_or("")};
}

// Starts the program with the settings as they are (see PresetSettings) and the instrument in
// loopback unless the options say otherwise, and waits for the Manager window.
inline Manager StartManager(e2e::LaunchOptions options = {}) {
    options.freshRegistry = false;
    if (options.instrument.mode.empty())
        options.instrument.mode = "loopback";
    Manager manager;
    manager.program = e2e::Launch(options);
    if (manager.program)
        manager.window = e2e::WaitForWindowOf(manager.program, {.className = "QX_SysEx"});
    // The dialog loop shows its window once more when it first runs out of messages; a minimize
    // that came before would be undone.
    if (manager.window) {
        EXPECT_TRUE(e2e::WaitUntilIdle(manager.window));
    }
    return manager;
}

// What the Manager says when the input port is held by another program.
inline constexpr const char* kInputFailureText =
    "Couldn't open MIDI input device.\nSome other program may be using it. Close the other "
    "program and try again.";

inline bool NoBoxOpen(const e2e::Program& program) {
    return e2e::FindWindowsOf(program, {.className = "#32770"}).empty();
}

inline std::size_t EventCount(const e2e::InstrumentLog& log, const char* event) {
    return e2e::EventsNamed(log.entries, event).size();
}

inline std::size_t EventCount(const std::string& logPath, const char* event) {
    return EventCount(e2e::ReadInstrumentLog(logPath), event);
}

// Whether the instrument's log shows the port ("in" or "out") open: its last open or close was
// an open.
inline bool PortOpen(const std::string& logPath, const std::string& port) {
    bool open = false;
    for (const auto& entry : e2e::ReadInstrumentLog(logPath).entries) {
        if (entry.event == "open-" + port)
            open = true;
        else if (entry.event == "close-" + port)
            open = false;
    }
    return open;
}

inline bool BothPortsOpen(const std::string& logPath) {
    return PortOpen(logPath, "in") && PortOpen(logPath, "out");
}

inline std::vector<std::string> MessageLabels(HWND manager) {
    return e2e::ListBoxItems(e2e::Control(manager, messagesId));
}

inline std::vector<std::string> FileLabels(HWND manager) {
    return e2e::ListBoxItems(e2e::Control(manager, filesId));
}

// The position of the file list entry labelled `label`, or -1.
inline int FileEntry(HWND manager, const std::string& label) {
    const auto labels = FileLabels(manager);
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (labels[i] == label)
            return static_cast<int>(i);
    return -1;
}

inline testing::AssertionResult SelectFile(HWND manager, const std::string& label) {
    const int entry = FileEntry(manager, label);
    if (entry < 0)
        return testing::AssertionFailure() << "no file listed as \"" << label << "\"";
    return e2e::SelectListBoxItem(e2e::Control(manager, filesId), entry);
}

inline std::string Caption(HWND manager, int control) {
    return e2e::Text(e2e::Control(manager, control));
}

// Waits until the Manager's list shows exactly `labels`.
inline testing::AssertionResult
WaitForMessageLabels(HWND manager, const std::vector<std::string>& labels,
                     e2e::Milliseconds timeout = e2e::kDefaultTimeout) {
    auto result = e2e::WaitUntil([&] { return MessageLabels(manager) == labels; },
                                 "the message list shows the expected labels", timeout);
    if (!result) {
        result << "\nshown:";
        for (const std::string& label : MessageLabels(manager))
            result << " [" << label << "]";
    }
    return result;
}

inline void AppendInt(std::string& text, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        text += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string AsText(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A file of the program's own formats: kind '+' Brevikorlando, '-' Brevikorlando 1.0.
inline std::string TaggedFile(char kind, const std::string& description,
                              const std::vector<Bytes>& messages) {
    std::string file = std::string("Brevikorlando") + kind;
    std::string field(100, '\0');
    field.replace(0, description.size(), description);
    file += field;
    AppendInt(file, static_cast<std::uint32_t>(messages.size()), 2);
    for (const Bytes& message : messages)
        AppendInt(file, static_cast<std::uint32_t>(message.size()), 4);
    for (const Bytes& message : messages)
        file += AsText(message);
    return file;
}

struct TaggedContents {
    std::string tag;
    std::string description; // up to its first NUL
    std::vector<Bytes> messages;
    bool whole = false; // the layout holds together and nothing follows the last message
};

inline TaggedContents ReadTagged(const std::string& file) {
    TaggedContents contents;
    if (file.size() < 116)
        return contents;
    contents.tag = file.substr(0, 14);
    contents.description = std::string(file.c_str() + 14);
    if (contents.description.size() > 100)
        contents.description.resize(100);
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(file[at]); };
    const int count = byte(114) | byte(115) << 8;
    std::size_t at = 116 + 4 * static_cast<std::size_t>(count);
    if (at > file.size())
        return contents;
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 116 + 4 * static_cast<std::size_t>(i);
        const std::size_t length = byte(entry) | byte(entry + 1) << 8 | byte(entry + 2) << 16 |
                                   static_cast<std::size_t>(byte(entry + 3)) << 24;
        if (length > file.size() - at)
            return contents;
        contents.messages.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(at),
                                       file.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    contents.whole = at == file.size();
    return contents;
}

// A SysEx message of `length` bytes for maker `maker`: F0, the maker, a pattern of data bytes, F7.
inline Bytes Message(std::size_t length, unsigned char maker, unsigned seed = 0) {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<unsigned char>((i * 5 + seed * 11) & 0x7F);
    bytes.front() = 0xF0;
    bytes[1] = maker;
    bytes.back() = 0xF7;
    return bytes;
}

// Controls of the system's file dialogs: the file name (an edit field, or a combo box in some
// versions) and the list of file types.
inline constexpr int kFileNameEdit = 0x480;
inline constexpr int kFileNameCombo = 0x47c;
inline constexpr int kFileTypeCombo = 0x470;

inline HWND WaitForFileDialog(const e2e::Program& program, const std::string& title) {
    return e2e::WaitForWindowOf(program, {.className = "#32770", .caption = title});
}

// The file type chosen in the dialog (1-based), 0 when it cannot be read.
inline int FileTypePosition(HWND dialog) {
    return e2e::ComboBoxSelection(GetDlgItem(dialog, kFileTypeCombo)) + 1;
}

// Types `path` as the file name, picks the file type at `typePosition` (1-based; 0 keeps the
// one shown) and presses OK, as a user would.
inline testing::AssertionResult ChooseInFileDialog(HWND dialog, const std::string& path,
                                                   int typePosition = 0) {
    if (typePosition > 0) {
        const HWND types = GetDlgItem(dialog, kFileTypeCombo);
        if (!types)
            return testing::AssertionFailure() << "the file dialog has no list of file types";
        if (!e2e::Ask(types, CB_SETCURSEL, static_cast<WPARAM>(typePosition - 1), 0))
            return testing::AssertionFailure() << "the file type cannot be chosen";
        auto chosen = e2e::Delivered(e2e::Deliver(dialog, WM_COMMAND,
                                                  MAKEWPARAM(kFileTypeCombo, CBN_SELENDOK),
                                                  reinterpret_cast<LPARAM>(types)),
                                     "choosing the file type");
        if (!chosen)
            return chosen;
    }
    HWND name = GetDlgItem(dialog, kFileNameCombo);
    if (!name)
        name = GetDlgItem(dialog, kFileNameEdit);
    if (!name)
        return testing::AssertionFailure() << "the file dialog has no file name field";
    auto typed = e2e::SetText(name, path);
    if (!typed)
        return typed;
    return e2e::Press(dialog, IDOK);
}

} // namespace manager_e2e
