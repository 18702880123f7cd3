#include "loader/loader_state.h"
#include "loader/start_choice.h"

#include <string>

namespace {

constexpr int exitMainProgramNotStarted = 1;

std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length && text ? std::string(text, length) : std::string{};
    if (text)
        LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
        result.pop_back();
    if (result.empty())
        result = "Error " + std::to_string(error) + ".";
    return result;
}

DWORD lastStartError = 0;

} // namespace

bool StartMainProgram() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = MainProgramCommandLine(loader.programPath, loader.commandLineTail);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(loader.programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
        lastStartError = GetLastError();
        return false;
    }
    CloseHandle(process.hThread);
    loader.mainProgram = process.hProcess;
    return true;
}

// A main program that ends without ever showing a module window (a /send, or a crash) would
// otherwise leave the title on screen for good: the user cannot close it.
bool MainProgramHasEnded() {
    return loader.mainProgram && WaitForSingleObject(loader.mainProgram, 0) == WAIT_OBJECT_0;
}

void ReportStartFailure() {
    loader.exitCode = exitMainProgramNotStarted;
    std::string text = "Talvane cannot start its main program\n\n" + loader.programPath + "\n\n" +
                       SystemErrorText(lastStartError) +
                       "\n\nTalvane95.dat must be in the same folder as Talvane95.exe.";
    MessageBoxA(nullptr, text.c_str(), "Talvane 95",
                MB_OK | MB_ICONSTOP | MB_SETFOREGROUND | MB_TOPMOST);
}

int StartWithoutTitle() {
    if (!StartMainProgram()) {
        ReportStartFailure();
        return loader.exitCode;
    }
    CloseHandle(loader.mainProgram);
    return 0;
}
