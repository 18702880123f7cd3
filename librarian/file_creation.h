#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What definitions and banks share on Windows: choosing a new file's name, creating it without
// silently replacing another, and listing the program folder.

struct SaveDialogText {
    const char* title;
    const char* filter; // description, NUL, pattern, NUL, NUL
    const char* defaultExtension;
};

// The system's save-file dialog in the program's folder, starting with an empty name. False when
// the user cancels.
bool AskNewFileName(HWND owner, const SaveDialogText& text, std::string& path);

// Creates the file, failing if it exists; then asks whether to overwrite it and, on Yes, creates it
// again in place of the old one. When it still cannot be created, shows failureText. Returns the
// open handle, or INVALID_HANDLE_VALUE when the user said No or creation failed.
HANDLE CreateChosenFile(HWND owner, const std::string& path, const char* failureText);

inline constexpr const char* fileInUseQuestion =
    "The filename you've chosen seems to be in use. Do you want to overwrite the existing file?";
inline constexpr const char* fileInUseCaption = "Are you sure...";
inline constexpr const char* fileCreateFailedCaption = "File create failed";

// The names of the files "<folder>\*<extension>", in the order the directory listing gives them.
std::vector<std::string> ListFolderFiles(const char* folder, const char* extension);
