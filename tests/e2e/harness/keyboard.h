#pragma once
// The keyboard: holding CTRL the way a user does, keys and typed characters.
//
// CTRL is held the way a keyboard holds it: under Wine in the X server itself (with xdotool),
// elsewhere through the system's input queue (SendInput). GetAsyncKeyState in every process and,
// once the program's thread has taken the key message, GetKeyState in the program see it. A CTRL
// sent only with SendInput does not last under Wine: Wine takes the X server's key state over
// whenever one of its windows gains the focus. A process that starts while CTRL is held sees it
// through GetAsyncKeyState; GetKeyState of a thread that has not received the key message says up.

#include "harness/wait.h"

#include <windows.h>

#include <string_view>

namespace e2e {

// Presses CTRL. With a window: first makes its top-level window the foreground window (key
// messages go there) and then waits until that window's thread has taken the key message, so
// that its GetKeyState sees CTRL down. Without one: waits until GetAsyncKeyState sees it.
[[nodiscard]] testing::AssertionResult HoldCtrl(HWND window = nullptr);
// Releases CTRL, waiting in the same way.
[[nodiscard]] testing::AssertionResult ReleaseCtrl(HWND window = nullptr);

// Holds CTRL for its lifetime, so that a test ending early never leaves it down.
//   { e2e::CtrlHeld ctrl(manager); ASSERT_TRUE(ctrl.held); ... }
struct CtrlHeld {
    explicit CtrlHeld(HWND window = nullptr);
    ~CtrlHeld();
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;
    HWND window;
    testing::AssertionResult held;
};

// Releases CTRL if a crashed test left it down; Launch calls it before every start.
void ReleaseStrayCtrl();

// Posts WM_KEYDOWN and WM_KEYUP of the key to the window (the focused control, or a dialog),
// as the keyboard would, and waits until the program has taken them (WaitUntilIdle).
[[nodiscard]] testing::AssertionResult PressKey(HWND window, int virtualKey);
// Posts one WM_CHAR per character (8-bit text), as typing into the window would, and waits until
// the program has taken them.
[[nodiscard]] testing::AssertionResult TypeText(HWND window, std::string_view text);
// Presses and releases a key through the system's input queue: it reaches the window that has
// the keyboard focus.
[[nodiscard]] testing::AssertionResult SendKey(int virtualKey);

} // namespace e2e
