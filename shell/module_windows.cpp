#include "shell/module_windows.h"

#include "shell/dialog_template.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

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
    {moduleManager, "MainWindow", "QX_SysEx", "AProgramIcon", ManagerWindowProc},
    {moduleLibrarian, "Librarian", "QX_SysX2", "DBanksIcon", LibrarianWindowProc},
    {moduleEditor, "Editor", "QX_SysX3", "zM1Icon", EditorWindowProc},
};

const char loaderClass[] = "QX_Loader";

bool IsLoaderWindow(HWND window) {
    char className[sizeof loaderClass + 1] = {};
    return IsWindow(window) && GetClassNameA(window, className, sizeof className) > 0 &&
           lstrcmpA(className, loaderClass) == 0;
}

} // namespace

LRESULT CALLBACK ModuleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case titleWindowMessage: {
        // Any program can post this message; only the title loader's window is ever closed.
        HWND announced = reinterpret_cast<HWND>(wParam);
        if (IsLoaderWindow(announced))
            shell.titleWindow = announced;
        break;
    }
    case WM_PAINT:
        shell.firstPaint = true;
        StopWatchingStartupBoxes();
        if (shell.titleWindow) {
            SendMessageA(shell.titleWindow, WM_CLOSE, 0, 0);
            shell.titleWindow = nullptr;
            if (IsWindowEnabled(window))
                SetForegroundWindow(window);
        }
        break;
    }
    return DefDlgProcA(window, message, wParam, lParam);
}

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

void PlaceModuleWindow(HWND window) {
    SetWindowPos(window, nullptr, settings.WindowX, settings.WindowY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void RememberModuleWindowPosition(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return;
    settings.WindowX = placement.rcNormalPosition.left;
    settings.WindowY = placement.rcNormalPosition.top;
}

namespace {

struct OwnedBoxSearch {
    HWND owner;
    bool found = false;
};

BOOL CALLBACK FindOwnedBox(HWND candidate, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedBoxSearch*>(lParam);
    char className[8] = {};
    search->found = GetWindow(candidate, GW_OWNER) == search->owner && IsWindowVisible(candidate) &&
                    GetClassNameA(candidate, className, sizeof className) > 0 &&
                    lstrcmpA(className, "#32770") == 0;
    return !search->found;
}

} // namespace

bool OwnedBoxOpen(HWND window) {
    OwnedBoxSearch search{window};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CloseTitleWindow() {
    if (!shell.titleWindow || !shell.firstPaint)
        return;
    SendMessageA(shell.titleWindow, WM_CLOSE, 0, 0);
    shell.titleWindow = nullptr;
}

void CloseLoaderWindow() {
    // Once closed, the title needs no more watching for boxes.
    StopWatchingStartupBoxes();
    HWND loader = FindWindowA(loaderClass, nullptr);
    if (loader)
        SendMessageA(loader, WM_CLOSE, 0, 0);
}
