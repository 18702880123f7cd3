#include "shell/debug_trace.h"

#include <cstring>

DebugTraceState debugTrace;

namespace {

const char traceWindowTitle[] = "talvane32.log - Notepad";
constexpr int notepadEditId = 15;

struct TitleSearch {
    HWND found = nullptr;
};

BOOL CALLBACK MatchTraceWindowTitle(HWND window, LPARAM lParam) {
    char title[sizeof traceWindowTitle + 1] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, traceWindowTitle) != 0)
        return TRUE;
    reinterpret_cast<TitleSearch*>(lParam)->found = window;
    return FALSE;
}

// The title must match exactly; a Notepad without its edit area is looked for again next time.
void LookUpTraceWindow() {
    TitleSearch search;
    EnumWindows(MatchTraceWindowTitle, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        debugTrace.lookup = TraceLookup::noTraceWindow;
        return;
    }
    HWND edit = GetDlgItem(search.found, notepadEditId);
    if (!edit)
        return;
    debugTrace.target = edit;
    debugTrace.lookup = TraceLookup::found;
}

} // namespace

void DebugTrace(const char* text) {
    // The lookup may ask windows of this process for their titles; it runs outside the lock so
    // that no thread waits for another that waits for it.
    if (debugTrace.lookup == TraceLookup::notLookedUp)
        LookUpTraceWindow();
    if (debugTrace.lookup != TraceLookup::found)
        return;
    HWND target = debugTrace.target;
    std::lock_guard<std::mutex> wholeLine(debugTrace.line);
    for (const char* c = text; *c; ++c)
        PostMessageA(target, WM_CHAR, static_cast<unsigned char>(*c), 0);
    PostMessageA(target, WM_CHAR, '\r', 0);
}
