#include "harness/keyboard.h"

#include "harness/controls.h"
#include "harness/scratch.h"
#include "harness/window_find.h"

#include <string>

namespace e2e {

namespace {

// Whether the harness pressed CTRL and has not released it yet.
bool ctrlHeldByHarness = false;

bool SendKeyEvent(int virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return SendInput(1, &input, sizeof input) == 1;
}

bool AsyncDown(int virtualKey) {
    return GetAsyncKeyState(virtualKey) < 0;
}

// The DOS path of xdotool when running under Wine with it installed, else empty.
std::string XdotoolPath() {
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos)
        return {};
    WCHAR* dos = toDos("/usr/bin/xdotool");
    if (!dos)
        return {};
    std::string path = Narrow(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return FileExists(path) ? path : std::string{};
}

// Presses or releases CTRL in the X server, as a real keyboard would. Wine brings its own key
// state in line with the X server's whenever one of its windows gains the focus, so a CTRL
// pressed only through SendInput is let go as soon as a new window (a dialog, a message box,
// the next program) opens. Under Wine the X server must hold the key. The process does not
// report back (Wine starts it as a Unix program); the caller watches the key state instead.
bool XKey(bool down) {
    static const std::string xdotool = XdotoolPath();
    if (xdotool.empty())
        return false;
    std::string commandLine = "\"" + xdotool + "\" " + (down ? "keydown" : "keyup") + " ctrl";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    return true;
}

// The X server's key alone reaches the program only when the X focus happens to be on its
// window; SendInput delivers the key message to the foreground window in any case.
bool SetCtrlKey(bool down) {
    XKey(down);
    return SendKeyEvent(VK_CONTROL, !down);
}

testing::AssertionResult SetCtrl(HWND window, bool down) {
    if (window) {
        HWND top = GetAncestor(window, GA_ROOT);
        SetForegroundWindow(top);
        auto foreground = WaitUntil([&] { return GetForegroundWindow() == top; },
                                    "the window is the foreground window", Milliseconds(5000));
        if (!foreground)
            return foreground;
    }
    // A focus change that Wine handles late can still bring the X server's older key state
    // back; the key counts as set once it has stayed so for a moment.
    testing::AssertionResult system = testing::AssertionFailure();
    for (int attempt = 0; attempt < 3 && !system; ++attempt) {
        if (!SetCtrlKey(down))
            return testing::AssertionFailure() << "cannot press CTRL, error " << GetLastError();
        ctrlHeldByHarness = down;
        system = WaitUntil([&] { return AsyncDown(VK_CONTROL) == down; },
                           down ? "the system sees CTRL down" : "the system sees CTRL up",
                           Milliseconds(5000));
        if (system)
            system = StaysTrue([&] { return AsyncDown(VK_CONTROL) == down; },
                               down ? "CTRL stays down" : "CTRL stays up", Milliseconds(150));
    }
    if (!system || !window)
        return system;
    return WaitUntilIdle(window);
}

} // namespace

testing::AssertionResult HoldCtrl(HWND window) {
    return SetCtrl(window, true);
}

testing::AssertionResult ReleaseCtrl(HWND window) {
    return SetCtrl(window, false);
}

CtrlHeld::CtrlHeld(HWND window) : window(window), held(HoldCtrl(window)) {}

CtrlHeld::~CtrlHeld() {
    // The window may be gone by now; releasing must work regardless.
    HWND target = IsWindow(window) ? window : nullptr;
    auto released = ReleaseCtrl(target);
    if (!released && target)
        released = ReleaseCtrl(nullptr);
    EXPECT_TRUE(released);
}

void ReleaseStrayCtrl() {
    if (!ctrlHeldByHarness && AsyncDown(VK_CONTROL)) {
        SetCtrlKey(false);
        (void)WaitUntil([] { return !AsyncDown(VK_CONTROL); }, "CTRL is up", Milliseconds(5000));
    }
}

testing::AssertionResult PressKey(HWND window, int virtualKey) {
    UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | static_cast<LPARAM>(0xC0000000u); // previous state down, released
    if (!PostMessageA(window, WM_KEYDOWN, virtualKey, down) ||
        !PostMessageA(window, WM_KEYUP, virtualKey, up))
        return testing::AssertionFailure() << "cannot post keys to window " << window;
    return WaitUntilIdle(window);
}

testing::AssertionResult TypeText(HWND window, std::string_view text) {
    for (char c : text) {
        unsigned char code = static_cast<unsigned char>(c);
        UINT scan = MapVirtualKeyA(VkKeyScanA(c) & 0xFF, MAPVK_VK_TO_VSC);
        if (!PostMessageA(window, WM_CHAR, code, 1 | (static_cast<LPARAM>(scan) << 16)))
            return testing::AssertionFailure() << "cannot post characters to window " << window;
    }
    return WaitUntilIdle(window);
}

testing::AssertionResult SendKey(int virtualKey) {
    if (!SendKeyEvent(virtualKey, false) || !SendKeyEvent(virtualKey, true))
        return testing::AssertionFailure() << "SendInput failed, error " << GetLastError();
    return testing::AssertionSuccess();
}

} // namespace e2e
