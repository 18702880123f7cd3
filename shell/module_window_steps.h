#pragma once
#include <windows.h>

// The steps every module window (Manager, Librarian, Program Editor) takes as it opens, at its
// title timer and as it is destroyed. Each window calls them in its own order among its own
// steps: the ports, input buffers and stores stay with the window, which knows when they open
// and close.

// Whether the window stands where the last module window stood as soon as it opens, or only
// after its own set-up (the Program Editor lays out its page first).
enum class ModuleWindowPlacing { atOnce, later };

// Opening: `window` becomes the current module window and `module` the current module; its first
// paint (which closes the title picture) is still to come.
void OpenModuleWindow(HWND window, int module, ModuleWindowPlacing placing);

// At a tick of the timer `timer` that waits for the title picture: while the title is up and the
// window has not painted, nothing happens and the timer ticks on (false). Otherwise the title
// goes, the timer stops and the window's own half-second work may follow (true).
bool EndTitleTimer(HWND window, UINT_PTR timer);

// Closing, before the ports close: the module is no longer the current one.
void LeaveModule(int module);
// Closing, once the ports are closed: the next module window stands where this one stood (when
// it was placed at all: an Editor that refused its definition at opening never was), and there
// is no current module window.
void CloseModuleWindow(HWND window, bool wasPlaced);
