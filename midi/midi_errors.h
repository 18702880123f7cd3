#pragma once
#include <windows.h>
#include <mmsystem.h>

// A failed MIDI operation is shown with the system's own error text, captioned with a short code
// of the routine, a slash, the failed operation and " Error", owned by the current module window.
// Nothing is undone; the caller goes on.
void ReportMidiInError(const char* caption, MMRESULT code);
void ReportMidiOutError(const char* caption, MMRESULT code);
