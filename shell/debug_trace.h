#pragma once
#include <windows.h>

#include <atomic>

// A diagnostic channel: each trace line is typed into an open Notepad window titled
// "talvane32.log - Notepad". The window is looked for once, at the first line; a Notepad opened
// later receives nothing. Lines are posted, never sent, so tracing never waits; any thread may
// trace once the first line has been traced on the user-interface thread.
void DebugTrace(const char* text);

enum class TraceLookup { notLookedUp, noTraceWindow, found };

struct DebugTraceState {
    std::atomic<TraceLookup> lookup{TraceLookup::notLookedUp};
    std::atomic<HWND> target{nullptr}; // Notepad's edit area once found
};

extern DebugTraceState debugTrace;
