// The title loader marks the module that will open: from its command line, and moved on while
// CTRL is held, at the start or pressed and released while the title shows.
//
// The main program here is a stand-in (the harness's fixture program) that never opens a module
// window, so the title stays on the screen for as long as the test looks at it.
#include "loader_e2e.h"

#include <optional>

namespace {

using loader_e2e::FindTitle;
using loader_e2e::RedMarker;

e2e::Program LaunchTitle(const std::string& arguments) {
    loader_e2e::SettingsOfAReturningUser();
    auto standIn = e2e::ReadFileBytes(e2e::JoinPath(e2e::BinFolder(), "HarnessFixture.exe"));
    EXPECT_TRUE(standIn);
    return e2e::Launch(
        {.program = "Talvane95.exe",
         .arguments = arguments,
         .workFiles = {{"Korg M1.QXInstrument", "M1 definition"}, {"Mine.QXBank", "bank"}},
         .programFiles = {{"Talvane95.dat", standIn.value_or("")}},
         .freshRegistry = false});
}

testing::AssertionResult MarkerBecomes(HWND title, const std::string& expected) {
    std::string seen;
    auto shown = e2e::WaitUntil([&] { return (seen = RedMarker(title)) == expected; },
                                "the " + expected + " marker is red", e2e::Milliseconds(10000));
    if (!shown)
        shown << "; last seen: " << seen;
    return shown;
}

TEST(LoaderMarkers, CommandLineAndCtrlChooseTheMarker) {
    struct Case {
        const char* what;
        std::string arguments; // "%w" is the loader's current folder
        const char* withoutCtrl;
        const char* withCtrl;
    };
    const Case cases[] = {
        {"no arguments", "", "Manager", "Librarian"},
        {"a bank file", "/bankfile %w\\Mine.QXBank", "Librarian", "Manager"},
        {"a Korg M1 definition", "/librarian %w\\Korg M1.QXInstrument", "Librarian", "Editor"},
        // The name alone does not do: the file must be found in the current folder.
        {"a Korg M1 name not in the current folder", "/librarian %w\\Korg M1R.QXInstrument",
         "Librarian", "Manager"},
    };
    for (const Case& c : cases) {
        for (bool ctrlAtStart : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (ctrlAtStart ? ", CTRL held at the start" : ""));
            std::optional<e2e::CtrlHeld> ctrl;
            if (ctrlAtStart) {
                ctrl.emplace();
                ASSERT_TRUE(ctrl->held);
            }
            std::string arguments = c.arguments;
            if (auto at = arguments.find("%w"); at != std::string::npos)
                arguments.replace(at, 2, e2e::JoinPath(e2e::ScratchFolder(), "work"));
            e2e::Program program = LaunchTitle(arguments);
            ASSERT_TRUE(program);
            HWND title = e2e::WaitForWindowOf(program, {.className = "QX_Loader"});
            ASSERT_TRUE(title);
            // Centred, and above every other window (the stand-in's too) once it is up.
            RECT outer{};
            GetWindowRect(title, &outer);
            EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
            EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
            EXPECT_TRUE(e2e::WaitUntil(
                [&] { return (GetWindowLongA(title, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; },
                "the title is top-most"));
            const char* first = ctrlAtStart ? c.withCtrl : c.withoutCtrl;
            const char* second = ctrlAtStart ? c.withoutCtrl : c.withCtrl;
            EXPECT_TRUE(MarkerBecomes(title, first));
            // The marker follows CTRL while the title shows.
            if (ctrlAtStart) {
                ASSERT_TRUE(e2e::ReleaseCtrl(title));
                ctrl.reset();
            } else {
                ASSERT_TRUE(e2e::HoldCtrl(title));
            }
            EXPECT_TRUE(MarkerBecomes(title, second));
            if (!ctrlAtStart) {
                ASSERT_TRUE(e2e::ReleaseCtrl(title));
                EXPECT_TRUE(MarkerBecomes(title, first));
            }
            EXPECT_TRUE(FindTitle(program)) << "the title waits for a module window";
        }
    }
}

} // namespace
