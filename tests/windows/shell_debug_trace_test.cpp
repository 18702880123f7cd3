// The trace window is looked for once per process, so these tests reset the lookup between them
// and run in the order written.
#include "support/windows_test_support.h"

#include "shell/debug_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

using wintest::TraceNotepad;

namespace {

void ForgetTraceWindow() {
    debugTrace.lookup = TraceLookup::notLookedUp;
    debugTrace.target = nullptr;
}

TEST(ShellDebugTrace, LinesReachTheEditAreaInOrderFromAnyThread) {
    ForgetTraceWindow();
    TraceNotepad notepad("talvane32.log - Notepad");
    DebugTrace("Sending");
    DebugTrace("Waiting");
    std::thread callback([] { DebugTrace("!"); });
    callback.join();
    DebugTrace("Next");
    EXPECT_EQ(notepad.Text(), "Sending\r\nWaiting\r\n!\r\nNext\r\n");
}

TEST(ShellDebugTrace, LinesOfTwoThreadsNeverMix) {
    ForgetTraceWindow();
    TraceNotepad notepad("talvane32.log - Notepad");
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
    TraceNotepad notepad("talvane32.log - Notepad", false);
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
    TraceNotepad notepad("talvane32.log - Notepad");
    DebugTrace("Finished");
    EXPECT_EQ(notepad.Text(), "");
}

TEST(ShellDebugTrace, OnlyTheExactTitleCounts) {
    for (const char* title : {"Talvane32.log - Notepad", "talvane32.log - Notepad ",
                              "talvane32.log - Notepa", "x talvane32.log - Notepad"}) {
        ForgetTraceWindow();
        TraceNotepad other(title);
        DebugTrace("Sending");
        EXPECT_EQ(other.Text(), "") << title;
        EXPECT_EQ(debugTrace.lookup.load(), TraceLookup::noTraceWindow) << title;
    }
}

} // namespace
