#pragma once
// What another process was started with: its command line and its current folder, read from its
// process parameters, as a debugger reads them.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

struct ProcessParameters {
    std::string commandLine;   // the whole command line, the program's own name included
    std::string currentFolder; // with its trailing backslash
};

// Of the process that owns `window`. Nothing when it cannot be read (it ended, or its width differs
// from the test program's).
std::optional<ProcessParameters> ReadProcessParameters(HWND window);

} // namespace e2e
