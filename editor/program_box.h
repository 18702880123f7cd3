#pragma once
#include "editor/m1_program.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The editor's program box: a list of "NN name" entries, one per program of the instrument, and
// an edit field that shows the program being edited the same way and lets the user rename it.

// Characters the box keeps: two digits, a space and the ten name characters.
inline constexpr int programBoxTextLength = 3 + programNameLength;
// The editor numbers programs with two digits, so its list holds at most this many.
inline constexpr int programListLimit = 100;

// A name byte below 0x20 (factory programs hold zero bytes in their names) shows as a space, as
// it does in the Librarian; the program keeps its bytes.
char ShownNameCharacter(std::uint8_t byte);

// "NN name" for a program number and its name bytes.
std::string ProgramBoxText(int program, std::span<const char> name);

// The list entry for a dump of program `program`: its name is the dump bytes that `nameOffsets`
// (decimal positions into `data`, each closed by a non-digit) points at. Positions beyond the
// data are skipped, and at most 29 characters are taken.
std::string ProgramListEntry(int program, std::span<const std::uint8_t> data,
                             std::string_view nameOffsets);

// What one change by the user to the edit field comes to: the number and the space in front of
// the name stay as they were, whatever the change did to them; what it did to the name stays,
// and the name is held at ten characters.
struct ProgramBoxCorrection {
    std::string text; // always programBoxTextLength characters
    int caret = 0;    // where the caret goes in the corrected text
};

// `shown` is what the field showed before the change ("NN name"), `typed` its text after it, with
// the caret at `caret`.
ProgramBoxCorrection CorrectProgramBoxText(std::string_view shown, std::string_view typed,
                                           int caret);

// The ten name characters of a corrected text.
void CopyNameFromBoxText(std::string_view boxText, char (&name)[programNameLength]);
