#include "loader/start_choice.h"
#include "loader/title_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A BMP file image with the given header fields and room for `pixelBytes` of pixels.
struct PictureFields {
    std::int32_t width = 501;
    std::int32_t height = 334;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t coloursUsed = 256;
};

void Put32(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        image[at + i] = std::uint8_t(value >> (8 * i));
}

std::vector<std::uint8_t> Picture(const PictureFields& fields, std::size_t pixelBytes) {
    std::vector<std::uint8_t> image(titlePixelOffset + pixelBytes, 0);
    image[0] = 'B';
    image[1] = 'M';
    Put32(image, 14, fields.headerSize);
    Put32(image, 18, std::uint32_t(fields.width));
    Put32(image, 22, std::uint32_t(fields.height));
    image[26] = 1; // planes
    image[28] = std::uint8_t(fields.bitCount);
    image[29] = std::uint8_t(fields.bitCount >> 8);
    Put32(image, 30, fields.compression);
    Put32(image, 46, fields.coloursUsed);
    return image;
}

TEST(LoaderTitlePicture, RowsArePaddedToAMultipleOfFourBytes) {
    const int cases[][2] = {{1, 4}, {3, 4}, {4, 4}, {5, 8}, {500, 500}, {501, 504}, {503, 504}};
    for (const auto& [width, stride] : cases)
        EXPECT_EQ(TitleRowStride(width), stride) << width;
}

TEST(LoaderTitlePicture, AcceptsTheShippedLayoutAtItsStoredRowLength) {
    auto image = Picture({}, 504 * 334);
    auto format = ReadTitlePictureFormat(image.data(), image.size());
    ASSERT_TRUE(format);
    EXPECT_EQ(format->width, 501);
    EXPECT_EQ(format->height, 334);
    EXPECT_EQ(format->rowStride, 504);
    EXPECT_EQ(format->pixelBytes, 504u * 334u);
    // A colour count of 0 means all 256 for an 8-bit picture.
    image = Picture({.coloursUsed = 0}, 504 * 334);
    EXPECT_TRUE(ReadTitlePictureFormat(image.data(), image.size()));
}

TEST(LoaderTitlePicture, RefusesWhatItCannotReadAtTheFixedPlaces) {
    struct Case {
        const char* what;
        PictureFields fields;
    };
    const Case cases[] = {
        {"24-bit", {.bitCount = 24}},
        {"4-bit", {.bitCount = 4}},
        {"run-length compressed", {.compression = 1}},
        {"bit fields", {.compression = 3}},
        {"a larger header", {.headerSize = 124}},
        {"a short colour table", {.coloursUsed = 16}},
        {"rows top-down", {.height = -334}},
        {"no width", {.width = 0}},
        {"negative width", {.width = -4}},
        {"huge", {.width = 0x7FFFFFFF, .height = 0x7FFFFFFF}},
    };
    for (const Case& c : cases) {
        auto image = Picture(c.fields, 504 * 334);
        EXPECT_FALSE(ReadTitlePictureFormat(image.data(), image.size())) << c.what;
    }
}

TEST(LoaderTitlePicture, RefusesAnImageShorterThanItsRows) {
    auto image = Picture({}, 504 * 334);
    EXPECT_FALSE(ReadTitlePictureFormat(image.data(), image.size() - 1));
    EXPECT_FALSE(ReadTitlePictureFormat(image.data(), titlePixelOffset - 1));
    EXPECT_FALSE(ReadTitlePictureFormat(nullptr, 0));
    // Only the stored row length counts, not the drawn width.
    image = Picture({.width = 5, .height = 2}, 16);
    EXPECT_TRUE(ReadTitlePictureFormat(image.data(), image.size()));
    EXPECT_FALSE(ReadTitlePictureFormat(image.data(), image.size() - 1));
}

TEST(LoaderStartChoice, MarkerFollowsCommandLineAndCtrl) {
    struct Case {
        const char* tail;
        bool editorPossible;
        int withoutCtrl;
        int withCtrl;
    };
    const Case cases[] = {
        {"", false, startManager, startLibrarian},
        {"/open C:\\x.syx", false, startManager, startLibrarian},
        {"C:\\x.syx", false, startManager, startLibrarian},
        {"/bankfile C:\\Talvane\\Mine.QXBank", false, startLibrarian, startManager},
        {"/b", false, startLibrarian, startManager},
        {"/librarian C:\\Talvane\\Korg M1.QXInstrument", true, startLibrarian, markerEditor},
        {"/librarian C:\\Talvane\\Roland D50.QXInstrument", false, startLibrarian, startManager},
        {" /librarian C:\\x", false, startManager, startLibrarian}, // only the first two count
        {"/Librarian C:\\x", false, startManager, startLibrarian},
    };
    for (const Case& c : cases) {
        int start = StartModuleFor(c.tail);
        EXPECT_EQ(MarkerIndex(start, false, c.editorPossible), c.withoutCtrl) << c.tail;
        EXPECT_EQ(MarkerIndex(start, true, c.editorPossible), c.withCtrl) << c.tail;
    }
    EXPECT_TRUE(NamesInstrumentDefinition("/l x"));
    EXPECT_FALSE(NamesInstrumentDefinition("/b x"));
}

TEST(LoaderStartChoice, DefinitionFileNameAndKorgM1Test) {
    struct Case {
        const char* tail;
        const char* fileName;
        bool korgM1;
    };
    const Case cases[] = {
        {"/librarian C:\\Talvane\\Korg M1.QXInstrument", "Korg M1.QXInstrument", true},
        {"/librarian \"C:\\My Talvane\\Korg M1R.QXInstrument\"", "Korg M1R.QXInstrument", true},
        {"/librarian Korg M1.QXInstrument", "Korg M1.QXInstrument", true},
        {"/librarian \"Korg M1.QXInstrument\"", "Korg M1.QXInstrument", true},
        {"/librarian C:\\Talvane\\KoXXXM1", "KoXXXM1", true},
        {"/librarian C:\\Talvane\\Korg M", "Korg M", false},
        {"/librarian C:\\Talvane\\korg m1.QXInstrument", "korg m1.QXInstrument", false},
        {"/librarian C:\\Talvane\\Korg T1.QXInstrument", "Korg T1.QXInstrument", false},
        {"/librarian C:\\Talvane\\", "", false},
        {"/librarian", "", false},
        {"/librarian C:\\Talvane\\K*", "", false},
        {"/librarian C:\\Talvane\\Korg M1?QXInstrument", "", false},
    };
    for (const Case& c : cases) {
        std::string name = DefinitionFileName(c.tail);
        EXPECT_EQ(name, c.fileName) << c.tail;
        EXPECT_EQ(IsKorgM1FileName(name), c.korgM1) << c.tail;
    }
}

TEST(LoaderStartChoice, MainProgramPathAndCommandLine) {
    EXPECT_EQ(MainProgramPath("C:\\Program Files\\Talvane\\Talvane95.exe"),
              "C:\\Program Files\\Talvane\\Talvane95.dat");
    EXPECT_EQ(MainProgramPath("C:\\Talvane95.exe"), "C:\\Talvane95.dat");
    EXPECT_EQ(MainProgramPath("Talvane95.exe"), "\\Talvane95.dat");
    EXPECT_EQ(MainProgramPath(""), "\\Talvane95.dat");
    EXPECT_EQ(MainProgramCommandLine("C:\\Program Files\\T\\Talvane95.dat", "/bankfile a b"),
              "\"C:\\Program Files\\T\\Talvane95.dat\" /bankfile a b");
    EXPECT_EQ(MainProgramCommandLine("C:\\Talvane95.dat", ""), "\"C:\\Talvane95.dat\" ");
}

} // namespace
