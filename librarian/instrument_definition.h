#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One model of instrument as the Librarian sees it, plus the user's connection to it. The record
// is written to and read from the definition file byte for byte, so its layout is fixed: 32-bit
// little-endian integers, then NUL-terminated text fields that may carry stale bytes after the
// terminator.
struct InstrumentDefinition {
    std::int32_t channel;      // 1..16; its nibble in messages is channel - 1
    std::int32_t rangeStart;   // lowest program number, 0..2048, not above rangeEnd
    std::int32_t rangeEnd;     // highest program number, 0..2048
    std::int32_t numberOffset; // added to program numbers for display only
    std::int32_t programSize;  // data bytes that make up one program, 0..32000
    std::int32_t nameGrabbing; // 1: names are read out of received programs
    std::int32_t autoUpdate;   // 1: all names are fetched whenever the Librarian opens
    std::int32_t midiInPort;   // position in the input port list, -1 none
    std::int32_t midiOutPort;  // position in the output port list, -1 none
    char requestString[450];
    char sendString[450];
    char nameOffsets[100];
    char notes[1012];
};

inline constexpr std::size_t definitionRecordSize = 2048;
static_assert(sizeof(InstrumentDefinition) == definitionRecordSize);
static_assert(offsetof(InstrumentDefinition, midiOutPort) == 32);
static_assert(offsetof(InstrumentDefinition, requestString) == 36);
static_assert(offsetof(InstrumentDefinition, sendString) == 486);
static_assert(offsetof(InstrumentDefinition, nameOffsets) == 936);
static_assert(offsetof(InstrumentDefinition, notes) == 1036);
static_assert(std::endian::native == std::endian::little, "the file holds the record as in memory");

// The limits the definition dialog enforces; a loaded record is brought inside them.
inline constexpr std::int32_t highestProgramNumber = 2048;
inline constexpr std::int32_t largestProgramSize = 32000;

// The definition every part of the program works with, and the instrument name: the base name of
// the file it came from (not stored inside the file).
struct CurrentInstrument {
    InstrumentDefinition definition{};
    std::string name;
};

extern CurrentInstrument instrument;

inline constexpr const char* definitionExtension = ".QXInstrument";

// Paths are built the way the program's folder names them: "<folder>\<name>.QXInstrument" on
// Windows (a slash in the native build, where the tests run).
#ifdef _WIN32
inline constexpr char pathSeparator = '\\';
#else
inline constexpr char pathSeparator = '/';
#endif

std::string DefinitionPath(std::string_view folder, std::string_view name);
// The text after the last path separator, cut at its last '.' (a name without '.' stays whole).
std::string BaseNameOf(std::string_view path);
// "Piano.QXI" + "nstrument": a name the file dialog shortened to a three-letter extension gets
// the full one back.
std::string CompleteExtension(std::string_view path, std::string_view shortExtension,
                              std::string_view rest);

// The text of a fixed-size field: up to its first NUL, never beyond the field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0')
        ++length;
    return std::string_view(field, length);
}

// Copies text into a field, cut so that the terminator still fits; the rest of the field is
// cleared.
template <std::size_t N>
void SetFieldText(char (&field)[N], std::string_view text) {
    std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    for (std::size_t i = 0; i < N; ++i)
        field[i] = i < length ? text[i] : '\0';
}

// A definition file is edited by hand now and then; whatever it holds, the record that comes out
// has every text terminated inside its field and every number inside the range the definition
// dialog allows, so that no later step reads or writes outside a buffer.
void SanitizeDefinition(InstrumentDefinition& definition);

// Makes the file at path the current definition. Up to 2048 bytes are read over the current record
// (a shorter file replaces only the bytes it holds). False when the file cannot be opened; the
// current definition and name then stay as they were.
bool LoadInstrumentDefinition(const std::string& path);
// Rewrites the first 2048 bytes of an existing definition file and keeps what follows; the
// instrument name becomes the file's base name in either case. False when the file cannot be
// written (the record in memory keeps the new values).
bool SaveInstrumentDefinition(const std::string& path);
