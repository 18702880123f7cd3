#include "librarian/definition_files.h"

#include "librarian/device_list.h"
#include "librarian/file_creation.h"
#include "librarian/instrument_definition.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

#include <algorithm>

bool CreateInstrumentDefinition() {
    HWND owner = shell.currentModuleWindow;
    const SaveDialogText text = {"Save As", "Quillfen instrument definition\0*.QXInstrument\0",
                                 "QXInstrument"};
    std::string chosen;
    if (!AskNewFileName(owner, text, chosen))
        return false;
    std::string path = CompleteExtension(chosen, ".QXI", "nstrument");
    HANDLE file = CreateChosenFile(owner, path, definitionCreateFailedText);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok =
        WriteFile(file, &instrument.definition, sizeof instrument.definition, &written, nullptr);
    ok = CloseHandle(file) && ok && written == sizeof instrument.definition;
    if (!ok) {
        // A definition that did not reach the disk must not look saved.
        ShowMessageBox(owner, definitionCreateFailedText, fileCreateFailedCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    instrument.name = BaseNameOf(path);
    return true;
}

void LoadDeviceList(HWND list) {
    std::vector<std::string> lines;
    if (!ReadDeviceList(DefinitionPath(shell.programFolder, instrument.name), lines))
        return;
    // A saved list of another length (saved under another range, or damaged) would let Save and
    // Copy address programs outside the range: only its lines for the range's lines are taken.
    const LRESULT shown = SendMessageA(list, LB_GETCOUNT, 0, 0);
    lines.resize(std::min(lines.size(), static_cast<std::size_t>(std::max<LRESULT>(shown, 0))));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        SendMessageA(list, LB_DELETESTRING, line, 0);
        SendMessageA(list, LB_INSERTSTRING, line, reinterpret_cast<LPARAM>(lines[line].c_str()));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void SaveDeviceList(HWND list) {
    std::vector<std::string> lines;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        std::string line(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
        if (length > 0)
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(line);
    }
    WriteDeviceList(DefinitionPath(shell.programFolder, instrument.name), lines);
}

std::vector<std::string> ListInstrumentDefinitions() {
    std::vector<std::string> names = ListFolderFiles(shell.programFolder, definitionExtension);
    for (std::string& name : names)
        name = BaseNameOf(name);
    return names;
}
