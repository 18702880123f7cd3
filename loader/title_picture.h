#pragma once
// The title picture is a complete BMP file image: a 14-byte file header, a 40-byte info header,
// a colour table of 256 entries and the pixel rows, bottom-up. The loader reads it at these fixed
// places, so a picture laid out any other way is refused rather than drawn as noise.
#include <cstddef>
#include <cstdint>
#include <optional>

inline constexpr std::size_t titleInfoHeaderOffset = 14;
inline constexpr std::size_t titleInfoHeaderSize = 40;
inline constexpr std::size_t titleColourCount = 256;
inline constexpr std::size_t titleColourTableSize = titleColourCount * 4;
inline constexpr std::size_t titlePixelOffset =
    titleInfoHeaderOffset + titleInfoHeaderSize + titleColourTableSize; // 1078

struct TitlePictureFormat {
    int width = 0;     // as drawn
    int height = 0;    // rows, stored bottom-up
    int rowStride = 0; // the stored length of a row: the width rounded up to a multiple of 4
    std::size_t pixelBytes = 0; // rowStride x height, starting at titlePixelOffset
};

// Each pixel row of an 8-bit picture is stored padded to a multiple of 4 bytes.
int TitleRowStride(int width);

// Checks the image and reports where its pixels are. Nothing when it is not an 8-bit,
// uncompressed picture with a 40-byte info header and a full colour table, when its size is
// not positive and sane, or when the image is too short for its own pixel rows.
std::optional<TitlePictureFormat> ReadTitlePictureFormat(const std::uint8_t* image,
                                                         std::size_t size);
