#pragma once
// Folders and files of an end-to-end test. Every test gets its own scratch folder under the build
// folder; the programs under test run in subfolders of it, so nothing a test writes reaches
// another test or the source tree. All paths are Windows paths ("Z:\...\e2e-scratch\...").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// A file a test puts into a folder before the program starts: its name and its exact bytes.
struct ScratchFile {
    std::string name;
    std::string contents;
};

// The folder of the running test program: the Windows build's bin folder, which also holds
// Talvane95.dat, Talvane95.exe and the virtual instrument midimap.dll.
std::string BinFolder();

// The system's folder for temporary files, where the program keeps its store's scratch files;
// with its trailing backslash.
std::string TemporaryFolder();

// The current test's scratch folder, "<build>\e2e-scratch\<test program>\<Suite>.<Test>". It is
// emptied the first time the test asks for it and left in place afterwards, to look at.
std::string ScratchFolder();

std::string JoinPath(std::string_view folder, std::string_view name);

// Deletes `path` with everything in it and creates it again, empty.
bool MakeEmptyFolder(const std::string& path);

bool FileExists(const std::string& path);

// Reads the whole file, sharing it with a program that still writes it (the instrument's log).
// Nothing when the file cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Creates or replaces the file with exactly these bytes.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

// Names of the files (not folders) in `folder`, sorted.
std::vector<std::string> FileNames(const std::string& folder);

} // namespace e2e
