#include "shell/dialog_template.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr std::uint32_t setFontStyle = 0x40; // DS_SETFONT; DS_SHELLFONT includes it
constexpr std::size_t plainHeaderSize = 18;  // style, extended style, count, x, y, cx, cy
constexpr std::size_t extendedHeaderSize = 26;
constexpr std::size_t extendedStyleOffset = 12;

struct Reader {
    const std::uint8_t* data;
    std::size_t size;

    std::optional<std::uint16_t> WordAt(std::size_t offset) const {
        if (offset > size || size - offset < 2)
            return std::nullopt;
        return static_cast<std::uint16_t>(data[offset] | data[offset + 1] << 8);
    }

    std::optional<std::uint32_t> DwordAt(std::size_t offset) const {
        auto low = WordAt(offset);
        auto high = WordAt(offset + 2);
        if (!low || !high)
            return std::nullopt;
        return static_cast<std::uint32_t>(*low) | static_cast<std::uint32_t>(*high) << 16;
    }

    // The end of a zero-terminated UTF-16 string starting at offset.
    std::optional<std::size_t> SkipString(std::size_t offset) const {
        for (;;) {
            auto unit = WordAt(offset);
            if (!unit)
                return std::nullopt;
            offset += 2;
            if (*unit == 0)
                return offset;
        }
    }

    // The end of a menu, class or title field: nothing (one zero word), an ordinal (FFFF and a
    // number) or a string.
    std::optional<std::size_t> SkipNameOrOrdinal(std::size_t offset) const {
        auto first = WordAt(offset);
        if (!first)
            return std::nullopt;
        if (*first == 0xFFFF)
            return WordAt(offset + 2) ? std::optional<std::size_t>(offset + 4) : std::nullopt;
        return SkipString(offset);
    }
};

std::size_t AlignToDword(std::size_t offset) {
    return (offset + 3) & ~std::size_t(3);
}

void Append(std::vector<std::uint8_t>& out, const std::uint8_t* from, std::size_t count) {
    out.insert(out.end(), from, from + count);
}

} // namespace

std::vector<std::uint8_t> CopyDialogWithClass(const std::uint8_t* description, std::size_t size,
                                              std::string_view windowClass) {
    for (char c : windowClass) {
        if (c == 0 || static_cast<unsigned char>(c) > 0x7F)
            return {};
    }
    Reader in{description, size};
    auto signature = in.WordAt(2);
    auto version = in.WordAt(0);
    if (!signature || !version)
        return {};
    bool extended = *version == 1 && *signature == 0xFFFF;
    std::size_t headerSize = extended ? extendedHeaderSize : plainHeaderSize;
    auto style = extended ? in.DwordAt(extendedStyleOffset) : in.DwordAt(0);
    if (!style || size < headerSize)
        return {};

    auto classStart = in.SkipNameOrOrdinal(headerSize); // behind the menu field
    if (!classStart)
        return {};
    auto titleStart = in.SkipNameOrOrdinal(*classStart);
    if (!titleStart)
        return {};
    auto fontEnd = in.SkipString(*titleStart);
    if (!fontEnd)
        return {};
    if (*style & setFontStyle) {
        std::size_t fontFields = extended ? 6 : 2; // point size [, weight, italic, character set]
        if (size - *fontEnd < fontFields)
            return {};
        fontEnd = in.SkipString(*fontEnd + fontFields);
        if (!fontEnd)
            return {};
    }
    std::size_t controlsStart = std::min(AlignToDword(*fontEnd), size);

    std::vector<std::uint8_t> copy;
    copy.reserve(size + dialogCopyExtraBytes);
    Append(copy, description, *classStart); // header and menu
    for (char c : windowClass) {
        copy.push_back(static_cast<std::uint8_t>(c));
        copy.push_back(0);
    }
    copy.push_back(0);
    copy.push_back(0);
    Append(copy, description + *titleStart, *fontEnd - *titleStart); // title and font
    copy.resize(AlignToDword(copy.size()), 0);
    Append(copy, description + controlsStart, size - controlsStart);
    if (copy.size() > size + dialogCopyExtraBytes)
        return {};
    copy.resize(size + dialogCopyExtraBytes, 0);
    return copy;
}
