// Reading the instrument's settings from the environment and midimap.ini beside the driver, and
// writing its log.
#include "tools/virtual-instrument/driver.h"

#include "tools/virtual-instrument/event_log.h"

#include <optional>
#include <vector>

namespace vi {

namespace {

constexpr DWORD kLongestIniFile = 64 * 1024;

std::optional<std::string> EnvironmentValue(const std::string& name) {
    std::vector<char> value(256);
    for (;;) {
        const DWORD size = static_cast<DWORD>(value.size());
        const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), size);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < size) {
            return std::string(value.data(), length);
        }
        value.resize(length + 1);
    }
}

std::string IniPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(instrumentDriver.module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder + "midimap.ini";
}

std::string IniText() {
    const std::string path = IniPath();
    if (path.empty()) {
        return {};
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text(kLongestIniFile, '\0');
    DWORD read = 0;
    if (!ReadFile(file, text.data(), kLongestIniFile, &read, nullptr)) {
        read = 0;
    }
    CloseHandle(file);
    text.resize(read);
    return text;
}

void OpenLog(const std::string& path) {
    InstrumentDriver& d = instrumentDriver;
    if (path == d.logPath && (path.empty() || d.log != INVALID_HANDLE_VALUE)) {
        return;
    }
    CloseLog();
    d.logPath = path;
    if (path.empty()) {
        return;
    }
    // Appending only, shared with readers: tests read the log while the program runs.
    d.log = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

Settings ReadCurrentSettings() {
    return ReadSettings(EnvironmentValue, IniText());
}

void ApplySettings(const Settings& settings) {
    InstrumentDriver& d = instrumentDriver;
    d.settings = settings;
    d.instrument.mode = settings.mode;
    d.instrument.channel = settings.channel;
    d.instrument.dropEvery = settings.dropEvery;
    OpenLog(settings.logPath);
    for (const std::string& problem : settings.problems) {
        WriteLog("note " + problem);
    }
}

void WriteLog(std::string_view eventText) {
    InstrumentDriver& d = instrumentDriver;
    if (d.log == INVALID_HANDLE_VALUE) {
        return;
    }
    // Each line goes to the file at once, in one write, so that a reader never sees half a line
    // from this process.
    const std::string line = LogLine(TicksToMicroseconds(Now(), d.frequency), eventText);
    DWORD written = 0;
    WriteFile(d.log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void CloseLog() {
    InstrumentDriver& d = instrumentDriver;
    if (d.log != INVALID_HANDLE_VALUE) {
        CloseHandle(d.log);
        d.log = INVALID_HANDLE_VALUE;
    }
    d.logPath.clear();
}

} // namespace vi
