#include "shell/command_line.h"

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// A name typed or passed between double quotes means the same file: quotes cannot be part of a
// file name.
std::string_view WithoutEnclosingQuotes(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

} // namespace

CommandLineRequest ReadCommandLine(std::string_view line) {
    CommandLineRequest request;
    std::size_t slash = line.find('/');
    if (slash == std::string_view::npos || slash + 1 >= line.size())
        return request;
    switch (line[slash + 1]) {
    case 's':
        request.command = CommandSwitch::send;
        break;
    case 'l':
        request.command = CommandSwitch::librarian;
        break;
    case 'b':
        request.command = CommandSwitch::bankfile;
        break;
    default:
        return request;
    }
    std::size_t space = line.find(' ', slash);
    if (space != std::string_view::npos)
        request.argument = std::string(WithoutEnclosingQuotes(line.substr(space + 1)));
    return request;
}

std::string_view TextAfterLastBackslash(std::string_view line) {
    std::size_t backslash = line.rfind('\\');
    return backslash == std::string_view::npos ? line : line.substr(backslash + 1);
}

bool IsKorgM1Name(std::string_view name) {
    return name.size() >= 7 && name[0] == 'K' && name[1] == 'o' && name[5] == 'M' && name[6] == '1';
}

bool SameFileName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::int32_t FindDefinitionByShortName(const std::vector<ListedFile>& listing,
                                       std::string_view name) {
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const ListedFile& file = listing[i];
        if ((!file.shortName.empty() && SameFileName(file.shortName, name)) ||
            SameFileName(file.longName, name))
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t FindFileByLongName(const std::vector<ListedFile>& listing, std::string_view name) {
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (SameFileName(listing[i].longName, name))
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t ChooseDefinitionForBank(const std::vector<std::optional<std::int32_t>>& programSizes,
                                     std::int32_t bankProgramSize,
                                     std::int32_t librarianInstrument) {
    std::int32_t chosen = -1;
    for (std::size_t i = 0; i < programSizes.size(); ++i) {
        if (!programSizes[i] || *programSizes[i] != bankProgramSize)
            continue;
        auto position = static_cast<std::int32_t>(i);
        if (chosen == -1 || position == librarianInstrument)
            chosen = position;
    }
    return chosen;
}
