// The module window classes, the dialog copies with their class and the title loader's
// hand-shake, with dialogs built in memory.
#include "support/windows_test_support.h"

#include "app/module_classes.h"
#include "shell/dialog_template.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Word(Bytes& b, std::uint16_t w) {
    b.push_back(static_cast<std::uint8_t>(w));
    b.push_back(static_cast<std::uint8_t>(w >> 8));
}

// A visible, captioned DIALOGEX without controls that names no class.
Bytes DialogDescription() {
    Bytes b;
    Word(b, 1);
    Word(b, 0xFFFF);
    for (int i = 0; i < 4; ++i) // help ID, extended style
        Word(b, 0);
    DWORD style = DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    Word(b, static_cast<std::uint16_t>(style));
    Word(b, static_cast<std::uint16_t>(style >> 16));
    Word(b, 0); // no controls
    for (std::uint16_t v : {0, 0, 120, 60})
        Word(b, v);
    Word(b, 0); // menu
    Word(b, 0); // class
    for (char c : std::string("Module"))
        Word(b, static_cast<std::uint8_t>(c));
    Word(b, 0);
    Word(b, 8);
    Word(b, 400);
    b.push_back(0);
    b.push_back(1);
    for (char c : std::string("MS Sans Serif"))
        Word(b, static_cast<std::uint8_t>(c));
    Word(b, 0);
    return b;
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

int loaderCloses = 0;

LRESULT CALLBACK LoaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++loaderCloses;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

class ShellModuleWindows : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shell.instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(RegisterWindowClasses());
        WNDCLASSA loader{};
        loader.lpfnWndProc = LoaderProc;
        loader.hInstance = shell.instance;
        loader.lpszClassName = "QX_Loader";
        ASSERT_NE(RegisterClassA(&loader), 0);
        Bytes description = DialogDescription();
        const char* classes[] = {"QX_SysEx", "QX_SysX2", "QX_SysX3"};
        for (int i = 0; i < 3; ++i)
            shell.moduleDialogs[i] =
                CopyDialogWithClass(description.data(), description.size(), classes[i]);
    }

    void SetUp() override {
        shell.titleWindow = nullptr;
        shell.firstPaint = false;
        loaderCloses = 0;
    }

    HWND CreateModule(int index) {
        return CreateDialogIndirectParamA(
            shell.instance, reinterpret_cast<const DLGTEMPLATE*>(shell.moduleDialogs[index].data()),
            nullptr, PlainDialog, 0);
    }

    HWND CreateLoader() {
        return CreateWindowExA(0, "QX_Loader", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               shell.instance, nullptr);
    }
};

TEST_F(ShellModuleWindows, TheFiveClassesAreRegisteredAsTheModulesNeedThem) {
    const struct {
        const char* name;
        int extraBytes;
        bool moduleProcedure;
    } expected[] = {{"QX_SysEx", DLGWINDOWEXTRA, true},
                    {"QX_SysX2", DLGWINDOWEXTRA, true},
                    {"QX_SysX3", DLGWINDOWEXTRA, true},
                    {"QX_TimeTrack", 4, false},
                    {"QX_SysexGraph", 0, false}};
    for (const auto& c : expected) {
        WNDCLASSA info{};
        ASSERT_TRUE(GetClassInfoA(shell.instance, c.name, &info)) << c.name;
        EXPECT_EQ(info.cbWndExtra, c.extraBytes) << c.name;
        EXPECT_EQ(info.hCursor, nullptr) << c.name;
        EXPECT_EQ(info.lpfnWndProc == ModuleWindowProc, c.moduleProcedure) << c.name;
    }
    WNDCLASSA graph{};
    GetClassInfoA(shell.instance, "QX_SysexGraph", &graph);
    EXPECT_EQ(graph.style & (CS_HREDRAW | CS_VREDRAW), UINT(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(graph.hbrBackground, GetStockObject(WHITE_BRUSH));
    WNDCLASSA manager{};
    GetClassInfoA(shell.instance, "QX_SysEx", &manager);
    EXPECT_EQ(manager.hbrBackground, GetStockObject(LTGRAY_BRUSH));
}

TEST_F(ShellModuleWindows, EachCopiedDialogIsAWindowOfItsModuleClass) {
    const char* classes[] = {"QX_SysEx", "QX_SysX2", "QX_SysX3"};
    for (int i = 0; i < 3; ++i) {
        HWND window = CreateModule(i);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ClassOf(window), classes[i]);
        char caption[32] = {};
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "Module");
        DestroyWindow(window);
    }
}

TEST_F(ShellModuleWindows, TheFirstPaintClosesTheAnnouncedTitleWindow) {
    HWND loader = CreateLoader();
    HWND window = CreateModule(0);
    wintest::PumpMessages(); // the window's own first paint, before any announcement
    EXPECT_TRUE(shell.firstPaint);
    PostMessageA(window, titleWindowMessage, reinterpret_cast<WPARAM>(loader), 0);
    MSG announcement;
    ASSERT_TRUE(
        PeekMessageA(&announcement, window, titleWindowMessage, titleWindowMessage, PM_REMOVE));
    DispatchMessageA(&announcement);
    EXPECT_EQ(shell.titleWindow, loader);
    EXPECT_EQ(loaderCloses, 0);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_TRUE(shell.firstPaint);
    EXPECT_EQ(loaderCloses, 1);
    EXPECT_EQ(shell.titleWindow, nullptr);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(loaderCloses, 1);
    DestroyWindow(window);
    DestroyWindow(loader);
}

TEST_F(ShellModuleWindows, OnlyATitleLoaderWindowIsTakenFromTheHandShake) {
    HWND stranger = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    shell.instance, nullptr);
    HWND window = CreateModule(1);
    for (WPARAM announced : {reinterpret_cast<WPARAM>(stranger), WPARAM(0), WPARAM(0x1234)}) {
        PostMessageA(window, titleWindowMessage, announced, 0);
        wintest::PumpMessages();
        EXPECT_EQ(shell.titleWindow, nullptr);
    }
    EXPECT_TRUE(IsWindow(stranger));
    DestroyWindow(window);
    DestroyWindow(stranger);
}

TEST_F(ShellModuleWindows, TheTimerClosesTheTitleWindowOnlyAfterThePaint) {
    HWND loader = CreateLoader();
    shell.titleWindow = loader;
    CloseTitleWindow();
    EXPECT_EQ(loaderCloses, 0);
    EXPECT_EQ(shell.titleWindow, loader);
    shell.firstPaint = true;
    CloseTitleWindow();
    EXPECT_EQ(loaderCloses, 1);
    EXPECT_EQ(shell.titleWindow, nullptr);
    CloseTitleWindow();
    EXPECT_EQ(loaderCloses, 1);
    DestroyWindow(loader);
}

TEST_F(ShellModuleWindows, EveryModuleWindowStandsWhereTheLastOneStood) {
    settings.WindowX = 77;
    settings.WindowY = 55;
    HWND window = CreateModule(2);
    RECT before{};
    GetWindowRect(window, &before);
    PlaceModuleWindow(window);
    RECT placed{};
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, 77);
    EXPECT_EQ(placed.top, 55);
    EXPECT_EQ(placed.right - placed.left, before.right - before.left);
    MoveWindow(window, 140, 90, placed.right - placed.left, placed.bottom - placed.top, FALSE);
    RememberModuleWindowPosition(window);
    EXPECT_EQ(settings.WindowX, 140);
    EXPECT_EQ(settings.WindowY, 90);
    DestroyWindow(window);
}

TEST_F(ShellModuleWindows, TheLoopShowsAModuleAndTakesTheCodeItEndsWith) {
    std::thread closer([] {
        bool closed = false;
        for (int i = 0; i < 500; ++i) {
            // With no bank of its definition's program size the Librarian asks for a new bank
            // file as it opens.
            if (HWND create = FindWindowA("#32770", "Create new bank file..."))
                PostMessageA(create, WM_COMMAND, IDCANCEL, 0);
            HWND window = FindWindowA("QX_SysX2", nullptr);
            if (window && !closed) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                closed = true;
            }
            if (closed && !window)
                return;
            Sleep(10);
        }
    });
    settings.WindowX = 20;
    EXPECT_EQ(RunModuleWindow(moduleLibrarian), moduleQuit);
    closer.join();
    EXPECT_EQ(shell.currentModule, 0);
    EXPECT_EQ(shell.currentModuleWindow, nullptr);
    EXPECT_EQ(settings.WindowX, 20);
    EXPECT_FALSE(shell.busy);
    EXPECT_EQ(RunModuleWindow(4), moduleQuit);
    EXPECT_EQ(RunModuleWindow(-1), moduleQuit);
}

} // namespace
