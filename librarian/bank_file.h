#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A bank file keeps up to 32,000 named programs of one program size S:
//   offset 0       S, 32-bit signed
//   offset 4       32000 slot flags (0 free, anything else in use)
//   offset 32004 + i * (S + 30)   slot i: a 30-byte NUL-terminated name, then S data bytes
// Records are written at their computed offsets, so the file grows to the end of the highest slot
// ever written. A deleted program only loses its flag; its record stays until the slot is reused.
inline constexpr std::int32_t bankSlotCount = 32000;
inline constexpr std::int32_t bankNameSize = 30;
inline constexpr std::int64_t bankFlagsOffset = 4;
inline constexpr std::int64_t bankRecordsOffset = bankFlagsOffset + bankSlotCount;
inline constexpr const char* bankExtension = ".QXBank";

std::int64_t BankRecordOffset(std::int32_t slot, std::int32_t programSize);
std::string BankPath(std::string_view folder, std::string_view name);

// One program of the current bank. Names are at most 29 characters; a deleted entry never matches
// a name again.
struct BankIndexEntry {
    char name[bankNameSize];
    std::int32_t slot;
    bool deleted;
};

// The programs of the current bank in load and store order, with a hash table over their names
// (entry positions + 1 in open addressing; 0 marks an empty bucket).
struct BankState {
    // The bank list: the fitting banks' full paths in list order; "Create new bank file" follows
    // them at position count.
    std::vector<std::string> listPaths;
    std::int32_t count = 0;
    // The position the Librarian selects when it opens.
    std::int32_t rememberedPosition = 0;

    std::int32_t currentPosition = -1;
    std::string currentPath;
    std::int32_t programSize = 0;
    bool loaded = false; // the current bank's flags were read and it fits programSize
    std::vector<BankIndexEntry> index;
    std::vector<std::int32_t> nameBuckets;
};

extern BankState bank;

// The program size a bank file was made for; false when its first four bytes cannot be read.
bool ReadBankProgramSize(const std::string& path, std::int32_t& programSize);
// Gives a created file its header and 32000 free slots, exactly 32004 bytes.
bool InitialiseBankFile(const std::string& path, std::int32_t programSize);

// Makes path the current bank and reads its index: every used slot whose name field is in the
// file, in slot order. Flags the file is too short to hold count as free; a used slot whose name is
// cut off by the end of the file is left out. False, with an empty index, when the file cannot be
// read or was made for another program size; nothing is then written to it.
bool LoadBankIndex(const std::string& path, std::int32_t programSize);
void ClearBankIndex();

// The slot of the first live program of that name (at most 29 characters count), or -1.
std::int32_t FindProgram(std::string_view name);

inline constexpr std::int32_t bankFull = -2;        // every slot is in use
inline constexpr std::int32_t bankWriteFailed = -3; // the bank file could not be written

// Writes a program record into the given slot, or with slot -1 into the first free slot (then the
// program is also appended to the index). Returns the slot, bankFull or bankWriteFailed.
std::int32_t StoreProgramRecord(std::string_view name, const std::uint8_t* data, std::int32_t slot);
// Reads the programSize data bytes of a slot. False when the slot's record is not wholly in the
// file; the buffer is then filled with zeros rather than left with anything half read.
bool ReadProgramData(std::int32_t slot, std::uint8_t* buffer);
// Frees the slot of the named program; false when the name is not in the index or the flag could
// not be written.
bool DeleteProgram(std::string_view name);

struct MergeOutcome {
    std::int32_t copied = 0;
    bool full = false;        // copying stopped because every slot of the current bank is in use
    bool unreadable = false;  // no current bank, or the source cannot be read or does not fit
    bool writeFailed = false; // the current bank could not be written; only part was copied
};
// Copies into the current bank every program of the source bank whose name the current index does
// not hold (the index as loaded before the merge), into free slots in ascending order.
MergeOutcome MergeBankRecords(const std::string& sourcePath);
