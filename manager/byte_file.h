#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The files of the message store and the .syx files are plain byte files. A file that could not
// be opened is an empty ByteFile: reads through it give nothing and writes fail, so callers need
// no separate error path where a missing file simply counts as empty.
class ByteFile {
  public:
    enum class Mode { read, create, append };

    ByteFile() = default;
    // A `bulk` file is read and written in large chunks only: its bytes go straight between the
    // file and the caller's buffer instead of through a buffer of its own.
    ByteFile(const std::string& path, Mode mode, bool bulk = false);
    ByteFile(ByteFile&& other) noexcept;
    ByteFile& operator=(ByteFile&& other) noexcept;
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;
    ~ByteFile();

    bool IsOpen() const { return handle != nullptr; }
    // Closes the file; false when it was open and buffered bytes could not be written out.
    bool Close();

    // Reads up to `count` bytes; returns how many arrived (0 at the end or when not open).
    std::size_t Read(void* bytes, std::size_t count);
    // Reads exactly `count` bytes; false when the file ends first.
    bool ReadExactly(void* bytes, std::size_t count) { return Read(bytes, count) == count; }
    bool Write(const void* bytes, std::size_t count);
    bool Flush();

    bool ReadInt16(std::int16_t& value);
    bool ReadInt32(std::int32_t& value);
    // Reads `count` little-endian 32-bit values in one go; on a short read only the values that
    // arrived are kept and false is returned.
    bool ReadInt32Array(std::vector<std::int32_t>& values, std::size_t count);
    bool WriteInt32Array(const std::int32_t* values, std::size_t count);
    bool WriteInt16(std::int16_t value);
    bool WriteInt32(std::int32_t value);

    // Moves the read position forward by `count` bytes.
    bool Skip(std::int64_t count);
    // Moves the read position to `offset` from the start.
    bool Seek(std::int64_t offset);

  private:
    std::FILE* handle = nullptr;
};

// Copies `count` bytes from `from` to `to` through `buffer`, or everything up to the end of
// `from` when `count` is negative. Returns the number of bytes that reached `to`.
std::int64_t CopyFileBytes(ByteFile& from, ByteFile& to, std::int64_t count, unsigned char* buffer,
                           std::size_t bufferSize);

// The size of the file at `path`, or -1 when it cannot be found.
std::int64_t FileSizeOf(const std::string& path);
bool FileExists(const std::string& path);
void RemoveFile(const std::string& path);
// Cuts the file at `path` to `size` bytes.
bool TruncateFile(const std::string& path, std::int64_t size);
// Gives the file at `from` the name `to`, replacing a file of that name.
bool RenameFile(const std::string& from, const std::string& to);
