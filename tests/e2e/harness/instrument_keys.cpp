#include "harness/instrument_keys.h"

#include <string>

namespace e2e {

testing::AssertionResult PlayOnInstrument(HWND window, const std::vector<std::uint8_t>& bytes) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0)
        return testing::AssertionFailure() << "no process owns the window";
    const std::string slot = "\\\\.\\mailslot\\talvane-vi\\" + std::to_string(processId);
    HANDLE file = CreateFileA(slot.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return testing::AssertionFailure()
               << "the instrument's keys cannot be reached (" << slot << ", error "
               << GetLastError() << "): it has not been opened by that program";
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        return testing::AssertionFailure() << "the keys could not be played";
    return testing::AssertionSuccess();
}

} // namespace e2e
