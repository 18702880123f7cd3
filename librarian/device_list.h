#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The device list section of a definition file: after the 2048-byte record, a 32-bit count and
// then one 30-byte field per line of the Librarian's device program list. A line of at most 29
// characters is stored with its NUL; a longer one keeps its first 30 characters and no terminator.
inline constexpr std::int64_t deviceListOffset = 2048;
inline constexpr std::size_t deviceLineSize = 30;

// Reads the section into lines. False, with lines untouched, when the file cannot be opened or
// has no section. A count larger than the lines the file holds yields the lines that are there; a
// negative count yields none.
bool ReadDeviceList(const std::string& path, std::vector<std::string>& lines);
// Overwrites the section of an existing file; the file is never shortened, so the count alone says
// how many lines are valid.
bool WriteDeviceList(const std::string& path, const std::vector<std::string>& lines);
