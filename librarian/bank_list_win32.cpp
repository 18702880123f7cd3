#include "librarian/bank_list.h"

#include <new>

#include "librarian/bank_file.h"
#include "librarian/file_creation.h"
#include "librarian/instrument_definition.h"
#include "resources/librarian_ids.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

namespace {

void OutOfMemory() {
    FatalAppExitA(0, "Out of memory.");
}

void ShowBankFull(HWND owner) {
    ShowMessageBox(owner, bankFullText, bankFullCaption, MB_OK | MB_ICONSTOP);
}

void ShowWriteFailed(HWND owner) {
    ShowMessageBox(owner, bankWriteFailedText, bankWriteFailedCaption, MB_OK | MB_ICONEXCLAMATION);
}

// Creates a bank through the save-file dialog and puts it into the list just before "Create new
// bank file", selected.
bool CreateBank(HWND window, HWND list) {
    const SaveDialogText text = {"Create new bank file...", "Quillfen bank file\0*.QXBank\0",
                                 "QXBank"};
    std::string chosen;
    if (!AskNewFileName(nullptr, text, chosen))
        return false;
    std::string path = CompleteExtension(chosen, ".QXB", "ank");
    HANDLE file = CreateChosenFile(window, path, bankCreateFailedText);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    if (!InitialiseBankFile(path, instrument.definition.programSize)) {
        ShowMessageBox(window, bankCreateFailedText, fileCreateFailedCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // The entry keeps the file's own path, wherever the user made it.
    std::string name = BaseNameOf(path);
    SendMessageA(list, CB_INSERTSTRING, bank.count, reinterpret_cast<LPARAM>(name.c_str()));
    bank.listPaths.insert(bank.listPaths.begin() + bank.count, path);
    ++bank.count;
    SendMessageA(list, CB_SETCURSEL, bank.count - 1, 0);
    return true;
}

void FillProgramList(HWND programs) {
    SendMessageA(programs, WM_SETREDRAW, FALSE, 0);
    SendMessageA(programs, LB_RESETCONTENT, 0, 0);
    for (const BankIndexEntry& entry : bank.index)
        if (!entry.deleted)
            SendMessageA(programs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name));
    SendMessageA(programs, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(programs, nullptr, TRUE);
}

} // namespace

std::int32_t ListBankFiles(HWND list) {
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    bank.listPaths.clear();
    bank.count = 0;
    for (const std::string& file : ListFolderFiles(shell.programFolder, bankExtension)) {
        std::string path = std::string(shell.programFolder) + pathSeparator + file;
        std::int32_t programSize = 0;
        if (!ReadBankProgramSize(path, programSize) ||
            programSize != instrument.definition.programSize)
            continue;
        std::string name = BaseNameOf(file);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        bank.listPaths.push_back(path);
        ++bank.count;
    }
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(createBankEntry));
    return bank.count;
}

bool OpenSelectedBank(HWND window) {
    HWND list = GetDlgItem(window, IDC_LIBRARIAN_BANK);
    LRESULT position = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (position == CB_ERR)
        return false;
    if (position == bank.count) {
        if (!CreateBank(window, list))
            return false;
        position = bank.count - 1;
    }
    if (position < 0 || position >= static_cast<LRESULT>(bank.listPaths.size()))
        return false;
    bank.currentPosition = static_cast<std::int32_t>(position);
    bool loaded = false;
    try {
        loaded = LoadBankIndex(bank.listPaths[position], instrument.definition.programSize);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    FillProgramList(GetDlgItem(window, IDC_LIBRARIAN_BANK_PROGRAMS));
    return loaded;
}

void CloseBank(HWND window) {
    ClearBankIndex();
    SendMessageA(GetDlgItem(window, IDC_LIBRARIAN_BANK_PROGRAMS), LB_RESETCONTENT, 0, 0);
}

std::int32_t StoreProgram(const char* name, const std::uint8_t* data, std::int32_t slot) {
    HWND window = shell.currentModuleWindow;
    std::int32_t stored = bankWriteFailed;
    try {
        stored = StoreProgramRecord(name, data, slot);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    if (stored == bankFull) {
        ShowBankFull(window);
    } else if (stored == bankWriteFailed) {
        ShowWriteFailed(window);
    } else if (slot == -1) {
        const BankIndexEntry& added = bank.index.back();
        SendMessageA(GetDlgItem(window, IDC_LIBRARIAN_BANK_PROGRAMS), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(added.name));
    }
    return stored;
}

void MergeBank(HWND window, const std::string& sourcePath) {
    MergeOutcome outcome = MergeBankRecords(sourcePath);
    if (outcome.full)
        ShowBankFull(window);
    if (outcome.writeFailed)
        ShowWriteFailed(window);
}
