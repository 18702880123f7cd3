// The title loader: the program the user starts. It shows the title picture while the main
// program starts, and goes away once the main program's first window has painted.
#include "loader/loader_state.h"
#include "loader/start_choice.h"

LoaderState loader;

namespace {

// The main program's settings key, opened the way the main program opens it; nothing when any
// part of it is missing (the main program has never run).
HKEY OpenSettingsKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    for (const char* name : {"Quillfen", "Talvane", "2.0"}) {
        HKEY child = nullptr;
        LONG result = RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &child);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return nullptr;
        key = child;
    }
    return key;
}

// Only the presence of the value counts; data longer than the buffer still means present.
bool TitleTurnedOff(HKEY key) {
    BYTE data[4];
    DWORD size = sizeof data;
    LONG result = RegQueryValueExA(key, "TitleGraphicTurnedOff", nullptr, nullptr, data, &size);
    return result == ERROR_SUCCESS || result == ERROR_MORE_DATA;
}

std::string OwnFileName() {
    char name[512];
    DWORD length = GetModuleFileNameA(nullptr, name, sizeof name);
    if (length == 0 || length >= sizeof name)
        return {};
    return std::string(name, length);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    loader.instance = instance;
    loader.commandLineTail = commandLine ? commandLine : "";
    HKEY key = OpenSettingsKey();
    loader.programPath = MainProgramPath(OwnFileName());
    bool showTitle = key != nullptr && !TitleTurnedOff(key);
    if (key)
        RegCloseKey(key);
    if (showTitle)
        return ShowTitleWindow();
    // The very first run, or the user turned the title off.
    return StartWithoutTitle();
}
