// The help manual as the viewer finds it: tools/build-help-chm compiles docs/help, and the .chm
// is read back with a CHM reader (extract_chmLib, Debian package libchm-bin). Each Help button's
// context number must lead to a page of the file, each page must be stored once under its own
// name, and every link and picture of the pages must exist.
#include <gtest/gtest.h>

#include "shell/help.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path sourceDir = fs::path(TALVANE_SOURCE_DIR) / "docs/help";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::uint32_t Dword(const std::string& data, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(data.at(at + i));
    return value;
}

// Every match of the first group of `pattern` in `text`.
std::vector<std::string> Matches(const std::string& text, const char* pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern, std::regex::icase);
    for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it)
        found.push_back((*it)[1]);
    return found;
}

struct HelpFile {
    fs::path scratch;
    fs::path extracted;
};

// Compiling the manual is the slow part: one build serves every check.
const HelpFile& Built() {
    static const HelpFile help = [] {
        const fs::path scratch = fs::path(TALVANE_TEST_SCRATCH) / "help_chm";
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        const fs::path chm = scratch / "Talvane95.chm";
        const std::string build = std::string(TALVANE_SOURCE_DIR) + "/tools/build-help-chm " +
                                  sourceDir.string() + " " + (scratch / "stage").string() + " " +
                                  chm.string();
        EXPECT_EQ(std::system(build.c_str()), 0) << build;
        const std::string extract = "extract_chmLib " + chm.string() + " " +
                                    (scratch / "extracted").string() + " >/dev/null";
        EXPECT_EQ(std::system(extract.c_str()), 0) << extract;
        return HelpFile{scratch, scratch / "extracted"};
    }();
    return help;
}

// The page a context number leads to, as a path inside the .chm; empty when it leads nowhere.
// #IVB holds a size, then pairs of context number and #STRINGS offset.
std::string PageOf(const HelpFile& help, std::uint32_t context) {
    const std::string contexts = ReadAll(help.extracted / "#IVB");
    const std::string strings = ReadAll(help.extracted / "#STRINGS");
    if (contexts.size() < 4)
        return {};
    const std::uint32_t size = Dword(contexts, 0);
    for (std::size_t at = 4; at + 8 <= contexts.size() && at < 4 + size; at += 8) {
        if (Dword(contexts, at) != context)
            continue;
        const std::uint32_t offset = Dword(contexts, at + 4);
        return offset < strings.size() ? std::string(strings.c_str() + offset) : std::string();
    }
    return {};
}

// The [FILES] section of the project: what the .chm must hold.
std::set<std::string> ProjectFiles() {
    std::set<std::string> files;
    std::istringstream project(ReadAll(sourceDir / "Talvane95.hhp"));
    bool inFiles = false;
    for (std::string line; std::getline(project, line);) {
        if (!line.empty() && line[0] == '[')
            inFiles = line == "[FILES]";
        else if (inFiles && !line.empty())
            files.insert(line);
    }
    return files;
}

TEST(HelpManual, EveryFileIsStoredOnceUnderItsOwnNameAndNoBuildPathIsInside) {
    const HelpFile& help = Built();
    std::set<std::string> stored;
    for (const auto& entry : fs::recursive_directory_iterator(help.extracted)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = fs::relative(entry.path(), help.extracted).generic_string();
        // The compiler's own records: system files, search and keyword index, a signature.
        if (name[0] == '#' || name[0] == '$' || name == "_#_README_#_") {
            EXPECT_EQ(ReadAll(entry.path()).find(help.scratch.string()), std::string::npos) << name;
            continue;
        }
        stored.insert(name);
        EXPECT_EQ(ReadAll(entry.path()), ReadAll(sourceDir / name)) << name;
    }
    std::set<std::string> expected = ProjectFiles();
    expected.insert("Talvane95.hhc");
    EXPECT_EQ(stored, expected);
    EXPECT_NE(ReadAll(help.extracted / "#SYSTEM").find("index.html"), std::string::npos);
    EXPECT_TRUE(fs::exists(help.extracted / "$FIftiMain")) << "no full-text search";
    EXPECT_TRUE(fs::exists(help.extracted / "$WWKeywordLinks/BTree")) << "no keyword index";
}

TEST(HelpManual, EachHelpButtonsContextOpensThePageTheProjectNames) {
    const HelpFile& help = Built();
    std::map<std::string, int> defines;
    for (const auto& define :
         Matches(ReadAll(sourceDir / "context.h"), R"(#define\s+(\w+\s+\d+))")) {
        std::istringstream words(define);
        std::string name;
        int number = 0;
        words >> name >> number;
        defines[name] = number;
    }
    const std::map<std::string, int> buttons = {
        {"IDH_MANAGER", managerHelpContext},
        {"IDH_LIBRARIAN", librarianHelpContext},
        {"IDH_EDITOR", editorHelpContext},
        {"IDH_LIBRARIAN_OPTIONS", librarianOptionsHelpContext},
        {"IDH_HEX_EDITOR", hexEditorHelpContext},
    };
    EXPECT_EQ(defines, buttons);
    const std::string project = ReadAll(sourceDir / "Talvane95.hhp");
    for (const auto& [name, number] : buttons) {
        SCOPED_TRACE(name);
        const auto alias = Matches(project, ("\n" + name + "=([^\r\n]+)").c_str());
        ASSERT_EQ(alias.size(), 1u);
        EXPECT_EQ(PageOf(help, static_cast<std::uint32_t>(number)), "/" + alias[0]);
        EXPECT_TRUE(fs::exists(help.extracted / alias[0]));
    }
    EXPECT_TRUE(PageOf(help, 0).empty());
    EXPECT_TRUE(PageOf(help, 6).empty());
}

TEST(HelpManual, EveryLinkAndPictureExistsAndTheIndexIsFull) {
    const HelpFile& help = Built();
    auto resolves = [&](const std::string& from, const std::string& target) {
        if (target.starts_with("http:") || target.starts_with("https:"))
            return;
        const std::size_t hash = target.find('#');
        const std::string file = hash == 0 ? from : target.substr(0, hash);
        SCOPED_TRACE(from + " -> " + target);
        ASSERT_TRUE(fs::exists(help.extracted / file));
        if (hash != std::string::npos && hash + 1 < target.size()) {
            EXPECT_NE(ReadAll(sourceDir / file).find("id=\"" + target.substr(hash + 1) + "\""),
                      std::string::npos);
        }
    };
    // Every page is in the project, so in the .chm, and in the contents.
    const std::set<std::string> project = ProjectFiles();
    const std::string contents = ReadAll(sourceDir / "Talvane95.hhc");
    for (const auto& entry : fs::directory_iterator(sourceDir)) {
        const std::string name = entry.path().filename().string();
        const std::string text = ReadAll(entry.path());
        if (entry.path().extension() == ".html") {
            EXPECT_TRUE(project.count(name)) << name;
            EXPECT_NE(contents.find("\"" + name + "\""), std::string::npos) << name;
            for (const auto& target : Matches(text, R"((?:href|src)="([^"]*)\")"))
                resolves(name, target);
        }
        if (entry.path().extension() == ".hhc" || entry.path().extension() == ".hhk")
            for (const auto& target : Matches(text, R"(name="Local" value="([^"]*)\")"))
                resolves(name, target);
    }
    EXPECT_GE(
        Matches(ReadAll(sourceDir / "Talvane95.hhk"), R"(name="Name" value="([^"]*)\")").size(),
        80u);
}

} // namespace
