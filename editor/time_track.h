#pragma once
#include <windows.h>

// The time-track control (class "QX_TimeTrack", procedure TimeTrackProc): a two-half switch
// beside an envelope time. The states are those of editor/time_track_state.h.
LRESULT CALLBACK TimeTrackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Set both halves (wParam tracking, lParam velocity, each 0 negative, 1 off, 2 positive; the
// control repaints) and read each half as the bits one envelope stage contributes to the switch
// bytes (0 off, 0x01 positive, 0x11 negative).
inline constexpr UINT timeTrackSetStates = 0x00F3;
inline constexpr UINT timeTrackGetTracking = 0x0465;
inline constexpr UINT timeTrackGetVelocity = 0x0466;
