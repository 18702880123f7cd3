#include <windows.h>
#include <cstring>
#include <string>

// Starts the main program from this program's own folder with the same command line.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return 1;
    char* lastSlash = std::strrchr(path, '\\');
    std::string program(path, lastSlash ? lastSlash + 1 - path : 0);
    program += "Talvane95.dat";
    std::string line = "\"" + program + "\" " + commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
