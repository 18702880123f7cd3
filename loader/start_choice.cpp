#include "loader/start_choice.h"

int StartModuleFor(std::string_view commandLineTail) {
    if (commandLineTail.starts_with("/l") || commandLineTail.starts_with("/b"))
        return startLibrarian;
    return startManager;
}

bool NamesInstrumentDefinition(std::string_view commandLineTail) {
    return commandLineTail.starts_with("/l");
}

std::string DefinitionFileName(std::string_view commandLineTail) {
    std::string_view name;
    std::size_t backslash = commandLineTail.rfind('\\');
    if (backslash != std::string_view::npos) {
        name = commandLineTail.substr(backslash + 1);
    } else {
        // "/librarian Korg M1.QXInstrument" names a file of the current folder.
        std::size_t blank = commandLineTail.find(' ');
        if (blank == std::string_view::npos)
            return {};
        name = commandLineTail.substr(blank + 1);
    }
    if (name.starts_with('"'))
        name.remove_prefix(1);
    if (name.ends_with('"'))
        name.remove_suffix(1);
    if (name.find_first_of("*?\"") != std::string_view::npos)
        return {};
    return std::string(name);
}

bool IsKorgM1FileName(std::string_view fileName) {
    return fileName.size() > 6 && fileName[0] == 'K' && fileName[1] == 'o' && fileName[5] == 'M' &&
           fileName[6] == '1';
}

int MarkerIndex(int startModule, bool ctrlDown, bool editorPossible) {
    int index = startModule + (ctrlDown ? 1 : 0);
    if (index == markerEditor && !editorPossible)
        return startManager;
    return index;
}

std::string MainProgramPath(std::string_view ownFileName) {
    std::size_t backslash = ownFileName.rfind('\\');
    std::string_view folder =
        backslash == std::string_view::npos ? std::string_view{} : ownFileName.substr(0, backslash);
    return std::string(folder) + "\\Talvane95.dat";
}

std::string MainProgramCommandLine(std::string_view programPath, std::string_view commandLineTail) {
    std::string line = "\"";
    line += programPath;
    line += "\" ";
    line += commandLineTail;
    return line;
}
