#include "loader/title_picture.h"

namespace {

// Larger than any screen; keeps stride x height far from overflowing.
constexpr std::int32_t largestSide = 16384;

std::uint32_t Read32(const std::uint8_t* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
           std::uint32_t(at[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* at) {
    return std::uint16_t(at[0] | at[1] << 8);
}

} // namespace

int TitleRowStride(int width) {
    return (width + 3) / 4 * 4;
}

std::optional<TitlePictureFormat> ReadTitlePictureFormat(const std::uint8_t* image,
                                                         std::size_t size) {
    if (image == nullptr || size < titlePixelOffset)
        return std::nullopt;
    const std::uint8_t* header = image + titleInfoHeaderOffset;
    auto width = static_cast<std::int32_t>(Read32(header + 4));
    auto height = static_cast<std::int32_t>(Read32(header + 8));
    std::uint16_t bitCount = Read16(header + 14);
    std::uint32_t compression = Read32(header + 16);
    std::uint32_t coloursUsed = Read32(header + 32);
    if (bitCount != 8 || compression != 0)
        return std::nullopt;
    // Another header size or a shorter colour table would move the pixels away from where
    // they are read. A negative height (rows top-down) would draw the picture upside down.
    if (Read32(header) != titleInfoHeaderSize || (coloursUsed != 0 && coloursUsed != 256))
        return std::nullopt;
    if (width <= 0 || height <= 0 || width > largestSide || height > largestSide)
        return std::nullopt;
    TitlePictureFormat format;
    format.width = width;
    format.height = height;
    format.rowStride = TitleRowStride(width);
    format.pixelBytes = std::size_t(format.rowStride) * std::size_t(height);
    if (size - titlePixelOffset < format.pixelBytes)
        return std::nullopt;
    return format;
}
