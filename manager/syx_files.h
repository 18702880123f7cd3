#pragma once
#include "manager/syx_format.h"

#include <cstdint>

// Opening a .syx file into the message store and saving the store, with the user's dialogs and
// messages around the formats.

// Reads the file at `path` into the store (which the caller has emptied) with the busy cursor
// on; the caller turns it off. A file that cannot be opened or is damaged adds nothing and is
// reported; a standard-format file of 448,000 bytes or more is stored cut short, with a warning.
void ReadFileIntoStore(const char* path);
// Runs the Save As dialog and writes the whole store in the chosen format. 1 when the file was
// written (the caller then empties the store), 0 when the user cancelled or the file could not
// be written (the store is kept and the user was told).
int SaveStoreAs();

// Tells the user that the file at `path` could not be used; `consequence` says what followed.
void ReportUnreadableFile(const char* path, SyxOpenResult result, const char* consequence);
void ReportFileTooLargeToSend(const char* path, std::int64_t limit);
