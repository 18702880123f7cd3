#pragma once
// The title loader's process-wide state, set up once at start.
#include <windows.h>

#include <string>

struct LoaderState {
    HINSTANCE instance = nullptr;
    std::string programPath;     // this program's folder followed by "\Talvane95.dat"
    std::string commandLineTail; // the arguments as received, passed on unchanged
    int startModule = 0;         // 0 Manager, 1 Librarian
    bool editorPossible = false; // the arguments name a Korg M1 definition of the current folder
    HBITMAP titleBitmap = nullptr;
    HPALETTE titlePalette = nullptr;
    HBRUSH markerBrush = nullptr;
    bool launched = false;        // the main program has been started from the first paint
    HANDLE mainProgram = nullptr; // its process, watched while the title waits for its window
    int exitCode = 0;             // what the loader ends with
};

extern LoaderState loader;

// Starting the main program (main_program.cpp).
bool StartMainProgram();
bool MainProgramHasEnded();
// Tells the user that the main program could not be started, naming the file looked for.
void ReportStartFailure();
// Starts the main program with no title to wait for it; returns the loader's exit code.
int StartWithoutTitle();

// The title picture (title_bitmap.cpp).
void LoadTitlePicture(HDC dc, const char* name, HBITMAP* bitmap);
void RealizeTitlePalette(HDC dc);

// The title window (title_window.cpp); returns the exit code of its message loop.
int ShowTitleWindow();
