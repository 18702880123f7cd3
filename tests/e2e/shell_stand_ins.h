#pragma once
// Stand-ins and settings shared by the shell's end-to-end tests: windows that the title loader
// and Notepad would show, the temporary folder of the scratch files, and the settings a user has
// after some starts.
#include "harness/e2e.h"

#include <atomic>
#include <string>
#include <thread>

namespace shell_e2e {

struct FirstRunValue {
    const char* name;
    DWORD value;
};
inline constexpr FirstRunValue firstRunValues[] = {
    {"InputPort", 0},    {"OutputPort", 0},   {"WindowX", 30},    {"WindowY", 30},
    {"GraphX", 200},     {"GraphY", 200},     {"GraphW", 200},    {"GraphH", 200},
    {"GraphAmp1", 0},    {"GraphAmp2", 0},    {"GraphPitch1", 0}, {"GraphPitch2", 0},
    {"GraphCutoff1", 0}, {"GraphCutoff2", 0}, {"ToolTips", 2}};

// The settings a user has after the first start and `starts - 1` more.
inline void SettingsAfterStarts(int starts) {
    e2e::ResetRegistry();
    for (const auto& value : firstRunValues)
        ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, value.name, value.value));
    ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, "ToolTipsCountdown", DWORD(10 - starts)));
    ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime0", 1));
}

// A stand-in for the title loader's window, on a thread of its own that answers messages, as
// the real loader does. It counts the WM_CLOSE messages it gets.
struct TestLoaderWindow {
    std::atomic<HWND> window{nullptr};
    std::atomic<int> closes{0};
    std::atomic<DWORD> threadId{0};
    std::thread thread;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CLOSE) {
            auto* self =
                reinterpret_cast<TestLoaderWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            ++self->closes;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    TestLoaderWindow() {
        thread = std::thread([this] {
            threadId = GetCurrentThreadId();
            WNDCLASSA loaderClass{};
            loaderClass.lpfnWndProc = Procedure;
            loaderClass.hInstance = GetModuleHandleA(nullptr);
            loaderClass.lpszClassName = "QX_Loader";
            RegisterClassA(&loaderClass);
            HWND created = CreateWindowExA(0, "QX_Loader", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            SetWindowLongPtrA(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            window = created;
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0)
                DispatchMessageA(&message);
            DestroyWindow(created);
        });
        EXPECT_TRUE(e2e::WaitUntil([this] { return window.load() != nullptr; }, "loader window"));
    }

    ~TestLoaderWindow() {
        PostThreadMessageA(threadId.load(), WM_QUIT, 0, 0);
        thread.join();
    }
};

// A stand-in for Notepad: a window with that title whose edit area has the control ID 15, on a
// thread of its own that takes the typed characters as Notepad would.
struct TestNotepad {
    std::atomic<HWND> frame{nullptr};
    std::atomic<HWND> edit{nullptr};
    std::atomic<DWORD> threadId{0};
    std::thread thread;

    TestNotepad() {
        thread = std::thread([this] {
            threadId = GetCurrentThreadId();
            HINSTANCE instance = GetModuleHandleA(nullptr);
            HWND created =
                CreateWindowExA(0, "STATIC", "talvane32.log - Notepad", WS_OVERLAPPEDWINDOW, 0, 0,
                                300, 300, nullptr, nullptr, instance, nullptr);
            edit = CreateWindowExA(0, "EDIT", "",
                                   WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN |
                                       ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                   0, 0, 280, 280, created, reinterpret_cast<HMENU>(15), instance,
                                   nullptr);
            frame = created;
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            DestroyWindow(created);
        });
        EXPECT_TRUE(e2e::WaitUntil([this] { return edit.load() != nullptr; }, "test Notepad"));
    }

    ~TestNotepad() {
        PostThreadMessageA(threadId.load(), WM_QUIT, 0, 0);
        thread.join();
    }

    std::string Text() const {
        char text[1024] = {};
        SendMessageA(edit.load(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

using e2e::TemporaryFolder;

} // namespace shell_e2e
