#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// The Librarian window's side of the bank files: the bank list (IDC_LIBRARIAN_BANK) with the
// fitting banks of the program's folder and "Create new bank file" last, and the programs of the
// current bank (IDC_LIBRARIAN_BANK_PROGRAMS). The file operations themselves are in bank_file.h.

inline constexpr const char* createBankEntry = "Create new bank file";

// Fills the bank list with the banks whose program size is the current definition's, then
// "Create new bank file". Returns their count (the position of "Create new bank file").
std::int32_t ListBankFiles(HWND list);
// Loads the bank selected in the window's bank list into the index and the program list box, or
// creates a new bank when "Create new bank file" is selected. False when nothing is selected, the
// user cancels or declines creation, or the bank cannot be read.
bool OpenSelectedBank(HWND window);
// Empties the bank index and the window's program list box.
void CloseBank(HWND window);
// Stores a program into the current bank (slot -1: a new program in the first free slot, which
// also goes into the program list box of the current module window). Reports a full bank ("File
// full!") and a bank that cannot be written. Returns the slot, bankFull or bankWriteFailed.
std::int32_t StoreProgram(const char* name, const std::uint8_t* data, std::int32_t slot);
// Copies the programs of the bank at sourcePath whose names the current bank does not hold; a
// source that cannot be read contributes nothing. The caller reloads the bank to show them.
void MergeBank(HWND window, const std::string& sourcePath);

inline constexpr const char* bankFullText = "You can store a maximum of 32,000 programs in one "
                                            "file. If you need more, start another file.";
inline constexpr const char* bankFullCaption = "File full!";
inline constexpr const char* bankCreateFailedText =
    "Couldn't update the instrument file! If the program is running from a CD-ROM or floppy "
    "disk, quit, copy all program files onto a folder of your hard disk, and then try again.";
inline constexpr const char* bankWriteFailedText =
    "Couldn't write to the bank file!\n\nIf the file is in use by some other program, quit that "
    "program and then try again.";
inline constexpr const char* bankWriteFailedCaption = "File write failed";
