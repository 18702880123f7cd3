#include "editor/program_box.h"

#include "librarian/transfer_logic.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t typedTextLimit = 99;
constexpr std::size_t numberLength = 3; // two digits and a space

// Where one change turned `before` into `after`: before[from, removedEnd) gave way to
// after[from, insertedEnd). The change ends at the caret, which tells where in a run of equal
// characters one was typed or deleted.
struct Change {
    std::size_t from;
    std::size_t removedEnd;
    std::size_t insertedEnd;
};

Change FindChange(std::string_view before, std::string_view after, std::size_t caret) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t suffix = 0;
    while (suffix < std::min(shorter, after.size() - caret) &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    std::size_t prefix = 0;
    while (prefix < shorter - suffix && before[prefix] == after[prefix])
        ++prefix;
    return {prefix, before.size() - suffix, after.size() - suffix};
}

} // namespace

char ShownNameCharacter(std::uint8_t byte) {
    return byte < 0x20 ? ' ' : static_cast<char>(byte);
}

std::string ProgramBoxText(int program, std::span<const char> name) {
    char number[16];
    std::snprintf(number, sizeof number, "%02i ", program);
    std::string text = number;
    for (char c : name)
        text += ShownNameCharacter(static_cast<std::uint8_t>(c));
    return text;
}

std::string ProgramListEntry(int program, std::span<const std::uint8_t> data,
                             std::string_view nameOffsets) {
    // The Librarian's name grabbing, so that a program reads the same in both windows.
    char name[programNameSize];
    ExtractProgramName(nameOffsets, data.data(), data.size(), name);
    char number[16];
    std::snprintf(number, sizeof number, "%02i ", program);
    return number + std::string(name);
}

ProgramBoxCorrection CorrectProgramBoxText(std::string_view shown, std::string_view typed,
                                           int caret) {
    std::string before(shown);
    if (before.size() < numberLength)
        before.resize(numberLength, ' ');
    typed = typed.substr(0, typedTextLimit);
    const std::size_t at =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(caret, 0)), 0, typed.size());
    const Change change = FindChange(before, typed, at);
    std::string name = before.substr(numberLength);
    ProgramBoxCorrection result;
    if (change.removedEnd <= numberLength && change.from < numberLength) {
        // Only the number or the space was changed: they are put back, and what was typed among
        // them is dropped.
        result.caret = static_cast<int>(change.from);
    } else {
        const std::size_t first = std::max(change.from, numberLength) - numberLength;
        const std::string_view inserted =
            typed.substr(change.from, change.insertedEnd - change.from);
        name.replace(first, change.removedEnd - numberLength - first, inserted);
        result.caret = static_cast<int>(
            std::min<std::size_t>(numberLength + first + inserted.size(), programBoxTextLength));
    }
    name.resize(programNameLength, ' ');
    result.text = before.substr(0, numberLength) + name;
    return result;
}

void CopyNameFromBoxText(std::string_view boxText, char (&name)[programNameLength]) {
    for (int i = 0; i < programNameLength; ++i) {
        const std::size_t at = static_cast<std::size_t>(3 + i);
        name[i] = at < boxText.size() ? boxText[at] : ' ';
    }
}
