// The folders include one way only: app/ on the three modules, of which only the Editor uses the
// Librarian; every module on midi/, midi/ on shell/, shell/ on none of them (resources/ headers
// are anyone's). The title loader is a program of its own and shares one header with the main
// program. Every include against that direction is listed with its file and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The folders each folder may include besides itself.
const std::map<std::string, std::set<std::string>> allowedFolders = {
    {"app", {"manager", "librarian", "editor", "midi", "shell", "resources"}},
    {"manager", {"midi", "shell", "resources"}},
    {"librarian", {"midi", "shell", "resources"}},
    {"editor", {"librarian", "midi", "shell", "resources"}},
    {"midi", {"shell", "resources"}},
    {"shell", {"resources"}},
    {"loader", {}},
};
const std::string loaderProtocol = "shell/loader_protocol.h";

bool IncludeAllowed(const std::string& folder, const std::string& included) {
    const std::size_t slash = included.find('/');
    if (slash == std::string::npos || included.compare(0, slash, folder) == 0)
        return true;
    if (folder == "loader" && included == loaderProtocol)
        return true;
    const auto rule = allowedFolders.find(folder);
    return rule != allowedFolders.end() && rule->second.count(included.substr(0, slash)) > 0;
}

// "file:line: included" for every include against the direction. A folder that is not there
// throws, so the scan cannot pass by finding nothing.
std::vector<std::string> OffendingIncludes() {
    namespace fs = std::filesystem;
    std::vector<std::string> offences;
    for (const auto& [folder, unused] : allowedFolders) {
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(TALVANE_SOURCE_DIR) / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h")
                continue;
            std::ifstream file(entry.path());
            std::string line;
            for (int number = 1; std::getline(file, line); ++number) {
                const std::size_t start = line.find_first_not_of(" \t");
                if (start == std::string::npos || line.compare(start, 10, "#include \"") != 0)
                    continue;
                const std::size_t end = line.find('"', start + 10);
                const std::string included = line.substr(start + 10, end - start - 10);
                if (!IncludeAllowed(folder, included))
                    offences.push_back(folder + "/" + entry.path().filename().string() + ":" +
                                       std::to_string(number) + ": " + included);
            }
        }
    }
    return offences;
}

TEST(LayerIncludes, EveryIncludePointsDownTheLayers) {
    std::string listed;
    for (const std::string& offence : OffendingIncludes())
        listed += offence + "\n";
    EXPECT_EQ(listed, "");
}

TEST(LayerIncludes, TheRuleRefusesUpwardAndSidewaysIncludes) {
    const struct {
        const char* folder;
        const char* included;
        bool allowed;
    } cases[] = {
        {"midi", "manager/x.h", false},        {"midi", "shell/x.h", true},
        {"shell", "midi/x.h", false},          {"shell", "app/x.h", false},
        {"shell", "resources/x.h", true},      {"manager", "librarian/x.h", false},
        {"librarian", "editor/x.h", false},    {"editor", "librarian/x.h", true},
        {"editor", "manager/x.h", false},      {"app", "editor/x.h", true},
        {"loader", "shell/settings.h", false}, {"loader", "shell/loader_protocol.h", true},
        {"unknown", "shell/x.h", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IncludeAllowed(c.folder, c.included), c.allowed) << c.folder << " " << c.included;
}

} // namespace
