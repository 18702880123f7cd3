#pragma once
#include <windows.h>

#include "shell/command_line.h"

// The main program: start-up, the module loop and the exit steps. Returns the process's exit
// code: 0, or 1 when the program cannot start (it has said why in a box).
int RunTalvane(HINSTANCE instance, const char* commandLine);

// How the command line wants the program to go on.
enum class StartOutcome {
    runModules, // show firstModule, then whatever each module window asks for
    exitSteps,  // the work is done (a command-line send): straight to the exit steps
    endAtOnce,  // a command-line error has been reported: end without the exit steps
};

struct StartChoice {
    StartOutcome outcome = StartOutcome::runModules;
    int firstModule = 1;
};

// Carries out the command line: sends a file, or chooses the first module (for the Librarian
// switches, also the instrument definition, bank position and automatic pass).
StartChoice StartFromCommandLine(const CommandLineRequest& request);

// The command-line send: the file goes to the output port without any window.
void SendFileFromCommandLine(const char* path);
