// A program that cannot set up its windows says so in a box and ends with a non-zero code,
// instead of ending without a word or showing nothing. This test program holds none of the
// module dialogs, so only the window classes are there to be taken away.
#include "support/windows_test_support.h"

#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const programClasses[] = {"QX_SysEx", "QX_SysX2", "QX_SysX3", "QX_TimeTrack",
                                      "QX_SysexGraph"};

// Registers the Manager's class in the program's place, so that the program's own fails.
void TakeManagerClass() {
    WNDCLASSA taken{};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "QX_SysEx";
    ASSERT_NE(RegisterClassA(&taken), 0);
}

TEST(AppStartupFailure, WhatCannotBeSetUpIsToldAndTheProgramEnds) {
    const struct {
        void (*prepare)();
        const char* text;
    } cases[] = {
        {[] {}, "Talvane 95 cannot start: its module windows could not be prepared."},
        {TakeManagerClass, "Talvane 95 cannot start: its window classes could not be registered."},
    };
    for (const auto& c : cases) {
        // Each start begins without the classes of the one before.
        for (const char* name : programClasses)
            UnregisterClassA(name, GetModuleHandleA(nullptr));
        c.prepare();
        wintest::MessageBoxWatch boxes;
        EXPECT_NE(RunTalvane(GetModuleHandleA(nullptr), ""), 0) << c.text;
        // A first start may also ask about the .syx files; the failure is the last word.
        const std::vector<wintest::ShownBox> shown = boxes.Take();
        ASSERT_FALSE(shown.empty()) << c.text;
        EXPECT_EQ(shown.back().caption, "Talvane 95");
        EXPECT_EQ(shown.back().text, c.text);
    }
}

} // namespace
