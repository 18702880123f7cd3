#pragma once
// Finding the windows of the program under test: its top-level windows, which include the
// windows they own (dialogs, message boxes), of every process of the run.

#include "harness/program.h"
#include "harness/wait.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct WindowQuery {
    std::string className{};              // exact class name; empty: any class
    std::optional<std::string> caption{}; // exact caption; nothing: any caption
    HWND owner = nullptr;                 // when set: only windows owned by this one
    // A dialog becomes visible after its WM_INITDIALOG, so waiting for a visible window also
    // waits until its controls exist and hold their first contents.
    bool visibleOnly = true;
};

// Matching top-level windows of the run, topmost first.
std::vector<HWND> FindWindowsOf(const Program& program, const WindowQuery& query);
// The topmost matching window, or nullptr.
HWND FindWindowOf(const Program& program, const WindowQuery& query);
// Polls until a matching window exists and lets it finish opening (SettleWindow). On timeout
// records a test failure that lists the program's windows (and saves a screenshot of the
// screen) and returns nullptr.
HWND WaitForWindowOf(const Program& program, const WindowQuery& query,
                     Milliseconds timeout = kDefaultTimeout);
// Waits until the window no longer exists.
[[nodiscard]] testing::AssertionResult WaitUntilGone(HWND window,
                                                     Milliseconds timeout = kDefaultTimeout);

// The window's class name and its text (WM_GETTEXT, which edit fields answer with their
// contents), in the program's 8-bit character set. Records a failure if the program does not
// answer within a few seconds.
std::string ClassOf(HWND window);
std::string Text(HWND window);

// One line per top-level window of the run: handle, class, caption, visibility and owner; and
// the same for `window` and its controls. For failure messages.
std::string DescribeWindows(const Program& program);
std::string DescribeWindow(HWND window);

} // namespace e2e
