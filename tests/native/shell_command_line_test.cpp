#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(ShellCommandLine, OnlyTheFirstLetterOfTheFirstSwitchCounts) {
    struct Case {
        const char* line;
        CommandSwitch command;
        const char* argument;
    };
    const Case cases[] = {
        {"", CommandSwitch::none, ""},
        {"C:\\music\\bank.syx", CommandSwitch::none, ""},
        {"/send C:\\music\\three.syx", CommandSwitch::send, "C:\\music\\three.syx"},
        {"/s three.syx", CommandSwitch::send, "three.syx"},
        {"/sX three.syx", CommandSwitch::send, "three.syx"},
        {"/librarian C:\\Talvane\\Korg M1.QXInstrument", CommandSwitch::librarian,
         "C:\\Talvane\\Korg M1.QXInstrument"},
        {"/bankfile C:\\Talvane\\My banks.QXBank", CommandSwitch::bankfile,
         "C:\\Talvane\\My banks.QXBank"},
        {"/open C:\\music\\x.syx", CommandSwitch::none, ""},
        {"/Send x.syx", CommandSwitch::none, ""},
        {"/x /send x.syx", CommandSwitch::none, ""},
        {"/open /send x.syx", CommandSwitch::none, ""},
        {"/send x.syx /librarian y", CommandSwitch::send, "x.syx /librarian y"},
        {"junk /b a b c ", CommandSwitch::bankfile, "a b c "},
        {"/", CommandSwitch::none, ""},
    };
    for (const Case& c : cases) {
        CommandLineRequest request = ReadCommandLine(c.line);
        EXPECT_EQ(request.command, c.command) << c.line;
        EXPECT_EQ(request.argument, c.argument) << c.line;
    }
}

TEST(ShellCommandLine, ASwitchWithoutArgumentHasAnEmptyOne) {
    for (const char* line : {"/send", "/send ", "/librarian", "/b"}) {
        CommandLineRequest request = ReadCommandLine(line);
        EXPECT_NE(request.command, CommandSwitch::none) << line;
        EXPECT_EQ(request.argument, "") << line;
    }
}

TEST(ShellCommandLine, QuotesAroundTheFileNameAreNotPartOfIt) {
    EXPECT_EQ(ReadCommandLine("/send \"C:\\my music\\x.syx\"").argument, "C:\\my music\\x.syx");
    EXPECT_EQ(ReadCommandLine("/send \"").argument, "\"");
    EXPECT_EQ(ReadCommandLine("/send \"\"").argument, "");
    EXPECT_EQ(ReadCommandLine("/send a\"b\"").argument, "a\"b\"");
}

TEST(ShellCommandLine, TextAfterLastBackslash) {
    EXPECT_EQ(TextAfterLastBackslash("C:\\a\\KORGM1~1.QXI"), "KORGM1~1.QXI");
    EXPECT_EQ(TextAfterLastBackslash("Korg M1.QXInstrument"), "Korg M1.QXInstrument");
    EXPECT_EQ(TextAfterLastBackslash("C:\\dir\\"), "");
    EXPECT_EQ(TextAfterLastBackslash(""), "");
}

TEST(ShellCommandLine, KorgM1NamesAreRecognisedByFourLetters) {
    EXPECT_TRUE(IsKorgM1Name("Korg M1"));
    EXPECT_TRUE(IsKorgM1Name("Korg M1R"));
    EXPECT_TRUE(IsKorgM1Name("Ko-x M1 rack"));
    EXPECT_FALSE(IsKorgM1Name("korg M1"));
    EXPECT_FALSE(IsKorgM1Name("Korg M"));
    EXPECT_FALSE(IsKorgM1Name("Korg T1"));
    EXPECT_FALSE(IsKorgM1Name(""));
}

TEST(ShellCommandLine, DefinitionsAreFoundByShortOrLongName) {
    std::vector<ListedFile> listing = {
        {"Roland D50.QXInstrument", "ROLAND~1.QXI"},
        {"Korg M1.QXInstrument", "KORGM1~1.QXI"},
        {"Korg M1 rack.QXInstrument", "KORGM1~2.QXI"},
        {"X.QXInstrument", ""},
    };
    EXPECT_EQ(FindDefinitionByShortName(listing, "korgm1~2.qxi"), 2);
    EXPECT_EQ(FindDefinitionByShortName(listing, "KORGM1~1.QXI"), 1);
    EXPECT_EQ(FindDefinitionByShortName(listing, "korg m1.qxinstrument"), 1);
    EXPECT_EQ(FindDefinitionByShortName(listing, "x.qxinstrument"), 3);
    EXPECT_EQ(FindDefinitionByShortName(listing, "KORGM1~3.QXI"), -1);
    EXPECT_EQ(FindDefinitionByShortName(listing, ""), -1);
    EXPECT_EQ(FindDefinitionByShortName({}, "X.QXInstrument"), -1);
}

TEST(ShellCommandLine, BanksAreFoundByLongNameOnly) {
    std::vector<ListedFile> listing = {{"Piano.QXBank", "PIANO.QXB"},
                                       {"My banks.QXBank", "MYBANK~1.QXB"}};
    EXPECT_EQ(FindFileByLongName(listing, "my BANKS.qxbank"), 1);
    EXPECT_EQ(FindFileByLongName(listing, "MYBANK~1.QXB"), -1);
    EXPECT_EQ(FindFileByLongName(listing, "Piano.QXBan"), -1);
}

TEST(ShellCommandLine, TheCurrentInstrumentWinsAmongDefinitionsThatFitABank) {
    using Sizes = std::vector<std::optional<std::int32_t>>;
    Sizes sizes = {170, 100, 170, std::nullopt, 170};
    EXPECT_EQ(ChooseDefinitionForBank(sizes, 170, -1), 0);
    EXPECT_EQ(ChooseDefinitionForBank(sizes, 170, 2), 2);
    EXPECT_EQ(ChooseDefinitionForBank(sizes, 170, 4), 4);
    EXPECT_EQ(ChooseDefinitionForBank(sizes, 170, 1), 0); // the current one does not fit
    EXPECT_EQ(ChooseDefinitionForBank(sizes, 100, 0), 1);
    EXPECT_EQ(ChooseDefinitionForBank(sizes, 171, 0), -1);
    // A bank that could not be read matches nothing, and neither does an unloadable definition.
    EXPECT_EQ(ChooseDefinitionForBank(sizes, 9999999, -1), -1);
    EXPECT_EQ(ChooseDefinitionForBank(Sizes{std::nullopt}, 0, 0), -1);
    EXPECT_EQ(ChooseDefinitionForBank({}, 170, -1), -1);
}

} // namespace
