#include "librarian/device_list.h"

#include <cstdio>
#include <cstring>

bool ReadDeviceList(const std::string& path, std::vector<std::string>& lines) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    unsigned char countBytes[4];
    if (std::fseek(file, deviceListOffset, SEEK_SET) != 0 ||
        std::fread(countBytes, 1, sizeof countBytes, file) != sizeof countBytes) {
        std::fclose(file);
        return false;
    }
    std::int32_t count;
    std::memcpy(&count, countBytes, sizeof count);
    lines.clear();
    char field[deviceLineSize];
    for (std::int32_t i = 0; i < count; ++i) {
        if (std::fread(field, 1, sizeof field, file) != sizeof field)
            break;
        const void* end = std::memchr(field, '\0', sizeof field);
        lines.emplace_back(field, end ? static_cast<const char*>(end) - field : sizeof field);
    }
    std::fclose(file);
    return true;
}

bool WriteDeviceList(const std::string& path, const std::vector<std::string>& lines) {
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return false;
    std::int32_t count = static_cast<std::int32_t>(lines.size());
    bool written = std::fseek(file, deviceListOffset, SEEK_SET) == 0 &&
                   std::fwrite(&count, 1, sizeof count, file) == sizeof count;
    for (const std::string& line : lines) {
        if (!written)
            break;
        char field[deviceLineSize] = {};
        std::memcpy(field, line.data(), line.size() < sizeof field ? line.size() : sizeof field);
        written = std::fwrite(field, 1, sizeof field, file) == sizeof field;
    }
    return std::fclose(file) == 0 && written;
}
