#pragma once
#include "manager/byte_file.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The three layouts of .syx files. The standard format is nothing but SysEx bytes and always
// counts as one message. The two tagged formats hold a list of messages:
//   offset 0    14 bytes   tag "Brevikorlando+" or "Brevikorlando-" (no terminator)
//   offset 14   100 bytes  description, ended by a NUL when shorter than the field
//   offset 114  2 bytes    message count N, signed 16-bit
//   offset 116  4*N bytes  each message's length, signed 32-bit
//   then        the messages back to back
// All numbers are little-endian.

enum class SyxFormat { standard, brevikorlando, brevikorlando10 };

inline constexpr std::size_t syxTagSize = 14;
inline constexpr std::size_t syxDescriptionSize = 100;
inline constexpr std::int64_t syxHeaderSize = 116;
inline constexpr char brevikorlandoTag[] = "Brevikorlando+";
inline constexpr char brevikorlando10Tag[] = "Brevikorlando-";

// Reading a standard-format file into the store stops once 448,000 bytes or more have been read
// (in steps that leave at most 448,014 bytes), and the user is warned that the message was cut.
inline constexpr std::int64_t standardWarningSize = 448000;
inline constexpr std::int64_t standardReadLimit = 448014;

// The format of a file whose first bytes are `bytes`: a tagged format only when all 14 tag bytes
// are there and match exactly.
SyxFormat FormatOfTag(const unsigned char* bytes, std::size_t n);

// An open .syx file whose layout has been checked against its size: every message the length
// table names lies within the file.
struct SyxFile {
    ByteFile file;
    SyxFormat format = SyxFormat::standard;
    std::int64_t size = 0;
    std::int16_t count = 0;            // 1 for a non-empty standard-format file
    std::vector<std::int32_t> lengths; // for the standard format: the whole file
    std::int32_t position = 0;         // index of the next message to read
};

enum class SyxOpenResult {
    opened,
    cannotOpen, // missing, unreadable, or too large for 32-bit lengths
    damaged     // negative count or length, or the file ends before its messages do
};

SyxOpenResult OpenSyxFile(const std::string& path, SyxFile& syx);
// Reads the next `length` bytes of the file (the next message) into `message`; false when the
// file ends first.
bool ReadSyxMessage(SyxFile& syx, std::int32_t length, std::vector<unsigned char>& message);
// The same into a block of at least `length` bytes.
bool ReadSyxBytes(SyxFile& syx, unsigned char* into, std::int32_t length);

enum class SyxReadResult {
    read,       // every message of the file is in the store
    cutShort,   // a standard-format file of 448,000 bytes or more: its first part is stored
    cannotOpen, // nothing was added
    damaged     // nothing was added
};

// Appends every message of the file at `path` to the message store, labelled as received.
// A damaged file adds nothing at all.
SyxReadResult ReadSyxFileIntoStore(const std::string& path);

// The description field Save As writes for a file saved under `bareName`: the name without its
// three-letter extension, in a field that starts as the name in a buffer of CD bytes, so a name
// of 100 characters or more fills the field without a NUL.
std::array<unsigned char, syxDescriptionSize> MakeDescription(const char* bareName);

// Writes the whole message store to `path` in `format` through `block` (the copy buffer).
// Leaves the store files closed for reading; the caller reopens or resets the store. On failure
// the incomplete file is removed and false returned.
bool WriteStoreToFile(const std::string& path, SyxFormat format,
                      const std::array<unsigned char, syxDescriptionSize>& description,
                      unsigned char* block, std::size_t blockSize);
