#pragma once
#include <windows.h>
#include <mmsystem.h>

// The Manager's handling of a returned input buffer (MM_MIM_LONGDATA): its bytes go into the
// message store and the buffer is queued again; so do those of any other buffers whose notices
// already wait in the window's queue.
void ReceiveBuffer(HWND window, MIDIHDR* header);
// Handles the input buffers already handed back to `window` and waiting in its queue, so that a
// command that reads or empties the store finds in it everything received before the command.
void TakeQueuedInput(HWND window);
