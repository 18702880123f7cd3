#include "loader/loader_state.h"
#include "loader/title_picture.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The info header and colour table of the picture, as the system reads a device-independent
// bitmap.
struct TitleBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[titleColourCount];
};
static_assert(sizeof(TitleBitmapInfo) == titleInfoHeaderSize + titleColourTableSize);

void CreateTitlePalette(const TitleBitmapInfo& info) {
    std::vector<BYTE> block(sizeof(LOGPALETTE) + (titleColourCount - 1) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = titleColourCount;
    for (std::size_t i = 0; i < titleColourCount; ++i)
        palette->palPalEntry[i] = {info.colours[i].rgbRed, info.colours[i].rgbGreen,
                                   info.colours[i].rgbBlue, 0};
    loader.titlePalette = CreatePalette(palette);
    if (!loader.titlePalette)
        MessageBoxA(nullptr, "Palette create failed", "Debug", MB_OK);
}

} // namespace

void RealizeTitlePalette(HDC dc) {
    if (!loader.titlePalette)
        return;
    SelectPalette(dc, loader.titlePalette, FALSE);
    RealizePalette(dc);
}

// The picture is checked before anything of it is used: a wrong format ends the program before
// the main program is started.
void LoadTitlePicture(HDC dc, const char* name, HBITMAP* bitmap) {
    HRSRC found = FindResourceExA(loader.instance, "OruBitmap", name,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!found)
        FatalAppExitA(0, "findresourceex fail");
    HGLOBAL loaded = LoadResource(loader.instance, found);
    if (!loaded)
        FatalAppExitA(0, "loadresource fail");
    const auto* image = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!image) {
        char text[32];
        std::snprintf(text, sizeof text, "Error #%i", static_cast<int>(GetLastError()));
        MessageBoxA(nullptr, text, "debug", MB_OK);
        return;
    }
    auto format = ReadTitlePictureFormat(image, SizeofResource(loader.instance, found));
    if (!format)
        FatalAppExitA(0, "Invalid bitmap file format - need 256 colour uncompressed bitmaps. See "
                         "help file.");

    TitleBitmapInfo info{};
    std::memcpy(&info, image + titleInfoHeaderOffset, sizeof info);
    // Each row is read at its stored, 4-byte-aligned length.
    info.header.biWidth = format->rowStride;
    CreateTitlePalette(info);
    if (loader.titlePalette) {
        UnrealizeObject(loader.titlePalette);
        RealizeTitlePalette(dc);
    }

    std::vector<std::uint8_t> pixels(image + titlePixelOffset,
                                     image + titlePixelOffset + format->pixelBytes);
    *bitmap = CreateCompatibleBitmap(dc, format->rowStride, format->height);
    if (*bitmap)
        SetDIBits(dc, *bitmap, 0, static_cast<UINT>(format->height), pixels.data(),
                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
}
