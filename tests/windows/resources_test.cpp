// The artwork compiled into the two programs: read back from the built Talvane95.dat and
// Talvane95.exe, which lie in the same folder as this test program.
#include "support/windows_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const LANGID neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

std::string besideThisProgram(const char* name) {
    return wintest::ProgramFolder() + "\\" + name;
}

struct Module {
    explicit Module(const char* name)
        : handle(
              LoadLibraryExA(besideThisProgram(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Module() {
        if (handle)
            FreeLibrary(handle);
    }
    HMODULE handle;
};

std::vector<std::uint8_t> resourceBytes(HMODULE module, const char* type, const char* name) {
    HRSRC found = FindResourceExA(module, type, name, neutral);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!data)
        return {};
    return {data, data + SizeofResource(module, found)};
}

std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           std::uint32_t(bytes[at + 3]) << 24;
}

std::uint16_t le16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint16_t(bytes[at] | bytes[at + 1] << 8);
}

// The sizes of the images in an icon group, as "32x32" strings.
std::vector<std::string> iconSizes(HMODULE module, const char* name) {
    std::vector<std::uint8_t> group = resourceBytes(module, MAKEINTRESOURCEA(14), name);
    std::vector<std::string> sizes;
    if (group.size() < 6)
        return sizes;
    unsigned count = le16(group, 4);
    for (unsigned i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
        const std::uint8_t* entry = &group[6 + 14 * i];
        sizes.push_back(std::to_string(entry[0] ? entry[0] : 256) + "x" +
                        std::to_string(entry[1] ? entry[1] : 256));
    }
    return sizes;
}

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
    if (!IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<std::string>*>(names)->push_back(name);
    return TRUE;
}

const char* const icons[] = {"AProgramIcon", "BFilesIcon", "CInstrumentsIcon", "DBanksIcon",
                             "ZIcon1",       "ZIcon2",     "ZIcon3",           "zM1Icon",
                             "ZWave1",       "ZWave2"};

TEST(Artwork, EveryIconOfTheMainProgramLoadsAtItsSizes) {
    Module program("Talvane95.dat");
    ASSERT_NE(program.handle, nullptr);
    for (const char* name : icons) {
        SCOPED_TRACE(name);
        HICON icon = static_cast<HICON>(LoadImageA(program.handle, name, IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask{};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DestroyIcon(icon);

        std::vector<std::string> sizes = iconSizes(program.handle, name);
        EXPECT_EQ(sizes.front(), "32x32");
        bool waveShape = std::strncmp(name, "ZWave", 5) == 0;
        // The wave shapes stand in a dialog at one size; every other icon also has a small image
        // for title bars and file lists.
        EXPECT_EQ(sizes.size(), waveShape ? 1u : 2u);
        if (!waveShape) {
            EXPECT_EQ(sizes.back(), "16x16");
        }
    }
}

TEST(Artwork, FileAssociationIconsComeFirstInTheirOrder) {
    Module program("Talvane95.dat");
    ASSERT_NE(program.handle, nullptr);
    std::vector<std::string> names;
    EnumResourceNamesA(program.handle, MAKEINTRESOURCEA(14), collectName,
                       reinterpret_cast<LONG_PTR>(&names));
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(names[0], "APROGRAMICON");
    EXPECT_EQ(names[1], "BFILESICON");
    EXPECT_EQ(names[2], "CINSTRUMENTSICON");
    EXPECT_EQ(names[3], "DBANKSICON");
    EXPECT_EQ(names.size(), std::size(icons));
}

TEST(Artwork, TheLoaderCarriesTheTitleAs256ColourBitmap) {
    Module loader("Talvane95.exe");
    ASSERT_NE(loader.handle, nullptr);
    std::vector<std::uint8_t> title = resourceBytes(loader.handle, "OruBitmap", "Title");
    ASSERT_GE(title.size(), 1078u);
    EXPECT_EQ(title[0], 'B');
    EXPECT_EQ(title[1], 'M');
    EXPECT_EQ(le32(title, 14), 40u);            // BITMAPINFOHEADER
    EXPECT_EQ(le32(title, 18), 501u);           // width
    EXPECT_EQ(le32(title, 22), 334u);           // height, rows bottom-up
    EXPECT_EQ(le16(title, 28), 8u);             // bits per pixel
    EXPECT_EQ(le32(title, 30), 0u);             // uncompressed
    EXPECT_EQ(le32(title, 10), 1078u);          // pixels follow the full colour table
    EXPECT_EQ(title.size(), 1078u + 504 * 334); // rows padded to 504 bytes
    EXPECT_NE(LoadIconA(loader.handle, "AProgramIcon"), nullptr);
}

TEST(Artwork, TheWelcomeSoundIsAShortPcmWave) {
    Module program("Talvane95.dat");
    ASSERT_NE(program.handle, nullptr);
    std::vector<std::uint8_t> sound = resourceBytes(program.handle, "ORUWAVE", "Talvane95Wave");
    ASSERT_GE(sound.size(), 44u);
    EXPECT_EQ(std::string(sound.begin(), sound.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(sound.begin() + 8, sound.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(sound, 4) + 8, sound.size());
    EXPECT_EQ(le16(sound, 20), WAVE_FORMAT_PCM);
    std::uint32_t bytesPerSecond = le32(sound, 28);
    ASSERT_EQ(std::string(sound.begin() + 36, sound.begin() + 40), "data");
    std::uint32_t dataBytes = le32(sound, 40);
    EXPECT_EQ(44 + dataBytes, sound.size());
    EXPECT_GT(dataBytes, 0u);
    EXPECT_LE(dataBytes, 2 * bytesPerSecond); // at most two seconds
}

} // namespace
