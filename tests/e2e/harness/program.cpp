#include "harness/program.h"

#include "harness/keyboard.h"
#include "harness/registry.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

namespace e2e {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Environment variables are compared without regard to case, as Windows does.
using Environment = std::map<std::string, std::pair<std::string, std::string>>;

Environment CurrentEnvironment() {
    Environment environment;
    char* block = GetEnvironmentStringsA();
    if (!block)
        return environment;
    for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) {
        std::string text(entry);
        // Entries such as "=C:=C:\..." start with '=': the name runs to the second '='.
        size_t equals = text.find('=', 1);
        if (equals == std::string::npos)
            continue;
        std::string name = text.substr(0, equals);
        environment[Upper(name)] = {name, text.substr(equals + 1)};
    }
    FreeEnvironmentStringsA(block);
    return environment;
}

void Set(Environment& environment, const std::string& name, const std::string& value) {
    environment[Upper(name)] = {name, value};
}

// The child's environment: ours without any TALVANE_VI_ variable of the outside world, then the
// instrument's settings of this run and the test's own variables.
std::string ChildEnvironment(const LaunchOptions& options, const std::string& log) {
    Environment environment = CurrentEnvironment();
    std::erase_if(environment,
                  [](const auto& entry) { return entry.first.starts_with("TALVANE_VI_"); });
    const InstrumentSettings& instrument = options.instrument;
    if (!instrument.mode.empty())
        Set(environment, "TALVANE_VI_MODE", instrument.mode);
    if (instrument.channel)
        Set(environment, "TALVANE_VI_CHANNEL", std::to_string(instrument.channel));
    if (instrument.wireSpeed)
        Set(environment, "TALVANE_VI_WIRE_SPEED", "1");
    if (instrument.dropEvery)
        Set(environment, "TALVANE_VI_DROP_EVERY", std::to_string(instrument.dropEvery));
    if (!instrument.failOpen.empty())
        Set(environment, "TALVANE_VI_FAIL_OPEN", instrument.failOpen);
    if (!log.empty())
        Set(environment, "TALVANE_VI_LOG", log);
    for (const auto& [name, value] : options.environment)
        Set(environment, name, value);
    std::string block;
    for (const auto& [key, entry] : environment) {
        block += entry.first + "=" + entry.second;
        block += '\0';
    }
    block += '\0';
    return block;
}

bool CopyInto(const std::string& from, const std::string& folder) {
    std::string name = from.substr(from.find_last_of('\\') + 1);
    return CopyFileA(from.c_str(), JoinPath(folder, name).c_str(), FALSE);
}

// A copy of the program with the virtual instrument and the main program's companions (the
// title loader starts Talvane95.dat from its own folder).
bool PrepareProgramFolder(const LaunchOptions& options, const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    bool ok = CopyInto(JoinPath(BinFolder(), options.program), folder);
    for (const std::string& name : FileNames(BinFolder())) {
        std::string upper = Upper(name);
        if (upper.starts_with("TALVANE95.") ||
            (upper == "MIDIMAP.DLL" && !options.withoutInstrument))
            ok = CopyInto(JoinPath(BinFolder(), name), folder) && ok;
    }
    for (const ScratchFile& file : options.programFiles)
        ok = WriteFileBytes(JoinPath(folder, file.name), file.contents) && ok;
    return ok;
}

HANDLE NewJob() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job)
        return nullptr;
    // Closing the job (also when the test program itself dies) ends every process in it.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

} // namespace

Program::Program(Program&& other) noexcept
    : job(std::exchange(other.job, nullptr)), process(std::exchange(other.process, nullptr)),
      processId(other.processId), programPath(std::move(other.programPath)),
      programFolder(std::move(other.programFolder)), workFolder(std::move(other.workFolder)),
      instrumentLog(std::move(other.instrumentLog)) {}

Program& Program::operator=(Program&& other) noexcept {
    if (this != &other) {
        Program old(std::move(*this));
        job = std::exchange(other.job, nullptr);
        process = std::exchange(other.process, nullptr);
        processId = other.processId;
        programPath = std::move(other.programPath);
        programFolder = std::move(other.programFolder);
        workFolder = std::move(other.workFolder);
        instrumentLog = std::move(other.instrumentLog);
    }
    return *this;
}

Program::~Program() {
    if (job && IsRunning(*this))
        Terminate(*this);
    if (process)
        CloseHandle(process);
    if (job)
        CloseHandle(job);
}

Program Launch(const LaunchOptions& options) {
    ReleaseStrayCtrl();
    if (options.freshRegistry)
        ResetRegistry();

    Program program;
    std::string scratch = ScratchFolder();
    program.workFolder = JoinPath(scratch, "work");
    std::error_code error;
    std::filesystem::create_directories(program.workFolder, error);
    for (const ScratchFile& file : options.workFiles)
        if (!WriteFileBytes(JoinPath(program.workFolder, file.name), file.contents)) {
            ADD_FAILURE() << "cannot write " << file.name << " into " << program.workFolder;
            return Program{};
        }

    const bool fullPath = options.program.size() > 2 && options.program[1] == ':';
    program.programFolder = BinFolder();
    if (fullPath) {
        program.programFolder = options.program.substr(0, options.program.find_last_of('\\'));
    } else if (options.separateProgramFolder || options.withoutInstrument ||
               !options.programFiles.empty()) {
        program.programFolder = JoinPath(scratch, "program");
        if (!PrepareProgramFolder(options, program.programFolder)) {
            ADD_FAILURE() << "cannot prepare the program folder " << program.programFolder;
            return Program{};
        }
    }
    program.programPath =
        fullPath ? options.program : JoinPath(program.programFolder, options.program);

    if (options.instrument.log) {
        program.instrumentLog = JoinPath(scratch, "instrument.log");
        if (FileExists(program.instrumentLog) && !DeleteFileA(program.instrumentLog.c_str())) {
            ADD_FAILURE() << "cannot delete the old instrument log " << program.instrumentLog;
            return Program{};
        }
    }

    program.job = NewJob();
    if (!program.job) {
        ADD_FAILURE() << "CreateJobObject failed, error " << GetLastError();
        return Program{};
    }
    std::string environment = ChildEnvironment(options, program.instrumentLog);
    std::string commandLine = "\"" + program.programPath + "\"";
    if (!options.arguments.empty())
        commandLine += " " + options.arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Suspended until it is in the job, so that even its first child is caught.
    if (!CreateProcessA(program.programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, environment.data(), program.workFolder.c_str(), &startup,
                        &started)) {
        ADD_FAILURE() << "cannot start " << commandLine << ", error " << GetLastError();
        return Program{};
    }
    program.process = started.hProcess;
    program.processId = started.dwProcessId;
    if (!AssignProcessToJobObject(program.job, started.hProcess))
        ADD_FAILURE() << "AssignProcessToJobObject failed, error " << GetLastError();
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    return program;
}

std::vector<DWORD> ProcessIds(const Program& program) {
    if (!program.job)
        return {};
    // The list's array is declared with one element; the ids are read from the raw bytes, since
    // indexing past that one element lets the compiler assume there is only one.
    constexpr size_t kMostIds = 64;
    constexpr size_t kListOffset = offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList);
    alignas(JOBOBJECT_BASIC_PROCESS_ID_LIST) unsigned char
        buffer[kListOffset + kMostIds * sizeof(ULONG_PTR)]{};
    if (!QueryInformationJobObject(program.job, JobObjectBasicProcessIdList, buffer, sizeof buffer,
                                   nullptr))
        return {};
    JOBOBJECT_BASIC_PROCESS_ID_LIST header;
    std::memcpy(&header, buffer, kListOffset);
    size_t count = std::min<size_t>(header.NumberOfProcessIdsInList, kMostIds);
    std::vector<DWORD> result;
    for (size_t i = 0; i < count; ++i) {
        ULONG_PTR id = 0;
        std::memcpy(&id, buffer + kListOffset + i * sizeof id, sizeof id);
        result.push_back(static_cast<DWORD>(id));
    }
    return result;
}

bool IsRunning(const Program& program) {
    if (program.process && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT)
        return true;
    return !ProcessIds(program).empty();
}

std::string HowItEnded(const Program& program) {
    if (IsRunning(program))
        return "the program still runs";
    DWORD code = 0;
    if (!program.process || !GetExitCodeProcess(program.process, &code))
        return "the program has ended";
    std::ostringstream text;
    text << "the program ended with exit code " << code << " (0x" << std::hex << code << ")";
    return text.str();
}

std::optional<DWORD> WaitForExit(HANDLE process, Milliseconds timeout) {
    if (!process) {
        ADD_FAILURE() << "no process to wait for";
        return std::nullopt;
    }
    if (WaitForSingleObject(process, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the process did not end within " << Count(timeout) << " ms";
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code)) {
        ADD_FAILURE() << "GetExitCodeProcess failed, error " << GetLastError();
        return std::nullopt;
    }
    return code;
}

std::optional<DWORD> WaitForExit(const Program& program, Milliseconds timeout) {
    return WaitForExit(program.process, timeout);
}

testing::AssertionResult WaitUntilAllEnded(const Program& program, Milliseconds timeout) {
    return WaitUntil([&] { return !IsRunning(program); },
                     "every process of " + program.programPath + " has ended", timeout);
}

void Terminate(Program& program) {
    if (program.job)
        TerminateJobObject(program.job, kTerminatedExitCode);
    else if (program.process)
        TerminateProcess(program.process, kTerminatedExitCode);
    // Ending is asynchronous; give the processes a moment so that the next test starts clean.
    (void)WaitUntil([&] { return !IsRunning(program); }, "terminated", Milliseconds(5000));
}

ProcessHandle& ProcessHandle::operator=(ProcessHandle&& other) noexcept {
    if (this != &other) {
        if (value)
            CloseHandle(value);
        value = std::exchange(other.value, nullptr);
    }
    return *this;
}

ProcessHandle::~ProcessHandle() {
    if (value)
        CloseHandle(value);
}

ProcessHandle OpenProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (!id)
        return ProcessHandle{};
    return ProcessHandle(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id));
}

} // namespace e2e
