#pragma once
#include <windows.h>

// The Manager's file list box (control 104) and the dialogs that choose a file for it.

// Connects the file list to `listBox`.
void AttachFileListBox(HWND listBox);
// Empties the file list and fills it with the .syx files of the current folder, in the order the
// system lists them; the file named `nameToSelect` (without regard to case) is selected. Pass
// impossibleFileName (manager/file_list.h) to select nothing.
void RebuildFileList(const char* nameToSelect);
// The file-open dialog titled `title`: on OK the chosen file's folder becomes the current folder,
// the file list is rebuilt there with the file selected, and the result is 0; on cancel 1.
int ChooseFile(const char* title);
