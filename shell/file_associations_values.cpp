#include "shell/file_associations_values.h"

namespace {

// A command line for the shell: the program in quotes, the switch, the file in quotes. Unquoted,
// a folder with a space in its name lets Windows try a shorter program name first, and a file
// name with a space reaches the program cut short.
std::string Command(std::string_view program, const char* commandSwitch) {
    std::string command = "\"";
    command.append(program);
    command += "\" ";
    command += commandSwitch;
    command += " \"%1\"";
    return command;
}

// The title loader: "Talvane95" without extension in the program folder, so Talvane95.exe.
std::string Loader(std::string_view programFolder) {
    return std::string(programFolder) + "\\Talvane95";
}

struct LibraryType {
    const char* extension;
    const char* programId;
    const char* description;
    const char* icon;
    const char* commandSwitch;
};

constexpr LibraryType libraryTypes[] = {
    {".QXInstrument", "TalvaneInstrument", "Instrument definition for Talvane", ",2", "/librarian"},
    {".QXBank", "TalvaneBank", "Program bank file for Talvane", ",3", "/bankfile"},
};

} // namespace

std::string SyxIconEntry(std::string_view programPath) {
    return std::string(programPath) + ",1";
}

std::vector<AssociationEntry> SyxAssociationEntries(std::string_view programPath,
                                                    std::string_view programFolder) {
    const std::string id = syxProgramId;
    return {
        {".syx", id},
        {id, syxDescription},
        {id + "\\DefaultIcon", SyxIconEntry(programPath)},
        {id + "\\Shell", "Send"}, // double-click sends the file
        {id + "\\Shell\\Send", "Send"},
        {id + "\\Shell\\Send\\command", Command(programPath, "/send")},
        {id + "\\Shell\\Open", "Open"},
        {id + "\\Shell\\Open\\command", Command(Loader(programFolder), "/open")},
    };
}

std::vector<AssociationEntry> LibraryTypeEntries(std::string_view programPath,
                                                 std::string_view programFolder) {
    std::vector<AssociationEntry> entries;
    for (const LibraryType& type : libraryTypes) {
        const std::string id = type.programId;
        entries.push_back({type.extension, id});
        entries.push_back({id, type.description});
        entries.push_back({id + "\\DefaultIcon", std::string(programPath) + type.icon});
        entries.push_back({id + "\\Shell", "Open"});
        entries.push_back({id + "\\Shell\\Open", "Open"});
        entries.push_back(
            {id + "\\Shell\\Open\\command", Command(Loader(programFolder), type.commandSwitch)});
    }
    return entries;
}
