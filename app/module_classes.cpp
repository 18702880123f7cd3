#include "app/module_classes.h"

#include "editor/editor_window.h"
#include "editor/graph_window.h"
#include "editor/time_track.h"
#include "librarian/definition_dialog.h"
#include "librarian/librarian_window.h"
#include "manager/manager_window.h"
#include "shell/dialog_template.h"
#include "shell/module_windows.h"
#include "shell/shell_state.h"

namespace {

struct ModuleDescription {
    int code;
    const char* dialogResource;
    const char* windowClass;
    const char* icon;
    DLGPROC procedure;
};

// Indexed by end code - 1.
const ModuleDescription modules[] = {
    {moduleManager, "MainWindow", managerWindowClass, "AProgramIcon", ManagerWindowProc},
    {moduleLibrarian, "Librarian", librarianWindowClass, "DBanksIcon", LibrarianWindowProc},
    {moduleEditor, "Editor", editorWindowClass, "zM1Icon", EditorWindowProc},
};

} // namespace

void LoadModuleIcons() {
    for (int i = 0; i < 3; ++i)
        shell.moduleIcons[i] = LoadIconA(shell.instance, modules[i].icon);
}

void DestroyModuleIcons() {
    for (HICON& icon : shell.moduleIcons) {
        if (icon)
            DestroyIcon(icon);
        icon = nullptr;
    }
}

bool RegisterWindowClasses() {
    HBRUSH lightGrey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    for (int i = 0; i < 3; ++i) {
        WNDCLASSA moduleClass{};
        moduleClass.lpfnWndProc = ModuleWindowProc;
        moduleClass.cbWndExtra = DLGWINDOWEXTRA;
        moduleClass.hInstance = shell.instance;
        moduleClass.hIcon = shell.moduleIcons[i];
        moduleClass.hbrBackground = lightGrey;
        moduleClass.lpszClassName = modules[i].windowClass;
        if (!RegisterClassA(&moduleClass))
            return false;
    }
    WNDCLASSA timeTrack{};
    timeTrack.lpfnWndProc = TimeTrackProc;
    timeTrack.cbWndExtra = 4;
    timeTrack.hInstance = shell.instance;
    timeTrack.lpszClassName = "QX_TimeTrack";
    if (!RegisterClassA(&timeTrack))
        return false;
    WNDCLASSA graph{};
    graph.style = CS_HREDRAW | CS_VREDRAW;
    graph.lpfnWndProc = GraphWindowProc;
    graph.hInstance = shell.instance;
    graph.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    graph.lpszClassName = "QX_SysexGraph";
    return RegisterClassA(&graph) != 0;
}

bool CopyModuleDialogs() {
    for (int i = 0; i < 3; ++i) {
        HRSRC found = FindResourceA(shell.instance, modules[i].dialogResource, RT_DIALOG);
        HGLOBAL loaded = found ? LoadResource(shell.instance, found) : nullptr;
        const void* description = loaded ? LockResource(loaded) : nullptr;
        if (!description)
            return false;
        shell.moduleDialogs[i] =
            CopyDialogWithClass(static_cast<const std::uint8_t*>(description),
                                SizeofResource(shell.instance, found), modules[i].windowClass);
        if (shell.moduleDialogs[i].empty())
            return false;
    }
    return true;
}

void ReleaseModuleDialogs() {
    for (auto& copy : shell.moduleDialogs) {
        copy.clear();
        copy.shrink_to_fit();
    }
}

int RunModuleWindow(int code) {
    if (code < moduleManager || code > moduleEditor)
        return moduleQuit;
    const ModuleDescription& module = modules[code - 1];
    const auto& copy = shell.moduleDialogs[code - 1];
    if (copy.empty())
        return moduleQuit;
    INT_PTR result =
        DialogBoxIndirectParamA(shell.instance, reinterpret_cast<const DLGTEMPLATE*>(copy.data()),
                                nullptr, module.procedure, 0);
    if (result < moduleQuit || result > moduleEditor)
        return moduleQuit;
    return static_cast<int>(result);
}

bool ChooseInstrument(HWND owner, bool automaticPass) {
    InstrumentChoice choice{automaticPass};
    const INT_PTR result = DialogBoxParamA(shell.instance, "EnterLibrarian", owner,
                                           InstrumentDialogProc, reinterpret_cast<LPARAM>(&choice));
    return result != definitionCancelled && result != -1;
}
