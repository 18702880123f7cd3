// The programs start and end: the main program opens its first module window and ends with
// code 0 when that window is closed; the title loader leads to the same window.
#include "harness/e2e.h"

namespace {

// With fresh settings every start is a first start, which welcomes the user first.
void AnswerWelcome(const e2e::Program& program) {
    auto welcome = e2e::WaitForMessageBox(program, std::string("New user information"));
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(e2e::Answer(*welcome, IDOK));
}

TEST(Startup, MainProgramOpensManagerWindowAndEndsWhenItCloses) {
    e2e::Program program = e2e::Launch({.program = "Talvane95.dat"});
    ASSERT_TRUE(program);
    AnswerWelcome(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);

    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(program), 0u);
    EXPECT_TRUE(e2e::WaitUntilAllEnded(program));
}

TEST(Startup, TitleLoaderLeadsToManagerWindow) {
    e2e::Program program = e2e::Launch({.program = "Talvane95.exe"});
    ASSERT_TRUE(program);
    AnswerWelcome(program);
    HWND manager = e2e::WaitForWindowOf(program, {.className = "QX_SysEx"});
    ASSERT_TRUE(manager);
    // The window belongs to the main program, a process of its own that the loader started.
    e2e::ProcessHandle mainProgram = e2e::OpenProcessOf(manager);
    ASSERT_TRUE(mainProgram);
    EXPECT_NE(GetProcessId(mainProgram.value), program.processId);

    e2e::Close(manager);
    EXPECT_EQ(e2e::WaitForExit(mainProgram.value), 0u);
    EXPECT_TRUE(e2e::WaitUntilAllEnded(program));
}

} // namespace
