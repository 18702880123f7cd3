#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the command line asks for. Only the first switch counts, and only its first letter.
enum class CommandSwitch {
    none,      // a plain start: the Manager opens (also for "/open" and unknown switches)
    send,      // "/send file": send the file to the instrument without any window
    librarian, // "/librarian file": start in the Librarian with that instrument definition
    bankfile,  // "/bankfile file": start in the Librarian with that bank file
};

struct CommandLineRequest {
    CommandSwitch command = CommandSwitch::none;
    std::string argument; // empty when the switch has nothing behind it
};

// Reads the program's arguments (the command line without the program's own name).
CommandLineRequest ReadCommandLine(std::string_view line);

// The text behind the last backslash of the command line (all of it when there is none): the
// file name an instrument definition is recognised by.
std::string_view TextAfterLastBackslash(std::string_view line);

// A definition of the Korg M1 (or the rack M1R) is recognised by its instrument name: K and o
// at positions 0 and 1, M and 1 at positions 5 and 6, as in "Korg M1".
bool IsKorgM1Name(std::string_view instrumentName);

// Equality of two file names without regard to case (ASCII letters, as the file system does).
bool SameFileName(std::string_view a, std::string_view b);

// One entry of a folder listing: its long name and its short (8.3) name, which is empty on a
// file system that keeps none.
struct ListedFile {
    std::string longName;
    std::string shortName;
};

// Position of the first listed definition that name designates, without regard to case: by its
// short name, or by its long name (file systems without short names, and shells that pass long
// names). -1 when none does.
std::int32_t FindDefinitionByShortName(const std::vector<ListedFile>& listing,
                                       std::string_view name);

// Position of the listed file whose long name equals name without regard to case; -1 if none.
std::int32_t FindFileByLongName(const std::vector<ListedFile>& listing, std::string_view name);

// The definition that fits a bank: the first whose program size equals the bank's, except that
// a later fitting one at the position of the current choice wins. programSizes[i] is the size of
// definition i, empty when it could not be loaded (it then fits nothing). -1 when none fits.
std::int32_t ChooseDefinitionForBank(const std::vector<std::optional<std::int32_t>>& programSizes,
                                     std::int32_t bankProgramSize,
                                     std::int32_t librarianInstrument);
