// The trace window is looked for once per process, so these tests reset the lookup between them
// and run in the order written.
#include "shell/debug_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

struct TraceWindow {
    HWND frame = nullptr;
    HWND edit = nullptr;

    explicit TraceWindow(const char* title, bool withEditArea = true) {
        frame = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        if (withEditArea)
            AddEditArea();
    }
    ~TraceWindow() { DestroyWindow(frame); }

    void AddEditArea() {
        edit = CreateWindowExA(
            0, "EDIT", "",
            WS_CHILD | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0, 280,
            180, frame, reinterpret_cast<HMENU>(15), GetModuleHandleA(nullptr), nullptr);
    }

    std::string Text() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        char text[4096] = {};
        GetWindowTextA(edit, text, sizeof text);
        return text;
    }
};

void ForgetTraceWindow() {
    debugTrace.lookup = TraceLookup::notLookedUp;
    debugTrace.target = nullptr;
}

TEST(ShellDebugTrace, LinesReachTheEditAreaInOrderFromAnyThread) {
    ForgetTraceWindow();
    TraceWindow notepad("talvane32.log - Notepad");
    DebugTrace("Sending");
    DebugTrace("Waiting");
    std::thread callback([] { DebugTrace("!"); });
    callback.join();
    DebugTrace("Next");
    EXPECT_EQ(notepad.Text(), "Sending\r\nWaiting\r\n!\r\nNext\r\n");
}

TEST(ShellDebugTrace, LinesOfTwoThreadsNeverMix) {
    ForgetTraceWindow();
    TraceWindow notepad("talvane32.log - Notepad");
    constexpr int lines = 100;
    DebugTrace("Next"); // the window is looked for on this thread, as "Sending" does
    std::thread other([] {
        for (int i = 0; i < lines; ++i)
            DebugTrace("!!!!!!");
    });
    for (int i = 0; i < lines; ++i)
        DebugTrace("Next");
    other.join();
    std::string text = notepad.Text();
    int bangs = 0;
    int nexts = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << text.substr(start);
        std::string line = text.substr(start, end - start);
        if (line == "!!!!!!")
            ++bangs;
        else if (line == "Next")
            ++nexts;
        else
            ADD_FAILURE() << "mixed line: " << line;
        start = end + 2;
    }
    EXPECT_EQ(bangs, lines);
    EXPECT_EQ(nexts, lines + 1);
}

TEST(ShellDebugTrace, ANotepadWithoutItsEditAreaIsLookedForAgain) {
    ForgetTraceWindow();
    TraceWindow notepad("talvane32.log - Notepad", false);
    DebugTrace("lost");
    EXPECT_EQ(debugTrace.lookup.load(), TraceLookup::notLookedUp);
    notepad.AddEditArea();
    DebugTrace("Done1");
    EXPECT_EQ(notepad.Text(), "Done1\r\n");
}

TEST(ShellDebugTrace, AWindowOpenedAfterTheFirstLineGetsNothing) {
    ForgetTraceWindow();
    DebugTrace("Sending");
    EXPECT_EQ(debugTrace.lookup.load(), TraceLookup::noTraceWindow);
    TraceWindow notepad("talvane32.log - Notepad");
    DebugTrace("Finished");
    EXPECT_EQ(notepad.Text(), "");
}

TEST(ShellDebugTrace, OnlyTheExactTitleCounts) {
    for (const char* title : {"Talvane32.log - Notepad", "talvane32.log - Notepad ",
                              "talvane32.log - Notepa", "x talvane32.log - Notepad"}) {
        ForgetTraceWindow();
        TraceWindow other(title);
        DebugTrace("Sending");
        EXPECT_EQ(other.Text(), "") << title;
        EXPECT_EQ(debugTrace.lookup.load(), TraceLookup::noTraceWindow) << title;
    }
}

} // namespace
