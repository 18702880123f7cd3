#include "harness/process_parameters.h"

#include "harness/controls.h"

#include <cstdint>
#include <vector>

namespace e2e {

namespace {

// The layout of a process of this test program's own width: the PEB points to its process
// parameters, which hold the current folder and the command line as counted UTF-16 strings.
constexpr bool k64 = sizeof(void*) == 8;
constexpr std::uintptr_t kPebProcessParameters = k64 ? 0x20 : 0x10;
constexpr std::uintptr_t kParametersCurrentFolder = k64 ? 0x38 : 0x24;
constexpr std::uintptr_t kParametersCommandLine = k64 ? 0x70 : 0x40;

struct BasicInformation {
    LONG_PTR exitStatus;
    std::uintptr_t pebAddress;
    ULONG_PTR affinityMask;
    LONG_PTR basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentProcessId;
};

struct CountedString {
    std::uint16_t length;
    std::uint16_t maximumLength;
    std::uintptr_t buffer; // aligned to its size, as in the process
};

template <typename T>
bool ReadAt(HANDLE process, std::uintptr_t address, T* value, SIZE_T size = sizeof(T)) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(address), value, size, &read) &&
           read == size;
}

std::optional<std::string> ReadCountedString(HANDLE process, std::uintptr_t address) {
    CountedString counted{};
    if (!ReadAt(process, address, &counted))
        return std::nullopt;
    std::vector<wchar_t> text(counted.length / 2 + 1, L'\0');
    if (counted.length && !ReadAt(process, counted.buffer, text.data(), counted.length))
        return std::nullopt;
    return Narrow(text.data());
}

std::optional<ProcessParameters> ReadProcess(HANDLE process) {
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    BasicInformation basic{};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0)
        return std::nullopt;
    std::uintptr_t parameters = 0;
    if (!ReadAt(process, basic.pebAddress + kPebProcessParameters, &parameters))
        return std::nullopt;
    auto folder = ReadCountedString(process, parameters + kParametersCurrentFolder);
    auto commandLine = ReadCountedString(process, parameters + kParametersCommandLine);
    if (!folder || !commandLine)
        return std::nullopt;
    return ProcessParameters{*commandLine, *folder};
}

} // namespace

std::optional<ProcessParameters> ReadProcessParameters(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process =
        id ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id) : nullptr;
    if (!process)
        return std::nullopt;
    auto parameters = ReadProcess(process);
    CloseHandle(process);
    return parameters;
}

} // namespace e2e
