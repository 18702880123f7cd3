#pragma once
// The mouse as a user moves it: real input through the system's queue (SendInput), so the
// program sees the button, the capture and the moves as from the hand, not as messages posted to
// one window. Positions are screen coordinates.
#include <windows.h>

namespace e2e {

// Moves the pointer to `to`, in `steps` moves with a short pause between them.
void MoveMouse(POINT to, int steps = 1);
// Presses the left button at `at` and lets it go.
void ClickMouse(POINT at);
// Presses the left button at `from`, moves to `to` in a few steps and lets it go there.
void DragMouse(POINT from, POINT to);
// The screen position of a point of a window's client area.
POINT ScreenPoint(HWND window, int x, int y);

} // namespace e2e
