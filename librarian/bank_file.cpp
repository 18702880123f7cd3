#include "librarian/bank_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "librarian/instrument_definition.h"

BankState bank;

namespace {

// Reading whole stretches of the file instead of one record at a time: loading and merging visit
// the slots in ascending order, so one read serves many records.
constexpr std::size_t chunkSize = 256 * 1024;
constexpr std::size_t streamBufferSize = 1024 * 1024;

// Both platforms seek with a long; on Windows that is 32 bits, which every bank offset fits (the
// largest is about 1.03e9) as long as the program size is at most 32000.
bool SeekTo(std::FILE* file, std::int64_t offset) {
    return offset >= 0 && offset <= LONG_MAX &&
           std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
}

std::size_t ReadAt(std::FILE* file, std::int64_t offset, void* buffer, std::size_t size) {
    if (!SeekTo(file, offset))
        return 0;
    return std::fread(buffer, 1, size, file);
}

bool WriteAt(std::FILE* file, std::int64_t offset, const void* buffer, std::size_t size) {
    return SeekTo(file, offset) && std::fwrite(buffer, 1, size, file) == size;
}

struct ChunkReader {
    std::FILE* file;
    std::vector<std::uint8_t> chunk = std::vector<std::uint8_t>(chunkSize);
    std::int64_t start = -1;
    std::size_t filled = 0;

    // Copies the bytes at offset into out; returns how many of them the file holds.
    std::size_t Read(std::int64_t offset, std::uint8_t* out, std::size_t size) {
        if (size > chunk.size())
            return ReadAt(file, offset, out, size);
        bool inside =
            start >= 0 && offset >= start &&
            offset + static_cast<std::int64_t>(size) <= start + static_cast<std::int64_t>(filled);
        if (!inside) {
            start = offset;
            filled = ReadAt(file, offset, chunk.data(), chunk.size());
        }
        std::size_t available = static_cast<std::size_t>(
            std::max<std::int64_t>(0, start + static_cast<std::int64_t>(filled) - offset));
        std::size_t got = std::min(size, available);
        std::memcpy(out, chunk.data() + (offset - start), got);
        return got;
    }
};

// Writes records in ascending slot order, seeking only where the next record does not follow the
// previous one.
struct RecordWriter {
    std::FILE* file;
    std::int64_t at = -1;

    bool Write(std::int64_t offset, const void* data, std::size_t size) {
        if (offset != at && !SeekTo(file, offset))
            return false;
        at = -1;
        if (std::fwrite(data, 1, size, file) != size)
            return false;
        at = offset + static_cast<std::int64_t>(size);
        return true;
    }
};

// Flags the file does not hold read as free.
void ReadFlags(std::FILE* file, std::uint8_t* flags) {
    std::memset(flags, 0, bankSlotCount);
    ReadAt(file, bankFlagsOffset, flags, bankSlotCount);
}

bool ReadHeader(std::FILE* file, std::int32_t& programSize) {
    unsigned char bytes[4];
    if (ReadAt(file, 0, bytes, sizeof bytes) != sizeof bytes)
        return false;
    std::memcpy(&programSize, bytes, sizeof programSize);
    return true;
}

// A stored name: up to its NUL, and never more than 29 characters.
std::string_view NameOf(const void* field) {
    const char* text = static_cast<const char*>(field);
    const void* end = std::memchr(text, '\0', bankNameSize - 1);
    return std::string_view(text, end ? static_cast<const char*>(end) - text : bankNameSize - 1);
}

std::string_view CutName(std::string_view name) {
    return name.substr(0, std::min<std::size_t>(name.size(), bankNameSize - 1));
}

std::uint32_t HashName(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (char c : name)
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
    // Names often differ only in their last characters; mixing spreads that into the low bits the
    // table uses.
    hash ^= hash >> 16;
    hash *= 0x85EBCA6Bu;
    hash ^= hash >> 13;
    return hash;
}

void PlaceInTable(std::int32_t position) {
    std::size_t mask = bank.nameBuckets.size() - 1;
    std::size_t bucket = HashName(NameOf(bank.index[position].name)) & mask;
    while (bank.nameBuckets[bucket] != 0)
        bucket = (bucket + 1) & mask;
    bank.nameBuckets[bucket] = position + 1;
}

// Keeps the table at most half full; deleted entries are dropped when it grows.
void MakeRoomInTable(std::size_t entries) {
    std::size_t needed = 2 * entries;
    if (needed <= bank.nameBuckets.size())
        return;
    std::size_t size = 64;
    while (size < needed)
        size *= 2;
    bank.nameBuckets.assign(size, 0);
    for (std::size_t i = 0; i < bank.index.size(); ++i)
        if (!bank.index[i].deleted)
            PlaceInTable(static_cast<std::int32_t>(i));
}

void AddIndexEntry(std::string_view name, std::int32_t slot) {
    MakeRoomInTable(bank.index.size() + 1);
    BankIndexEntry entry{};
    name = CutName(name);
    std::memcpy(entry.name, name.data(), name.size());
    entry.slot = slot;
    bank.index.push_back(entry);
    PlaceInTable(static_cast<std::int32_t>(bank.index.size() - 1));
}

// Linear probing keeps entries of one name in the order they were added, so the first live match
// is the first in the index.
std::int32_t FindEntry(std::string_view name) {
    if (bank.nameBuckets.empty())
        return -1;
    name = CutName(name);
    std::size_t mask = bank.nameBuckets.size() - 1;
    for (std::size_t bucket = HashName(name) & mask; bank.nameBuckets[bucket] != 0;
         bucket = (bucket + 1) & mask) {
        std::int32_t position = bank.nameBuckets[bucket] - 1;
        const BankIndexEntry& entry = bank.index[position];
        if (!entry.deleted && NameOf(entry.name) == name)
            return position;
    }
    return -1;
}

bool ValidProgramSize(std::int32_t programSize) {
    return programSize >= 0 && programSize <= largestProgramSize;
}

bool CloseFile(std::FILE* file, bool ok) {
    return std::fclose(file) == 0 && ok;
}

} // namespace

std::int64_t BankRecordOffset(std::int32_t slot, std::int32_t programSize) {
    return bankRecordsOffset + static_cast<std::int64_t>(slot) *
                                   (static_cast<std::int64_t>(programSize) + bankNameSize);
}

std::string BankPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += pathSeparator;
    path += name;
    path += bankExtension;
    return path;
}

bool ReadBankProgramSize(const std::string& path, std::int32_t& programSize) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bool read = ReadHeader(file, programSize);
    std::fclose(file);
    return read;
}

bool InitialiseBankFile(const std::string& path, std::int32_t programSize) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::vector<std::uint8_t> content(static_cast<std::size_t>(bankRecordsOffset), 0);
    std::memcpy(content.data(), &programSize, sizeof programSize);
    bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return CloseFile(file, written);
}

void ClearBankIndex() {
    bank.index.clear();
    bank.index.shrink_to_fit();
    bank.nameBuckets.clear();
    bank.nameBuckets.shrink_to_fit();
    bank.loaded = false;
}

bool LoadBankIndex(const std::string& path, std::int32_t programSize) {
    ClearBankIndex();
    bank.currentPath = path;
    bank.programSize = programSize;
    if (!ValidProgramSize(programSize))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::int32_t header = 0;
    if (!ReadHeader(file, header) || header != programSize) {
        std::fclose(file);
        return false;
    }
    std::vector<std::uint8_t> flags(bankSlotCount);
    ReadFlags(file, flags.data());
    std::size_t used = static_cast<std::size_t>(
        bankSlotCount - std::count(flags.begin(), flags.end(), std::uint8_t{0}));
    bank.index.reserve(used);
    MakeRoomInTable(used);
    ChunkReader reader{file};
    std::uint8_t name[bankNameSize];
    for (std::int32_t slot = 0; slot < bankSlotCount; ++slot) {
        if (flags[slot] == 0)
            continue;
        if (reader.Read(BankRecordOffset(slot, programSize), name, sizeof name) == sizeof name)
            AddIndexEntry(NameOf(name), slot);
    }
    std::fclose(file);
    bank.loaded = true;
    return true;
}

std::int32_t FindProgram(std::string_view name) {
    std::int32_t position = FindEntry(name);
    return position < 0 ? -1 : bank.index[position].slot;
}

std::int32_t StoreProgramRecord(std::string_view name, const std::uint8_t* data,
                                std::int32_t slot) {
    if (!bank.loaded || slot < -1 || slot >= bankSlotCount)
        return bankWriteFailed;
    std::FILE* file = std::fopen(bank.currentPath.c_str(), "r+b");
    if (!file)
        return bankWriteFailed;
    bool newSlot = slot == -1;
    if (newSlot) {
        std::vector<std::uint8_t> flags(bankSlotCount);
        ReadFlags(file, flags.data());
        auto freeFlag = std::find(flags.begin(), flags.end(), 0);
        if (freeFlag == flags.end()) {
            std::fclose(file);
            return bankFull;
        }
        slot = static_cast<std::int32_t>(freeFlag - flags.begin());
    }
    std::vector<std::uint8_t> record(bankNameSize + static_cast<std::size_t>(bank.programSize), 0);
    name = CutName(name);
    std::memcpy(record.data(), name.data(), name.size());
    if (data && bank.programSize > 0)
        std::memcpy(record.data() + bankNameSize, data, static_cast<std::size_t>(bank.programSize));
    const std::uint8_t used = 1;
    bool written =
        WriteAt(file, BankRecordOffset(slot, bank.programSize), record.data(), record.size()) &&
        WriteAt(file, bankFlagsOffset + slot, &used, 1);
    if (!CloseFile(file, written))
        return bankWriteFailed;
    if (newSlot)
        AddIndexEntry(name, slot);
    return slot;
}

bool ReadProgramData(std::int32_t slot, std::uint8_t* buffer) {
    std::size_t size = static_cast<std::size_t>(std::max(bank.programSize, 0));
    bool read = false;
    if (bank.loaded && slot >= 0 && slot < bankSlotCount) {
        if (std::FILE* file = std::fopen(bank.currentPath.c_str(), "rb")) {
            read = ReadAt(file, BankRecordOffset(slot, bank.programSize) + bankNameSize, buffer,
                          size) == size;
            std::fclose(file);
        }
    }
    if (!read && size > 0)
        std::memset(buffer, 0, size);
    return read;
}

bool DeleteProgram(std::string_view name) {
    std::int32_t position = FindEntry(name);
    if (position < 0)
        return false;
    std::FILE* file = std::fopen(bank.currentPath.c_str(), "r+b");
    if (!file)
        return false;
    const std::uint8_t freeFlag = 0;
    if (!CloseFile(file, WriteAt(file, bankFlagsOffset + bank.index[position].slot, &freeFlag, 1)))
        return false;
    bank.index[position].deleted = true;
    return true;
}

MergeOutcome MergeBankRecords(const std::string& sourcePath) {
    MergeOutcome outcome;
    if (!bank.loaded) {
        outcome.unreadable = true;
        return outcome;
    }
    std::FILE* source = std::fopen(sourcePath.c_str(), "rb");
    std::int32_t sourceSize = -1;
    if (!source || !ReadHeader(source, sourceSize) || sourceSize != bank.programSize) {
        if (source)
            std::fclose(source);
        outcome.unreadable = true;
        return outcome;
    }
    std::FILE* current = std::fopen(bank.currentPath.c_str(), "r+b");
    if (!current) {
        std::fclose(source);
        outcome.writeFailed = true;
        return outcome;
    }
    std::vector<char> streamBuffer(streamBufferSize);
    std::setvbuf(current, streamBuffer.data(), _IOFBF, streamBuffer.size());

    std::vector<std::uint8_t> sourceFlags(bankSlotCount);
    std::vector<std::uint8_t> currentFlags(bankSlotCount);
    ReadFlags(source, sourceFlags.data());
    ReadFlags(current, currentFlags.data());

    ChunkReader reader{source};
    RecordWriter writer{current};
    const std::size_t recordSize = bankNameSize + static_cast<std::size_t>(bank.programSize);
    std::vector<std::uint8_t> record(recordSize);
    std::int32_t freeSlot = 0;
    bool written = true;
    for (std::int32_t slot = 0; slot < bankSlotCount && written; ++slot) {
        if (sourceFlags[slot] == 0)
            continue;
        // A record cut off by the end of the source is not copied: half of it would be garbage.
        if (reader.Read(BankRecordOffset(slot, bank.programSize), record.data(), recordSize) !=
            recordSize)
            continue;
        if (FindEntry(NameOf(record.data())) >= 0)
            continue;
        while (freeSlot < bankSlotCount && currentFlags[freeSlot] != 0)
            ++freeSlot;
        if (freeSlot == bankSlotCount) {
            outcome.full = true;
            break;
        }
        written =
            writer.Write(BankRecordOffset(freeSlot, bank.programSize), record.data(), recordSize);
        if (written) {
            currentFlags[freeSlot] = 1;
            ++outcome.copied;
        }
    }
    // The map goes back also after the bank filled up, so that what was copied stays found.
    written =
        WriteAt(current, bankFlagsOffset, currentFlags.data(), currentFlags.size()) && written;
    written = CloseFile(current, written);
    std::fclose(source);
    outcome.writeFailed = !written;
    return outcome;
}
