#pragma once
// Reading and operating the controls of the program's windows from the test process.
//
// Every message to the program goes with a timeout (kAnswerTimeout), so a hung program fails the
// test instead of hanging it. Texts are read with the Unicode messages and converted to the
// program's 8-bit character set: Wine hands the ANSI list-box and combo-box texts of another
// process back as Unicode, so the 'A' messages would return one character.
//
// Actions that a user performs (pressing a button, choosing a list entry, minimizing) reach the
// program as the notifications the control would send, through Deliver(): it returns once the
// program has handled the message, or as soon as the program waits for the user inside its
// handling (a message box or dialog it opened), so a test can go on and answer that. It tells
// the two apart by sending a second message behind the first and, when the program takes that
// one early, by checking that the program also repaints, which a loop of its own does and a
// handler waiting for another thread's answer does not. A handler that paints its window
// itself while a message is being delivered can still look like a loop of its own.

#include "harness/wait.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

inline constexpr Milliseconds kAnswerTimeout{5000};

// Sends a message and returns the program's answer; on timeout or failure records a test
// failure and returns nothing. AskWide sends the Unicode form (for messages carrying text).
std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::optional<LRESULT> AskWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Conversions between the program's 8-bit character set (the ANSI code page) and Unicode.
std::string Narrow(std::wstring_view text);
std::wstring Wide(std::string_view text);

enum class Delivery {
    Handled,    // the window procedure returned
    Waiting,    // the program waits for the user in a loop of its own (modal dialog, message box)
    WindowGone, // the window was destroyed meanwhile (the program may have ended)
    TimedOut,   // the program was busy for the whole timeout
    Failed,     // the message could not be sent
};
const char* Name(Delivery delivery);

// Sends the message and waits as described above. Messages with pointers cannot be delivered
// this way (use Ask).
Delivery Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 Milliseconds timeout = kDefaultTimeout);
// Waits until the program's thread that owns `window` has taken every message posted or queued
// to it before this call (posted messages and keyboard input come before painting, so the
// window is made to repaint and the wait ends when it has). The window must be visible and not
// minimized; for any other window the wait fails at once.
[[nodiscard]] testing::AssertionResult WaitUntilIdle(HWND window,
                                                     Milliseconds timeout = kDefaultTimeout);

// Lets a window that has just appeared finish opening: its first painting and the window
// system's answers to its first placement. WaitForWindowOf and WaitForMessageBox do this before
// they return a window.
void SettleWindow(HWND window);

// Handled, Waiting and WindowGone succeed.
testing::AssertionResult Delivered(Delivery delivery, std::string_view what);

// The control `id` of a dialog; records a failure (listing the dialog's controls) if missing.
HWND Control(HWND dialog, int id);

// WM_SETTEXT: replaces a window's text or an edit field's contents at once (the edit field then
// notifies its parent with EN_CHANGE, as it does for any change). Use TypeText to type.
testing::AssertionResult SetText(HWND window, std::string_view text);

// A button click: BN_CLICKED from the button to its parent. Fails, without clicking, when the
// button is hidden or disabled, since a user could not click it either.
testing::AssertionResult Press(HWND button);
testing::AssertionResult Press(HWND dialog, int buttonId);

// WM_COMMAND with the given ID, as a menu or accelerator would send it.
testing::AssertionResult Command(HWND window, int id, int notification = 0, HWND control = nullptr);

std::vector<std::string> ListBoxItems(HWND list);
int ListBoxSelection(HWND list); // -1: none
// Selects the entry and, when the list box notifies (LBS_NOTIFY), sends its parent
// LBN_SELCHANGE as a click would. DoubleClickListBoxItem then sends LBN_DBLCLK.
testing::AssertionResult SelectListBoxItem(HWND list, int index);
testing::AssertionResult DoubleClickListBoxItem(HWND list, int index);

std::vector<std::string> ComboBoxItems(HWND combo);
int ComboBoxSelection(HWND combo); // -1: none
// Selects the entry and sends the parent CBN_SELCHANGE, as choosing it from the list would.
testing::AssertionResult SelectComboBoxItem(HWND combo, int index);

// WM_CLOSE, posted (as the close box would); wait for its effect.
void Close(HWND window);
// The window's minimize and restore commands (WM_SYSCOMMAND), as from its system menu; they
// return once the window is minimized or restored.
testing::AssertionResult Minimize(HWND window);
testing::AssertionResult Restore(HWND window);

} // namespace e2e
