#pragma once
// Starting the program under test and making sure it ends.
//
// Launch() starts Talvane95.dat, Talvane95.exe (or any program of the bin folder) in the
// current test's scratch folder, with fresh settings and the virtual instrument configured
// through the environment. The returned Program owns every process it started, the title
// loader's child included: its destructor ends whatever still runs, so a failing test never
// leaves a program behind.

#include "harness/scratch.h"
#include "harness/wait.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// How the virtual instrument behaves in this run; passed to the program as TALVANE_VI_*
// environment variables. Empty or zero fields leave the instrument's own default.
struct InstrumentSettings {
    std::string mode{};     // TALVANE_VI_MODE: "m1", "loopback" or "silent"
    int channel = 0;        // TALVANE_VI_CHANNEL: global MIDI channel 1-16 of the M1
    bool wireSpeed = false; // TALVANE_VI_WIRE_SPEED=1: 320 microseconds a byte each way
    int dropEvery = 0;      // TALVANE_VI_DROP_EVERY: drop every Nth reply
    std::string failOpen{}; // TALVANE_VI_FAIL_OPEN: "in", "out" or "both" refuse to open
    bool log = true;        // TALVANE_VI_LOG: write the log to Program::instrumentLog
};

struct LaunchOptions {
    std::string program = "Talvane95.dat"; // a file of the bin folder, or a full path
    std::string arguments{};               // the command line after the program's name
    std::vector<ScratchFile> workFiles{};  // put into the working folder before the start
    // Run a copy of the program (with midimap.dll and programFiles) from a scratch program
    // folder instead of the bin folder: instrument definitions and banks live beside the
    // program. Giving programFiles implies it.
    bool separateProgramFolder = false;
    // In the separate program folder, leave out the virtual instrument: Wine then has no MIDI
    // device at all (the override that names it native-only finds nothing to load).
    bool withoutInstrument = false;
    std::vector<ScratchFile> programFiles{};
    bool freshRegistry = true; // ResetRegistry() before the start
    InstrumentSettings instrument{};
    std::vector<std::pair<std::string, std::string>> environment{}; // further variables
};

struct Program {
    HANDLE job = nullptr;     // holds every process started for this run
    HANDLE process = nullptr; // the process Launch started
    DWORD processId = 0;
    std::string programPath;   // what was started
    std::string programFolder; // the folder it runs from
    std::string workFolder;    // its current folder
    std::string instrumentLog; // the virtual instrument's log (empty when not logged)

    Program() = default;
    Program(Program&& other) noexcept;
    Program& operator=(Program&& other) noexcept;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program(); // ends every process of the run that still runs

    explicit operator bool() const { return process != nullptr; }
};

// Exit code of the processes that the harness ends itself.
inline constexpr DWORD kTerminatedExitCode = 0x7E57;

// Starts the program; on failure records a test failure and returns an empty Program (false).
// The working folder is "<scratch>\work", a separate program folder "<scratch>\program", the
// instrument's log "<scratch>\instrument.log" (deleted first).
Program Launch(const LaunchOptions& options = {});

// The ids of the processes of the run that are still alive (the title loader's child too).
std::vector<DWORD> ProcessIds(const Program& program);
bool IsRunning(const Program& program);

// "the program ended with exit code N" (or that it still runs), for failure messages.
std::string HowItEnded(const Program& program);

// Waits until the started process ends and returns its exit code; on timeout records a test
// failure and returns nothing.
std::optional<DWORD> WaitForExit(const Program& program, Milliseconds timeout = kDefaultTimeout);
// The same for any process handle (for example the main program started by the title loader).
std::optional<DWORD> WaitForExit(HANDLE process, Milliseconds timeout = kDefaultTimeout);

// Waits until no process of the run is left; records a test failure on timeout.
[[nodiscard]] testing::AssertionResult WaitUntilAllEnded(const Program& program,
                                                         Milliseconds timeout = kDefaultTimeout);

// Ends every process of the run at once (exit code kTerminatedExitCode).
void Terminate(Program& program);

// An open process handle that closes itself.
struct ProcessHandle {
    HANDLE value = nullptr;
    ProcessHandle() = default;
    explicit ProcessHandle(HANDLE handle) : value(handle) {}
    ProcessHandle(ProcessHandle&& other) noexcept : value(std::exchange(other.value, nullptr)) {}
    ProcessHandle& operator=(ProcessHandle&& other) noexcept;
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    ~ProcessHandle();
    explicit operator bool() const { return value != nullptr; }
};

// The process that owns `window`, opened for waiting and reading its exit code.
ProcessHandle OpenProcessOf(HWND window);

} // namespace e2e
