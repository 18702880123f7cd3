// The help manual as the viewer finds it: tools/build-help-chm compiles docs/help, and the .chm
// is read back with a CHM reader (extract_chmLib, Debian package libchm-bin). Each Help button's
// context number must lead to a page of the file that carries its topic's heading.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

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

struct HelpFile {
    fs::path extracted;
    std::string contexts; // #IVB: a size, then pairs of context number and #STRINGS offset
    std::string strings;  // #STRINGS
};

HelpFile BuildAndExtract() {
    const fs::path scratch = fs::path(TALVANE_TEST_SCRATCH) / "help_chm";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    const fs::path chm = scratch / "Talvane95.chm";
    const std::string build = std::string(TALVANE_SOURCE_DIR) + "/tools/build-help-chm " +
                              TALVANE_SOURCE_DIR + "/docs/help " + (scratch / "stage").string() +
                              " " + chm.string();
    EXPECT_EQ(std::system(build.c_str()), 0) << build;
    HelpFile help{scratch / "extracted", {}, {}};
    const std::string extract =
        "extract_chmLib " + chm.string() + " " + help.extracted.string() + " >/dev/null";
    EXPECT_EQ(std::system(extract.c_str()), 0) << extract;
    help.contexts = ReadAll(help.extracted / "#IVB");
    help.strings = ReadAll(help.extracted / "#STRINGS");
    return help;
}

// The page a context number leads to, as a path inside the .chm; empty when it leads nowhere.
std::string PageOf(const HelpFile& help, std::uint32_t context) {
    if (help.contexts.size() < 4)
        return {};
    const std::uint32_t size = Dword(help.contexts, 0);
    for (std::size_t at = 4; at + 8 <= help.contexts.size() && at < 4 + size; at += 8) {
        if (Dword(help.contexts, at) != context)
            continue;
        const std::uint32_t offset = Dword(help.contexts, at + 4);
        if (offset >= help.strings.size())
            return {};
        return std::string(help.strings.c_str() + offset);
    }
    return {};
}

// One build serves both checks: compiling the manual is the slow part.
TEST(HelpManual, EachHelpButtonsContextLeadsToItsPageAndTheChmHoldsEveryPage) {
    const HelpFile help = BuildAndExtract();
    const struct {
        std::uint32_t context;
        const char* page;
        const char* heading;
    } contexts[] = {
        {1, "manager.html", "<h1>The Manager</h1>"},
        {2, "librarian.html", "<h1>The Librarian</h1>"},
        {3, "editor.html", "<h1>The Program Editor and the envelope graph</h1>"},
        {4, "librarian-options.html", "<h1>Librarian options: instrument definitions</h1>"},
        {5, "hex-editor.html", "<h1>Creating and editing SysEx messages</h1>"},
    };
    for (const auto& c : contexts) {
        SCOPED_TRACE(c.context);
        const std::string page = PageOf(help, c.context);
        ASSERT_FALSE(page.empty());
        EXPECT_EQ(fs::path(page).filename(), c.page);
        // The path is one inside the .chm: the viewer shows what is stored there.
        const std::string text = ReadAll(help.extracted / page.substr(page.find_first_not_of('/')));
        EXPECT_NE(text.find(c.heading), std::string::npos) << page;
        EXPECT_EQ(text, ReadAll(fs::path(TALVANE_SOURCE_DIR) / "docs/help" / c.page));
    }
    EXPECT_TRUE(PageOf(help, 0).empty());
    EXPECT_TRUE(PageOf(help, 6).empty());

    // Every page is in the file and in its contents; the file opens on index.html.
    const std::string contents = ReadAll(help.extracted / "Talvane95.hhc");
    std::vector<std::string> pages;
    for (const auto& entry : fs::directory_iterator(fs::path(TALVANE_SOURCE_DIR) / "docs/help"))
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path().filename().string());
    EXPECT_EQ(pages.size(), 11u);
    for (const std::string& page : pages) {
        EXPECT_TRUE(fs::exists(help.extracted / page)) << page;
        EXPECT_NE(contents.find("\"" + page + "\""), std::string::npos) << page;
    }
    EXPECT_NE(ReadAll(help.extracted / "#SYSTEM").find("index.html"), std::string::npos);
}

} // namespace
