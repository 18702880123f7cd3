#include "manager/syx_files.h"

#include "manager/file_list.h"
#include "manager/message_store.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace {

constexpr SIZE_T saveBlockSize = 32500;
constexpr DWORD pathBufferSize = 512;
constexpr DWORD nameBufferSize = 256;

const char cutShortWarning[] =
    "Out of memory for single sysex message! This program can only handle messages under "
    "512Kb in size. \n\n"
    "Please report this problem, together with details of which device or instrument sent "
    "the message.\n\n"
    "(Things aren't going to work since the message was cut short.)";

// The save dialog's filter: the position of the chosen entry decides the format.
const char saveFilter[] = "Brevikorlando format\0*.SYX\0"
                          "Standard format\0*.SYX\0"
                          "Brevikorlando 1.0 format\0*.syx\0";

SyxFormat FormatOfFilterPosition(DWORD position) {
    switch (position) {
    case 2:
        return SyxFormat::standard;
    case 3:
        return SyxFormat::brevikorlando10;
    default:
        return SyxFormat::brevikorlando;
    }
}

void ShowError(const std::string& text, const char* caption = "Error") {
    ShowMessageBox(shell.currentModuleWindow, text.c_str(), caption, MB_ICONEXCLAMATION | MB_OK);
}

std::string Quoted(const char* path) {
    return std::string("\"") + path + "\"";
}

// Writes the store through a 32,500-byte block of movable memory. False (after telling the
// user) when the block cannot be had or the file cannot be written.
bool WriteStore(const char* path, SyxFormat format,
                const std::array<unsigned char, syxDescriptionSize>& description) {
    const HGLOBAL blockHandle = GlobalAlloc(GMEM_MOVEABLE, saveBlockSize);
    if (blockHandle == nullptr) {
        ShowMessageBox(shell.currentModuleWindow, "Memory allocation error.", "SP/Error", MB_OK);
        return false;
    }
    auto* block = static_cast<unsigned char*>(GlobalLock(blockHandle));
    if (block == nullptr) {
        GlobalFree(blockHandle);
        ShowMessageBox(shell.currentModuleWindow, "Memory locking error.", "SP/Error", MB_OK);
        return false;
    }
    const bool written = WriteStoreToFile(path, format, description, block, saveBlockSize);
    GlobalUnlock(blockHandle);
    GlobalFree(blockHandle);
    if (!written) {
        ReopenStoreForWriting();
        ShowError("Couldn't save the file " + Quoted(path) +
                  ".\nThe disk may be full or write-protected. "
                  "Your sysex messages are still in memory.");
    }
    return written;
}

} // namespace

void ReportUnreadableFile(const char* path, SyxOpenResult result, const char* consequence) {
    if (result == SyxOpenResult::damaged)
        ShowError("The file " + Quoted(path) + " is damaged or incomplete.\n" + consequence);
    else
        ShowError("Couldn't open the file " + Quoted(path) +
                  ".\nIt may have been moved or deleted, or another program may be using it.\n" +
                  consequence);
}

void ReportFileTooLargeToSend(const char* path, std::int64_t limit) {
    ShowError("The file " + Quoted(path) + " is too large to send as one sysex message.\n" +
              "The largest file that can be sent is " + std::to_string(limit) +
              " bytes. Nothing was sent.");
}

void ReadFileIntoStore(const char* path) {
    shell.busy = true;
    ShowBusyCursor();
    switch (ReadSyxFileIntoStore(path)) {
    case SyxReadResult::read:
        break;
    case SyxReadResult::cutShort:
        ShowMessageBox(shell.currentModuleWindow, cutShortWarning, "Oops...",
                       MB_ICONEXCLAMATION | MB_OK);
        break;
    case SyxReadResult::cannotOpen:
        ReportUnreadableFile(path, SyxOpenResult::cannotOpen, "Nothing was read from it.");
        break;
    case SyxReadResult::damaged:
        ReportUnreadableFile(path, SyxOpenResult::damaged, "Nothing was read from it.");
        break;
    }
}

int SaveStoreAs() {
    char path[pathBufferSize] = "";
    char name[nameBufferSize];
    FillMemory(name, sizeof name, 0xCD);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = shell.currentModuleWindow;
    dialog.lpstrFilter = saveFilter;
    dialog.nFilterIndex = static_cast<DWORD>(fileList.saveFilterPosition);
    dialog.lpstrFile = path;
    dialog.nMaxFile = pathBufferSize;
    dialog.lpstrFileTitle = name;
    dialog.nMaxFileTitle = nameBufferSize;
    dialog.lpstrTitle = "Save As";
    dialog.lpstrDefExt = "syx";
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
    // The dialog makes each folder the user looks into the current folder; the file list keeps
    // naming the files of the folder it shows, so that folder stays current.
    char startFolder[MAX_PATH] = "";
    const DWORD startLength = GetCurrentDirectoryA(sizeof startFolder, startFolder);
    const BOOL chosen = GetSaveFileNameA(&dialog);
    if (startLength > 0 && startLength < sizeof startFolder)
        SetCurrentDirectoryA(startFolder);
    if (!chosen)
        return 0;
    fileList.saveFilterPosition = static_cast<int>(dialog.nFilterIndex);
    name[nameBufferSize - 1] = 0;
    const SyxFormat format = FormatOfFilterPosition(dialog.nFilterIndex);
    const auto description = MakeDescription(name);
    if (!WriteStore(path, format, description))
        return 0;
    AddFileListEntry(FileListLabel(format, name, description.data(), description.size()), path,
                     true);
    return 1;
}
