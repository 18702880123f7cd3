#include "harness/mouse.h"

namespace e2e {

namespace {

// Absolute positions of SendInput run from 0 to 65535 across the primary screen.
INPUT AbsoluteInput(POINT at, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height / 2) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

void Send(POINT at, DWORD flags) {
    INPUT input = AbsoluteInput(at, flags);
    SendInput(1, &input, sizeof input);
    // Gives the program's thread time to take each event before the next, as a hand would.
    Sleep(40);
}

POINT Between(POINT from, POINT to, int step, int steps) {
    return {from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps};
}

} // namespace

void MoveMouse(POINT to, int steps) {
    POINT from{};
    GetCursorPos(&from);
    for (int step = 1; step <= steps; ++step)
        Send(Between(from, to, step, steps), 0);
}

void ClickMouse(POINT at) {
    MoveMouse(at);
    Send(at, MOUSEEVENTF_LEFTDOWN);
    Send(at, MOUSEEVENTF_LEFTUP);
}

void DragMouse(POINT from, POINT to) {
    MoveMouse(from);
    Send(from, MOUSEEVENTF_LEFTDOWN);
    const int steps = 4;
    for (int step = 1; step <= steps; ++step)
        Send(Between(from, to, step, steps), 0);
    Send(to, MOUSEEVENTF_LEFTUP);
}

POINT ScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

} // namespace e2e
