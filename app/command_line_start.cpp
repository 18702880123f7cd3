#include "app/module_classes.h"
#include "app/startup.h"
#include "librarian/bank_file.h"
#include "librarian/definition_dialog.h"
#include "librarian/instrument_definition.h"
#include "shell/message_box.h"
#include "shell/module_keys.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <optional>
#include <string>
#include <vector>

namespace {

const char commandLineErrorCaption[] = "Command line error";
const char definitionNotFoundText[] = "Specified instrument file was not found.";
const char bankNotFoundText[] = "Specified bank file was not found; you must keep these files in "
                                "the same folder as Talvane95.exe.";
const char noMatchingDefinitionText[] =
    "Can't find an instrument that matches specified bank file. Be sure you have an instrument "
    "definition for the instrument used to create the bank file.";
// What a bank counts as made for until its header has been read: no definition has it.
constexpr std::int32_t unreadBankProgramSize = 9999999;

StartChoice Start(int module) {
    return {StartOutcome::runModules, module};
}

// The error ends the program at once; the title picture must not hide its box.
StartChoice CommandLineError(const char* text) {
    ShowMessageBox(nullptr, text, commandLineErrorCaption, MB_OK | MB_ICONEXCLAMATION);
    return {StartOutcome::endAtOnce, moduleQuit};
}

// The instrument definition dialog without owner, confirming itself when it can; the Manager
// opens when the user cancels it (or it cannot be shown), the Librarian otherwise.
int StartThroughDefinitionDialog() {
    return ChooseInstrument(nullptr, true) ? moduleLibrarian : moduleManager;
}

// Without a switch the Manager opens; with CTRL held and a definition chosen before, the way
// goes through the instrument definition dialog into the Librarian.
StartChoice PlainStart() {
    if (ControlKeyHeld() && settings.LibrarianInstrument != -1)
        return Start(StartThroughDefinitionDialog());
    return Start(moduleManager);
}

std::string FolderPart(const std::string& path) {
    std::size_t backslash = path.rfind('\\');
    return backslash == std::string::npos ? std::string() : path.substr(0, backslash + 1);
}

// The long name (without folder) of the file a command-line argument names; empty when there is
// no such file. Wildcards name no file.
std::string LongNameOf(const std::string& path) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos)
        return std::string();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::string();
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::string();
    return found.cFileName;
}

// The files of the program folder with this extension, in directory order, as the Librarian
// lists them (folders are left out), each with its short name.
std::vector<ListedFile> ListProgramFolder(const char* extension) {
    std::vector<ListedFile> listing;
    std::string pattern = std::string(shell.programFolder) + "\\*" + extension;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return listing;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            listing.push_back({found.cFileName, found.cAlternateFileName});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return listing;
}

std::string InProgramFolder(const std::string& name) {
    return std::string(shell.programFolder) + "\\" + name;
}

// A definition file loads over a clean record, so that a short file takes nothing from the one
// loaded before it.
std::optional<std::int32_t> LoadDefinitionProgramSize(const std::string& path) {
    instrument.definition = InstrumentDefinition{};
    if (!LoadInstrumentDefinition(path))
        return std::nullopt;
    return instrument.definition.programSize;
}

// "/librarian file": the Librarian opens with that definition; with CTRL held, the Program
// Editor when it is a Korg M1 definition, otherwise the Manager.
StartChoice StartWithDefinition(const std::string& argument) {
    std::string longName = LongNameOf(argument);
    // The file found, in its own folder: the current folder need not be that folder.
    if (longName.empty() || !LoadInstrumentDefinition(FolderPart(argument) + longName))
        return CommandLineError(definitionNotFoundText);
    settings.LibrarianInstrument = FindDefinitionByShortName(ListProgramFolder(definitionExtension),
                                                             TextAfterLastBackslash(argument));
    if (!ControlKeyHeld())
        return Start(moduleLibrarian);
    return Start(IsKorgM1Name(instrument.name) ? moduleEditor : moduleManager);
}

// The bank's position in the Librarian's bank list, which holds only the banks made for the same
// program size, in directory order.
std::int32_t PositionAmongFittingBanks(const std::vector<ListedFile>& banks, std::int32_t bankIndex,
                                       std::int32_t programSize) {
    std::int32_t position = 0;
    for (std::int32_t i = 0; i < bankIndex; ++i) {
        std::int32_t size = 0;
        if (ReadBankProgramSize(InProgramFolder(banks[static_cast<std::size_t>(i)].longName),
                                size) &&
            size == programSize)
            ++position;
    }
    return position;
}

// "/bankfile file": the Librarian opens with that bank and a definition made for its programs.
StartChoice StartWithBank(const std::string& argument) {
    std::string longName = LongNameOf(argument);
    std::int32_t programSize = unreadBankProgramSize;
    if (!longName.empty() && !ReadBankProgramSize(FolderPart(argument) + longName, programSize))
        programSize = unreadBankProgramSize;

    std::vector<ListedFile> banks = ListProgramFolder(bankExtension);
    std::int32_t bankIndex = longName.empty() ? -1 : FindFileByLongName(banks, longName);
    if (bankIndex < 0)
        return CommandLineError(bankNotFoundText);
    bank.rememberedPosition = PositionAmongFittingBanks(banks, bankIndex, programSize);

    std::vector<ListedFile> definitions = ListProgramFolder(definitionExtension);
    std::vector<std::optional<std::int32_t>> programSizes;
    for (const ListedFile& definition : definitions)
        programSizes.push_back(LoadDefinitionProgramSize(InProgramFolder(definition.longName)));
    std::int32_t chosen =
        ChooseDefinitionForBank(programSizes, programSize, settings.LibrarianInstrument);
    if (chosen < 0)
        return CommandLineError(noMatchingDefinitionText);
    // The chosen definition is the current one, not merely the last one loaded.
    LoadDefinitionProgramSize(
        InProgramFolder(definitions[static_cast<std::size_t>(chosen)].longName));
    settings.LibrarianInstrument = chosen;
    return Start(StartThroughDefinitionDialog());
}

} // namespace

StartChoice StartFromCommandLine(const CommandLineRequest& request) {
    switch (request.command) {
    case CommandSwitch::send:
        SendFileFromCommandLine(request.argument.c_str());
        return {StartOutcome::exitSteps, moduleQuit};
    case CommandSwitch::librarian:
        return StartWithDefinition(request.argument);
    case CommandSwitch::bankfile:
        return StartWithBank(request.argument);
    case CommandSwitch::none:
        break;
    }
    return PlainStart();
}
