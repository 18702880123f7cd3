#include "manager/byte_file.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace {

// Large enough that the many 4-byte length writes of a busy store cost little.
constexpr std::size_t streamBufferSize = 256 * 1024;

const char* ModeText(ByteFile::Mode mode) {
    switch (mode) {
    case ByteFile::Mode::read:
        return "rb";
    case ByteFile::Mode::create:
        return "wb";
    case ByteFile::Mode::append:
        return "ab";
    }
    return "rb";
}

std::filesystem::path PathOf(const std::string& path) {
    // The program's file names are 8-bit system code page text, as the system gives them.
    return std::filesystem::path(path);
}

} // namespace

ByteFile::ByteFile(const std::string& path, Mode mode, bool bulk) {
    handle = std::fopen(path.c_str(), ModeText(mode));
    if (handle == nullptr)
        return;
    if (bulk)
        std::setvbuf(handle, nullptr, _IONBF, 0);
    else
        std::setvbuf(handle, nullptr, _IOFBF, streamBufferSize);
}

ByteFile::ByteFile(ByteFile&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}

ByteFile& ByteFile::operator=(ByteFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle = std::exchange(other.handle, nullptr);
    }
    return *this;
}

ByteFile::~ByteFile() {
    Close();
}

bool ByteFile::Close() {
    if (handle == nullptr)
        return true;
    const bool written = std::fclose(handle) == 0;
    handle = nullptr;
    return written;
}

std::size_t ByteFile::Read(void* bytes, std::size_t count) {
    if (handle == nullptr || count == 0)
        return 0;
    return std::fread(bytes, 1, count, handle);
}

bool ByteFile::Write(const void* bytes, std::size_t count) {
    if (handle == nullptr)
        return false;
    return count == 0 || std::fwrite(bytes, 1, count, handle) == count;
}

bool ByteFile::Flush() {
    return handle != nullptr && std::fflush(handle) == 0;
}

bool ByteFile::ReadInt16(std::int16_t& value) {
    unsigned char raw[2];
    if (!ReadExactly(raw, sizeof raw))
        return false;
    value = static_cast<std::int16_t>(raw[0] | (raw[1] << 8));
    return true;
}

bool ByteFile::ReadInt32(std::int32_t& value) {
    unsigned char raw[4];
    if (!ReadExactly(raw, sizeof raw))
        return false;
    const std::uint32_t bits =
        static_cast<std::uint32_t>(raw[0]) | static_cast<std::uint32_t>(raw[1]) << 8 |
        static_cast<std::uint32_t>(raw[2]) << 16 | static_cast<std::uint32_t>(raw[3]) << 24;
    value = static_cast<std::int32_t>(bits);
    return true;
}

bool ByteFile::WriteInt16(std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    const unsigned char raw[2] = {static_cast<unsigned char>(bits & 0xFF),
                                  static_cast<unsigned char>(bits >> 8)};
    return Write(raw, sizeof raw);
}

bool ByteFile::WriteInt32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const unsigned char raw[4] = {
        static_cast<unsigned char>(bits & 0xFF), static_cast<unsigned char>((bits >> 8) & 0xFF),
        static_cast<unsigned char>((bits >> 16) & 0xFF), static_cast<unsigned char>(bits >> 24)};
    return Write(raw, sizeof raw);
}

bool ByteFile::ReadInt32Array(std::vector<std::int32_t>& values, std::size_t count) {
    std::vector<unsigned char> raw(4 * count);
    const std::size_t got = Read(raw.data(), raw.size()) / 4;
    values.resize(got);
    for (std::size_t i = 0; i < got; ++i) {
        const unsigned char* b = raw.data() + 4 * i;
        const std::uint32_t bits =
            static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
            static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
        values[i] = static_cast<std::int32_t>(bits);
    }
    return got == count;
}

bool ByteFile::WriteInt32Array(const std::int32_t* values, std::size_t count) {
    std::vector<unsigned char> raw(4 * count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto bits = static_cast<std::uint32_t>(values[i]);
        for (std::size_t byte = 0; byte < 4; ++byte)
            raw[4 * i + byte] = static_cast<unsigned char>((bits >> (8 * byte)) & 0xFF);
    }
    return Write(raw.data(), raw.size());
}

bool ByteFile::Seek(std::int64_t offset) {
    if (handle == nullptr || offset < 0)
        return false;
#ifdef _WIN32
    return _fseeki64(handle, offset, SEEK_SET) == 0;
#else
    return fseeko(handle, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool ByteFile::Skip(std::int64_t count) {
    unsigned char discard[4096];
    while (count > 0) {
        const auto step = static_cast<std::size_t>(
            count < static_cast<std::int64_t>(sizeof discard) ? count : sizeof discard);
        if (Read(discard, step) != step)
            return false;
        count -= static_cast<std::int64_t>(step);
    }
    return true;
}

std::int64_t CopyFileBytes(ByteFile& from, ByteFile& to, std::int64_t count, unsigned char* buffer,
                           std::size_t bufferSize) {
    std::int64_t copied = 0;
    while (count < 0 || copied < count) {
        std::size_t step = bufferSize;
        if (count >= 0 && count - copied < static_cast<std::int64_t>(step))
            step = static_cast<std::size_t>(count - copied);
        const std::size_t got = from.Read(buffer, step);
        if (got > 0 && !to.Write(buffer, got))
            break;
        copied += static_cast<std::int64_t>(got);
        if (got < step)
            break;
    }
    return copied;
}

std::int64_t FileSizeOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(PathOf(path), error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

bool FileExists(const std::string& path) {
    return FileSizeOf(path) >= 0;
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(PathOf(path), error);
}

bool TruncateFile(const std::string& path, std::int64_t size) {
    std::error_code error;
    std::filesystem::resize_file(PathOf(path), static_cast<std::uintmax_t>(size), error);
    return !error;
}

bool RenameFile(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(PathOf(from), PathOf(to), error);
    return !error;
}
