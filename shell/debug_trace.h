#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>

// A diagnostic channel: each trace line is typed into an open Notepad window titled
// "talvane32.log - Notepad". The window is looked for once, at the first line; a Notepad opened
// later receives nothing. Lines are posted, never sent, so tracing never waits on Notepad. Any
// thread may trace: the MIDI output's completion traces from a thread of its own, and each line
// reaches Notepad whole, never mixed with the characters of another.
void DebugTrace(const char* text);

enum class TraceLookup { notLookedUp, noTraceWindow, found };

struct DebugTraceState {
    std::atomic<TraceLookup> lookup{TraceLookup::notLookedUp};
    std::atomic<HWND> target{nullptr}; // Notepad's edit area once found
    std::mutex line;                    // held while one line is typed
};

extern DebugTraceState debugTrace;
