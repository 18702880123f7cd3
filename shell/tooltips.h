#pragma once
#include <windows.h>

#include <span>

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
// One line of a window's tip table.
struct TipEntry {
    int control;
    const char* text;
    bool maximumOnly = false; // added only at the tooltip level Maximum
};
// Registers the tips of `tips` in table order, as AddTip does. A tip marked maximumOnly is left
// out below the level Maximum, and so is the tip of a control the window does not have (a button
// it took away at opening).
void AddTips(HWND window, std::span<const TipEntry> tips);
// Changes the text the tool of control `control` shows.
void UpdateTip(HWND window, int control, const char* text);
// The window that owns `tooltipWindow` is going, and the tooltip window with it (an owner
// destroys its owned windows first): if it is the current one, there is no current one now.
// `tooltipWindow`, the module window's record of it, is cleared.
void ForgetModuleTooltips(HWND& tooltipWindow);
