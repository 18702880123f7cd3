#pragma once
// What the program writes into the shell's file-type registry, and in which order it takes it
// out again, independent of the registry itself.

#include <string>
#include <string_view>
#include <vector>

// One key under the file-type root and the text of its unnamed (default) value.
struct AssociationEntry {
    std::string key;
    std::string defaultValue;
};

// The program identifier that .syx names when the program owns it, and its description.
inline constexpr const char* syxProgramId = "Talvane";
inline constexpr const char* syxDescription = "MIDI System Exclusive data";
// The value under the program identifier that keeps the previous owner of .syx.
inline constexpr const char* previousSyxOwnerValue = "OldSYXApp";
// The class string every key the program creates carries.
inline constexpr const char* associationKeyClass = "Talvane";

// The DefaultIcon text of .syx files: the program path, a comma, the icon's position among the
// icon groups of the program file (1, the .syx icon). The start-up check compares it.
std::string SyxIconEntry(std::string_view programPath);

// The .syx association in writing order (".syx" first). The program path and the folder come
// from the running program; the commands quote both the program and the file argument.
std::vector<AssociationEntry> SyxAssociationEntries(std::string_view programPath,
                                                    std::string_view programFolder);
// The instrument definition and bank file types, in writing order.
std::vector<AssociationEntry> LibraryTypeEntries(std::string_view programPath,
                                                 std::string_view programFolder);

// The program identifier keys, the program's own: the uninstall deletes each with everything
// under it.
inline constexpr const char* programIdentifiers[] = {"Talvane", "TalvaneInstrument", "TalvaneBank"};
