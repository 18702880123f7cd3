#include "shell/help.h"

#include "shell/debug_trace.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

#include <windows.h>

#include <cstdio>

namespace {

// The HTML Help commands the program uses (htmlhelp.h).
constexpr UINT helpContextCommand = 0x000F; // HH_HELP_CONTEXT
constexpr UINT closeAllCommand = 0x0012;    // HH_CLOSE_ALL

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The viewer lives in hhctrl.ocx, loaded at the first help call and kept until exit: it owns
// the viewer window. Loading it at run time keeps the program starting on a system without it.
HtmlHelpFunction htmlHelp = nullptr; // set once help has been asked for and the viewer loaded

// From the system folder only: by its bare name the search would take a copy placed in the
// program's folder first.
HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return nullptr;
    if (std::snprintf(path + length, sizeof path - length, "\\%s", name) >=
        static_cast<int>(sizeof path - length))
        return nullptr;
    // The viewer's own libraries are then looked for beside it first.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HtmlHelpFunction LoadViewer() {
    if (!htmlHelp) {
        HMODULE viewer = LoadSystemLibrary("hhctrl.ocx");
        if (viewer)
            htmlHelp = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void*>(GetProcAddress(viewer, "HtmlHelpA")));
    }
    return htmlHelp;
}

} // namespace

void ShowHelp(int context) {
    char helpFile[sizeof shell.programFolder + 16];
    std::snprintf(helpFile, sizeof helpFile, "%s\\Talvane95.chm", shell.programFolder);
    char trace[32];
    std::snprintf(trace, sizeof trace, "Help context %d", context);
    DebugTrace(trace);
    // No owner: the module window that asks is destroyed at the next module switch, and the
    // viewer would go with it.
    if (LoadViewer() &&
        htmlHelp(nullptr, helpFile, helpContextCommand, static_cast<DWORD_PTR>(context)))
        return;
    // The viewer says nothing itself when it cannot show the page.
    char text[sizeof helpFile + 160];
    std::snprintf(text, sizeof text,
                  htmlHelp ? "The help file %s could not be opened."
                           : "The help file %s cannot be shown: the HTML Help viewer "
                             "(hhctrl.ocx) is not installed.",
                  helpFile);
    ShowMessageBox(shell.currentModuleWindow, text, "Help", MB_OK | MB_ICONEXCLAMATION);
}

void CloseHelp() {
    // A viewer never loaded has no window to close.
    if (htmlHelp)
        htmlHelp(nullptr, nullptr, closeAllCommand, 0);
}
