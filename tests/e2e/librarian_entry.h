#pragma once
// Waiting for the Librarian window from tests of other modules that pass through it.
#include "harness/e2e.h"

#include <string>

namespace librarian_entry {

// The Librarian window once it shows. With no bank made for the definition's program size the
// Librarian first asks for a new bank file; a user who only passes through cancels it.
inline HWND WaitForLibrarianWindow(const e2e::Program& program) {
    HWND librarian = nullptr;
    const auto shown = e2e::WaitUntil(
        [&] {
            librarian = e2e::FindWindowOf(program, {.className = "QX_SysX2"});
            if (librarian)
                return true;
            if (HWND ask = e2e::FindWindowOf(
                    program, {.className = "#32770", .caption = "Create new bank file..."}))
                PostMessageA(ask, WM_COMMAND, IDCANCEL, 0);
            return false;
        },
        "the Librarian window");
    return shown ? librarian : nullptr;
}

} // namespace librarian_entry
