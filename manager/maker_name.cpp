#include "manager/maker_name.h"

#include <charconv>

namespace {

struct Maker {
    unsigned char byte;
    const char* name;
};

// 00 announces a three-byte identifier, which is not decoded further.
constexpr Maker makers[] = {
    {0x00, "[?]"},      {0x01, "Sequential"}, {0x07, "Kurzweil"}, {0x0F, "Ensoniq"},
    {0x10, "Oberheim"}, {0x40, "Kawai"},      {0x41, "Roland"},   {0x42, "Korg"},
    {0x43, "Yamaha"},   {0x44, "Casio"},      {0x47, "Akai"},
};

constexpr std::int64_t makerSearchLength = 10;

} // namespace

unsigned char FindMakerByte(const unsigned char* bytes, std::int64_t length) {
    const std::int64_t searched = length < makerSearchLength ? length : makerSearchLength;
    for (std::int64_t i = 0; i < searched; ++i) {
        if (bytes[i] == 0xF0)
            return i + 1 < length ? bytes[i + 1] : 0;
    }
    return 0;
}

std::string MakerName(unsigned char makerByte) {
    for (const Maker& maker : makers) {
        if (maker.byte == makerByte)
            return maker.name;
    }
    char hex[4];
    const auto written = std::to_chars(hex, hex + sizeof hex, makerByte, 16);
    return std::string(hex, written.ptr);
}

std::string MessageLabel(std::int32_t length, unsigned char makerByte, LabelForm form) {
    char number[16];
    const auto written = std::to_chars(number, number + sizeof number, length);
    std::string label(number, written.ptr);
    label += form == LabelForm::user ? " user [" : " bytes [";
    label += MakerName(makerByte);
    label += ']';
    return label;
}
