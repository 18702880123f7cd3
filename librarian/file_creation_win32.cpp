#include "librarian/file_creation.h"

#include <commdlg.h>

#include "shell/message_box.h"
#include "shell/shell_state.h"

bool AskNewFileName(HWND owner, const SaveDialogText& text, std::string& path) {
    char fileName[512] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = text.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = sizeof fileName;
    dialog.lpstrInitialDir = shell.programFolder;
    dialog.lpstrTitle = text.title;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
    dialog.lpstrDefExt = text.defaultExtension;
    if (!GetSaveFileNameA(&dialog))
        return false;
    path = fileName;
    return true;
}

HANDLE CreateChosenFile(HWND owner, const std::string& path, const char* failureText) {
    auto create = [&path](DWORD disposition) {
        return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE file = create(CREATE_NEW);
    if (file != INVALID_HANDLE_VALUE)
        return file;
    if (ShowMessageBox(owner, fileInUseQuestion, fileInUseCaption, MB_YESNO | MB_ICONSTOP) != IDYES)
        return INVALID_HANDLE_VALUE;
    file = create(CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        ShowMessageBox(owner, failureText, fileCreateFailedCaption, MB_OK | MB_ICONEXCLAMATION);
    return file;
}

std::vector<std::string> ListFolderFiles(const char* folder, const char* extension) {
    std::vector<std::string> names;
    std::string pattern = std::string(folder) + "\\*" + extension;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}
