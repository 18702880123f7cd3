#pragma once
// Reading and answering the program's message boxes.
//
// A message box is a dialog of class "#32770" whose controls are only statics and buttons: its
// text is the static with ID 0xFFFF (65535) and its icon, if any, is shown by a static with
// the SS_ICON style (ID 20 on Windows, 1088 under Wine). Which icon it shows cannot be asked
// across processes (an icon handle means nothing in another process), so the harness compares
// the icon's pixels on the screen with the system's standard icons drawn here.

#include "harness/program.h"
#include "harness/wait.h"

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

enum class MessageBoxIcon { None, Stop, Exclamation, Information, Question, Other };
const char* Name(MessageBoxIcon icon);
std::ostream& operator<<(std::ostream& out, MessageBoxIcon icon);

struct MessageBoxInfo {
    HWND window = nullptr;
    HWND owner = nullptr; // nullptr: a message box without owner
    std::string caption;
    std::string text;
    MessageBoxIcon icon = MessageBoxIcon::None;
    std::vector<int> buttons;             // IDOK, IDCANCEL, IDYES, IDNO, ... from left to right
    std::vector<std::string> buttonTexts; // their captions ("OK", "&Yes", ...)
};

bool IsMessageBox(HWND window);

// Reads the message box; records a failure and returns nothing if `window` is not one.
std::optional<MessageBoxInfo> ReadMessageBox(HWND window);

// Waits for a visible message box of the program (with this caption, when one is given) and
// reads it. Records a failure on timeout.
std::optional<MessageBoxInfo> WaitForMessageBox(const Program& program,
                                                std::optional<std::string> caption = {},
                                                Milliseconds timeout = kDefaultTimeout);

// Presses one of the box's buttons (IDOK, IDYES, ...); fails if the box has no such button.
testing::AssertionResult Answer(const MessageBoxInfo& box, int buttonId);

} // namespace e2e
