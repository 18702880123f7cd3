#pragma once
#include "editor/m1_program.h"

// The Program Editor's process-wide state: the program being edited, the copy of the last
// program received from the instrument (what "Revert" restores) and which program, oscillator
// and effect the dialog shows. It outlives the editor window, so reopening the editor finds the
// program it left.
struct EditorState {
    M1Program program{};
    M1Program backup{};
    int currentProgram = 0;     // 0-based index into the program list
    int selectedOscillator = 1; // 1 or 2
    int selectedEffect = 1;     // 1 or 2
};

extern EditorState editor;
