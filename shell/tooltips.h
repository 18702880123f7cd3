#pragma once
#include <windows.h>

// The tooltips of the module windows: one tooltip window per module window (and per dialog that
// has tips of its own), fed with the mouse by the message hook. Its level is the ToolTips
// setting: 0 Off (no tooltip window), 1 Normal (tips after a second), 2 Maximum (the system's
// delays, and extra tips the windows add only at this level).

// Creates the tooltip window of `window` and makes it the current one; none (and nullptr) while
// tooltips are off. The caller then adds its tools.
HWND CreateModuleTooltips(HWND window);
// Registers control `control` of `window` as a tool of the current tooltip window, identified by
// its window handle, showing `text`. Nothing while there is no tooltip window.
void AddTip(HWND window, int control, const char* text);
// Changes the text the tool of control `control` shows.
void UpdateTip(HWND window, int control, const char* text);
// The window that owns `tooltipWindow` is going, and the tooltip window with it (an owner
// destroys its owned windows first): if it is the current one, there is no current one now.
void ForgetModuleTooltips(HWND tooltipWindow);
