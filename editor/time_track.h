#pragma once
#include <windows.h>

// The time-track control (class "QX_TimeTrack", procedure TimeTrackProc in
// shell/module_windows.h): a two-half switch beside an envelope time. The states are those of
// editor/time_track_state.h.

// wParam: the tracking state, lParam: the velocity state; the control repaints.
inline constexpr UINT TimeTrackSetStates = 0x00F3;
// The bits one stage puts into a switch byte: 0 off, 0x01 positive, 0x11 negative.
inline constexpr UINT TimeTrackGetTracking = 0x0465;
inline constexpr UINT TimeTrackGetVelocity = 0x0466;
