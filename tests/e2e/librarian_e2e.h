#pragma once
// Shared pieces of the Librarian's end-to-end tests: definition and bank files, the virtual
// M1's program names as the Librarian shows them, and starting the Librarian.
#include "harness/e2e.h"
#include "manager_e2e.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace librarian_e2e {

enum LibrarianControl {
    clearNamesId = 100,
    deleteId = 109,
    bankProgramsId = 3000,
    managerId = 3001,
    deviceListId = 3002,
    saveId = 3003,
    updateId = 3004,
    bankComboId = 3005,
    editorId = 3007,
    copyId = 3015,
};

enum DefinitionControl {
    autoUpdateId = 3000,
    notesId = 3001,
    channelId = 3002,
    modelId = 3003,
    sizeId = 3004,
    requestId = 3005,
    sendId = 3006,
    rangeEndId = 3007,
    rangeStartId = 3008,
    offsetId = 3009,
    grabbingId = 3010,
    offsetsId = 3012,
};

inline constexpr const char* kOptionsCaption = "Librarian options";
inline constexpr int kProgramSize = 170;

// The fields of a definition file; the defaults are the shipped Korg M1 definition with the
// numbers shown from 1.
struct Definition {
    std::int32_t channel = 1;
    std::int32_t rangeStart = 0;
    std::int32_t rangeEnd = 99;
    std::int32_t numberOffset = 1;
    std::int32_t programSize = kProgramSize;
    std::int32_t nameGrabbing = 1;
    std::int32_t autoUpdate = 0;
    std::int32_t midiInPort = 0; // the mapper: the only device here
    std::int32_t midiOutPort = 0;
    std::string request = "C! # F0 42 3! 19 10 F7 ;170,0";
    std::string send = "C! # % F0 42 3! 19 11 00 # F7";
    std::string offsets = "6 7 8 9 10 11 12 14 15 16 ";
    std::string notes = "";
};

inline std::string DefinitionFile(const Definition& d) {
    std::string bytes(2048, '\0');
    const std::int32_t numbers[] = {d.channel,      d.rangeStart,  d.rangeEnd,
                                    d.numberOffset, d.programSize, d.nameGrabbing,
                                    d.autoUpdate,   d.midiInPort,  d.midiOutPort};
    std::memcpy(bytes.data(), numbers, sizeof numbers);
    bytes.replace(36, d.request.size(), d.request);
    bytes.replace(486, d.send.size(), d.send);
    bytes.replace(936, d.offsets.size(), d.offsets);
    bytes.replace(1036, d.notes.size(), d.notes);
    return bytes;
}

// A file's bytes; empty when it cannot be read.
inline std::string FileText(const std::string& path) {
    return e2e::ReadFileBytes(path).value_or(std::string());
}

inline std::int32_t FieldOf(const std::string& file, std::size_t offset) {
    std::int32_t value = 0;
    if (file.size() >= offset + 4)
        std::memcpy(&value, file.data() + offset, 4);
    return value;
}

// An M1 program dump (F0 42 30 19 40, 164 bytes of 7-bit packed program data, F7) of a program
// with that name (ten characters, blank-padded) and parameters made from the seed.
inline std::string M1Dump(const std::string& name, std::size_t seed) {
    std::string dump(kProgramSize, '\0');
    const unsigned char header[] = {0xF0, 0x42, 0x30, 0x19, 0x40};
    std::memcpy(dump.data(), header, sizeof header);
    for (std::size_t i = 5; i + 1 < dump.size(); ++i)
        dump[i] = (i - 5) % 8 == 0 ? '\0' : static_cast<char>((i * 3 + seed * 7) % 100);
    dump.back() = '\xF7';
    std::string padded = name;
    padded.resize(10, ' ');
    const std::size_t nameBytes[10] = {6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
    for (std::size_t i = 0; i < 10; ++i)
        dump[nameBytes[i]] = padded[i];
    return dump;
}

// A bank file for programs of `programSize` bytes holding the named programs in slots 0, 1, ...
// (M1 dumps when the size is an M1 program's).
inline std::string BankFile(const std::vector<std::string>& names = {},
                            std::int32_t programSize = kProgramSize) {
    std::string bytes(4 + 32000, '\0');
    std::memcpy(bytes.data(), &programSize, 4);
    for (std::size_t slot = 0; slot < names.size(); ++slot) {
        bytes[4 + slot] = 1;
        std::string record(30 + static_cast<std::size_t>(programSize), '\0');
        record.replace(0, names[slot].size(), names[slot]);
        if (programSize == kProgramSize)
            record.replace(30, kProgramSize, M1Dump(names[slot], slot));
        bytes += record;
    }
    return bytes;
}

// The names of the used slots of a bank file, in slot order.
inline std::vector<std::string> BankNames(const std::string& path) {
    const std::string file = FileText(path);
    std::vector<std::string> names;
    if (file.size() < 32004)
        return names;
    const std::int32_t size = FieldOf(file, 0);
    for (std::size_t slot = 0; slot < 32000; ++slot) {
        const std::size_t at = 32004 + slot * (30 + static_cast<std::size_t>(size));
        if (file[4 + slot] != 0 && at + 30 <= file.size())
            names.emplace_back(file.c_str() + at);
    }
    return names;
}

// The virtual M1's factory program names as the Librarian grabs them: ten characters, the zero
// bytes of the few programs named like real factory ones shown as blanks.
inline std::string InstrumentName(int program) {
    switch (program) {
    case 6:
        return "Piano 16' ";
    case 47:
        return "Organ 8'  ";
    case 93:
        return "Bell Tree ";
    }
    static const char* const adjectives[10] = {"Warm", "Dark", "Soft", "Deep", "Airy",
                                               "Cold", "Fat",  "Thin", "Wide", "Dry"};
    static const char* const sounds[10] = {"Pad",   "Bell",  "Bass",  "Lead",  "Choir",
                                           "Brass", "Piano", "Organ", "Pluck", "Keys"};
    const int sound = program % 10;
    std::string name =
        std::string(adjectives[(program / 10 + 3 * sound) % 10]) + " " + sounds[sound];
    name.resize(10, ' ');
    return name;
}

// A device list line: the number zero-padded to three digits, a space and the name.
inline std::string Line(int displayed, const std::string& name) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d ", displayed);
    return number + name;
}

inline std::vector<std::string> InstrumentLines() {
    std::vector<std::string> lines;
    for (int program = 0; program < 100; ++program)
        lines.push_back(Line(program + 1, InstrumentName(program)));
    return lines;
}

inline std::vector<std::string> UnknownLines() {
    std::vector<std::string> lines;
    for (int program = 0; program < 100; ++program)
        lines.push_back(Line(program + 1, "<Unknown>"));
    return lines;
}

inline std::string ProgramFolder() {
    return e2e::JoinPath(e2e::ScratchFolder(), "program");
}

// A user who has been in every module before, with the virtual instrument as the ports.
inline void PresetSettings(DWORD librarianInstrument = DWORD(-1)) {
    manager_e2e::PresetSettings(librarianInstrument);
    ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime1", 1));
    ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime2", 1));
}

struct Librarian {
    e2e::Program program;
    HWND window = nullptr;
};

// Starts the program straight into the Librarian with "Korg M1.QXInstrument" of the program
// files (see Definition) and waits for its window. The instrument is the M1 unless the options
// say otherwise.
inline Librarian StartLibrarian(e2e::LaunchOptions options) {
    options.freshRegistry = false;
    options.arguments = "/librarian " + e2e::JoinPath(ProgramFolder(), "Korg M1.QXInstrument");
    if (options.instrument.mode.empty())
        options.instrument.mode = "m1";
    Librarian librarian;
    librarian.program = e2e::Launch(options);
    if (librarian.program)
        librarian.window = e2e::WaitForWindowOf(librarian.program, {.className = "QX_SysX2"});
    return librarian;
}

// With no bank of its definition's program size, the Librarian asks for a new bank file as it
// opens; Cancel leaves it open without one. Its window once the question is answered.
inline HWND LibrarianAfterCancellingNewBank(const e2e::Program& program) {
    HWND create = e2e::WaitForWindowOf(
        program, {.className = "#32770", .caption = std::string("Create new bank file...")});
    if (!create || e2e::Deliver(create, WM_COMMAND, IDCANCEL, 0) == e2e::Delivery::Failed)
        return nullptr;
    return e2e::WaitForWindowOf(program, {.className = "QX_SysX2"});
}

inline std::vector<std::string> DeviceLines(HWND librarian) {
    return e2e::ListBoxItems(e2e::Control(librarian, deviceListId));
}

inline std::vector<std::string> BankPrograms(HWND librarian) {
    return e2e::ListBoxItems(e2e::Control(librarian, bankProgramsId));
}

// Waits until the instrument has sent `count` replies and the program has taken them. Lists are
// read only then: a list read while a transfer replaces its lines can catch one half replaced.
inline testing::AssertionResult WaitForReplies(const e2e::Program& program, HWND librarian,
                                               std::size_t count) {
    auto sent = e2e::WaitForLog(
        program.instrumentLog,
        [count](const auto& entries) { return e2e::EventsNamed(entries, "send").size() >= count; },
        "the instrument's replies", e2e::Milliseconds(30000));
    if (!sent)
        return sent;
    return e2e::WaitUntilIdle(librarian);
}

inline testing::AssertionResult WaitForReplies(const Librarian& librarian, std::size_t count) {
    return WaitForReplies(librarian.program, librarian.window, count);
}

// The device list once `replies` replies have been handled.
inline testing::AssertionResult DeviceLinesAfter(const e2e::Program& program, HWND librarian,
                                                 std::size_t replies,
                                                 const std::vector<std::string>& lines) {
    auto handled = WaitForReplies(program, librarian, replies);
    if (!handled)
        return handled;
    const std::vector<std::string> shown = DeviceLines(librarian);
    if (shown == lines)
        return testing::AssertionSuccess();
    auto failure = testing::AssertionFailure() << "the device list shows:";
    for (const std::string& line : shown)
        failure << "\n[" << line << "]";
    return failure;
}

inline testing::AssertionResult DeviceLinesAfter(const Librarian& librarian, std::size_t replies,
                                                 const std::vector<std::string>& lines) {
    return DeviceLinesAfter(librarian.program, librarian.window, replies, lines);
}

inline int IndexOf(const std::vector<std::string>& items, const std::string& item) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == item)
            return static_cast<int>(i);
    return -1;
}

} // namespace librarian_e2e
