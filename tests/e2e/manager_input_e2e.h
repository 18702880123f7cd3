#pragma once
// Shared pieces of the tests of the Manager's input under load: bursts of numbered short
// messages sent through the loopback, and checks that the list, the store files and what Save As
// writes hold the same messages in the order they came.
#include "manager_e2e.h"

#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace manager_input_e2e {

using manager_e2e::Bytes;
using manager_e2e::EventCount;

inline constexpr std::size_t kShortLength = 8;

// Message `number` of a burst: eight bytes for Roland, the number in two data bytes.
inline Bytes NumberedMessage(int number) {
    return {0xF0,
            0x41,
            static_cast<unsigned char>((number >> 7) & 0x7F),
            static_cast<unsigned char>(number & 0x7F),
            0x10,
            0x20,
            0x30,
            0xF7};
}

// A standard .syx file of `count` numbered messages back to back: sent, it goes out whole and
// the loopback returns it message by message.
inline std::string NumberedFile(int count) {
    std::string file;
    for (int number = 0; number < count; ++number)
        file += manager_e2e::AsText(NumberedMessage(number));
    return file;
}

// What a run of numbered messages looks like in a standard file: the numbers in order, or
// nothing when the bytes are not whole numbered messages.
inline std::optional<std::vector<int>> NumbersIn(const std::string& bytes) {
    if (bytes.size() % kShortLength != 0)
        return std::nullopt;
    std::vector<int> numbers;
    for (std::size_t at = 0; at < bytes.size(); at += kShortLength) {
        const Bytes message(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at + kShortLength));
        const int number = message[2] << 7 | message[3];
        if (message != NumberedMessage(number))
            return std::nullopt;
        numbers.push_back(number);
    }
    return numbers;
}

// Whether `numbers` run without a gap from `first` to `last`.
inline bool RunsFromTo(const std::vector<int>& numbers, int first, int last) {
    if (numbers.size() != static_cast<std::size_t>(last - first + 1))
        return false;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] != first + static_cast<int>(i))
            return false;
    return true;
}

// The number of labels in the Manager's list, asked with one message (reading 3,000 labels
// while they arrive would take the program's time).
inline int LabelCount(HWND manager) {
    const auto count = e2e::Ask(e2e::Control(manager, manager_e2e::messagesId), LB_GETCOUNT, 0, 0);
    return count ? static_cast<int>(*count) : -1;
}

// Polls rarely, so that the waiting takes as little as possible of the machine from the program
// being measured.
inline testing::AssertionResult WaitQuietly(const std::function<bool()>& condition,
                                            const std::string& what, e2e::Milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return testing::AssertionFailure()
                   << "waited " << e2e::Count(timeout) << " ms for " << what;
        std::this_thread::sleep_for(e2e::Milliseconds(250));
    }
    return testing::AssertionSuccess();
}

// The instrument's notes of input that found no buffer queued (or a port not started).
inline std::vector<std::string> LostInputNotes(const e2e::InstrumentLog& log) {
    std::vector<std::string> lost;
    for (const auto& note : e2e::EventsNamed(log.entries, "note"))
        if (note.text.starts_with("input lost"))
            lost.push_back(note.text);
    return lost;
}

// The store's scratch files: the bytes, and the lengths as numbers.
struct StoreFiles {
    std::string data;
    std::vector<std::int32_t> lengths;
    bool whole = false; // the length file holds whole entries that add up to the data
};

inline StoreFiles ReadStoreFiles() {
    StoreFiles files;
    files.data = e2e::ReadFileBytes(e2e::TemporaryFolder() + "~temp.syx").value_or("");
    const std::string lengths =
        e2e::ReadFileBytes(e2e::TemporaryFolder() + "~temp.lst").value_or("");
    std::int64_t sum = 0;
    for (std::size_t at = 0; at + 4 <= lengths.size(); at += 4) {
        const auto byte = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(lengths[at + i]));
        };
        files.lengths.push_back(
            static_cast<std::int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24));
        sum += files.lengths.back();
    }
    files.whole = lengths.size() % 4 == 0 && sum == static_cast<std::int64_t>(files.data.size());
    return files;
}

// Save As in the standard format (the second file type) into the work folder; the saved bytes.
inline std::optional<std::string> SaveStandardFile(const manager_e2e::Manager& manager,
                                                   const std::string& name) {
    if (!e2e::Press(manager.window, manager_e2e::saveAsId))
        return std::nullopt;
    const HWND dialog = manager_e2e::WaitForFileDialog(manager.program, "Save As");
    const std::string path = e2e::JoinPath(manager.program.workFolder, name);
    // The file is written after the dialog has gone: it is read once the window is idle again.
    if (!dialog || !manager_e2e::ChooseInFileDialog(dialog, path, 2) ||
        !e2e::WaitUntilGone(dialog) || !e2e::WaitUntilIdle(manager.window))
        return std::nullopt;
    return e2e::ReadFileBytes(path);
}

} // namespace manager_input_e2e
