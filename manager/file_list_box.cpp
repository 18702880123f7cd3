#include "manager/file_list_box.h"

#include "manager/file_list.h"
#include "shell/shell_state.h"

#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD pathBufferSize = 512;
constexpr DWORD nameBufferSize = 256;

void ShowFileListChange(void* context, FileListChange change, int index, const char* label) {
    const HWND listBox = static_cast<HWND>(context);
    switch (change) {
    case FileListChange::clear:
        SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
        break;
    case FileListChange::append:
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        break;
    case FileListChange::select:
        SendMessageA(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        break;
    case FileListChange::remove:
        SendMessageA(listBox, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        break;
    }
}

std::vector<std::string> ListSyxFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA("*.syx", &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

} // namespace

void AttachFileListBox(HWND listBox) {
    fileList.hook = ShowFileListChange;
    fileList.context = listBox;
}

void RebuildFileList(const char* nameToSelect) {
    FillFileList("", ListSyxFiles(), nameToSelect);
}

int ChooseFile(const char* title) {
    char path[pathBufferSize] = "";
    char name[nameBufferSize] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = shell.currentModuleWindow;
    dialog.lpstrFilter = "Sysex data\0*.SYX\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = pathBufferSize;
    dialog.lpstrFileTitle = name;
    dialog.nMaxFileTitle = nameBufferSize;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_NOVALIDATE | OFN_HIDEREADONLY;
    // The dialog makes each folder the user looks into the current folder. Cancelled, it must
    // leave the folder whose files the list names, or they would be looked for elsewhere.
    char startFolder[MAX_PATH] = "";
    const DWORD startLength = GetCurrentDirectoryA(sizeof startFolder, startFolder);
    if (!GetOpenFileNameA(&dialog)) {
        if (startLength > 0 && startLength < sizeof startFolder)
            SetCurrentDirectoryA(startFolder);
        return 1;
    }
    // The chosen file's folder becomes the current folder, so the list shows that folder.
    char* lastSeparator = std::strrchr(path, '\\');
    const char* bareName = path;
    if (lastSeparator != nullptr) {
        bareName = lastSeparator + 1;
        const std::string folder(path, static_cast<std::size_t>(lastSeparator - path) + 1);
        SetCurrentDirectoryA(folder.c_str());
    }
    RebuildFileList(bareName);
    return 0;
}
