#include "editor/program_box.h"

#include "librarian/transfer_logic.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t typedTextLimit = 99;

// Closes the gap at `from - 1`: the characters from `from` to the second-last move one place
// left; the last stays where it is, so the length does not change.
void ShiftLeftFrom(std::string& text, std::size_t from) {
    for (std::size_t i = from; i + 1 < text.size(); ++i)
        text[i - 1] = text[i];
}

// Puts `wanted` at `position` when something else stands there; the character typed in front of
// it is taken to have pushed the rest right, so the rest moves back.
bool Restore(std::string& text, std::size_t position, char wanted) {
    if (text[position] == wanted)
        return false;
    text[position] = wanted;
    ShiftLeftFrom(text, position + 2);
    return true;
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

ProgramBoxCorrection CorrectProgramBoxText(std::string_view typed, int caret, int program) {
    ProgramBoxCorrection result;
    std::string text(typed.substr(0, typedTextLimit));
    // A text shorter than the number and its space ends after them; the restoring fills it.
    if (text.size() < 3)
        text.resize(3, '\0');
    const int number = std::clamp(program, 0, programListLimit - 1);
    result.corrections += Restore(text, 0, static_cast<char>('0' + number / 10));
    result.corrections += Restore(text, 1, static_cast<char>('0' + number % 10));
    result.corrections += Restore(text, 2, ' ');
    const std::size_t length = programBoxTextLength;
    if (text.size() > length) {
        text.resize(length);
        ++result.corrections;
        result.cut = true;
    } else if (text.size() < length) {
        text.resize(length, ' ');
        result.padded = true;
    }
    result.text = text;
    // The caret stays behind what the user typed: each restored character took one typed
    // character's place, and cutting the end moved nothing in front of the caret.
    const int moved = result.corrections - (result.cut ? 1 : 0);
    result.caret = std::clamp(caret - moved, 0, programBoxTextLength);
    return result;
}

void CopyNameFromBoxText(std::string_view boxText, char (&name)[programNameLength]) {
    for (int i = 0; i < programNameLength; ++i) {
        const std::size_t at = static_cast<std::size_t>(3 + i);
        name[i] = at < boxText.size() ? boxText[at] : ' ';
    }
}
