#pragma once
#include "manager/syx_format.h"

#include <string>
#include <vector>

// The Manager's list of the .syx files of the current folder: the list box "Stored sysex
// messages" and, entry for entry, the file names behind it. `hook` keeps the list box in step.

// What happens to the list box: emptied, a label added at the end, the entry at `index`
// selected, or the entry at `index` removed.
enum class FileListChange { clear, append, select, remove };
using FileListHook = void (*)(void* context, FileListChange change, int index, const char* label);

struct FileList {
    // Bare names for entries found in the folder; a full path for the entry Save As adds.
    std::vector<std::string> names;
    FileListHook hook = nullptr;
    void* context = nullptr;
    // The format chosen at the last Save As (1 Brevikorlando, 2 standard, 3 Brevikorlando 1.0),
    // offered first at the next one.
    int saveFilterPosition = 1;
};

extern FileList fileList;

// A name no file can have: rebuilding the list with it selects no entry.
inline constexpr char impossibleFileName[] = "\xFE+&silly and impossible file name!";

// The list label of a file in `format`. `description` is the start of a Brevikorlando 1.0
// file's description (at most 98 bytes are used, up to its first NUL).
std::string FileListLabel(SyxFormat format, const std::string& name,
                          const unsigned char* description, std::size_t descriptionLength);
// The label of the file at `path`, listed as `name`, from its tag (and description).
std::string FileListLabelOf(const std::string& path, const std::string& name);
// Files whose names begin with "~" are the program's scratch files and are never listed.
bool IsListedFileName(const std::string& name);
// File names compared as the file system does, without regard to case.
bool SameFileName(const std::string& a, const std::string& b);

// Empties the list and fills it with the files `names` (in the folder `folder`, which ends with
// a separator or is empty for the current folder), in that order, skipping scratch files; the
// entry named `nameToSelect` becomes the selection.
void FillFileList(const std::string& folder, const std::vector<std::string>& names,
                  const std::string& nameToSelect);
void AddFileListEntry(const std::string& label, const std::string& name, bool select);
void RemoveFileListEntry(int index);
// The file name of entry `index`; empty when there is no such entry.
std::string FileListName(int index);
int FileListCount();
