// The Manager window's tooltips at the three levels, the captions and tips that follow what is
// selected, and the message hook that feeds the tooltip window with the mouse and the window
// with the keys of its controls. The real window procedure runs on the real dialog of
// Talvane95.dat, with the virtual instrument as its ports.
#include "app/module_classes.h"
#include "manager/file_list.h"
#include "manager/manager_window.h"
#include "manager/message_store.h"
#include "midi/midi_state.h"
#include "shell/dialog_template.h"
#include "shell/message_hook.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "support/windows_test_support.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "MainWindow" of the built program, with the Manager's class written in, as the shell makes it.
std::vector<std::uint8_t> ManagerDialog() {
    const HMODULE program = LoadLibraryExA((wintest::ProgramFolder() + "\\Talvane95.dat").c_str(),
                                           nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found = program ? FindResourceA(program, "MainWindow", RT_DIALOG) : nullptr;
    if (!found)
        return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(program, found)));
    auto copy = CopyDialogWithClass(data, SizeofResource(program, found), "QX_SysEx");
    FreeLibrary(program);
    return copy;
}

struct ToolText {
    HWND control;
    std::string text;
};

std::vector<ToolText> Tools(HWND tooltips) {
    std::vector<ToolText> tools;
    const int count = static_cast<int>(SendMessageA(tooltips, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.lpszText = text;
        SendMessageA(tooltips, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(tool.uFlags & TTF_IDISHWND, UINT(TTF_IDISHWND));
        tools.push_back({reinterpret_cast<HWND>(tool.uId), text});
    }
    return tools;
}

// The tip the tooltip window holds for control `id` of `window`.
std::string TipOf(HWND window, int id) {
    char text[256] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, id));
    tool.lpszText = text;
    SendMessageA(shell.tooltipWindow, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

std::string CaptionOf(HWND window, int id) {
    char text[64] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

WNDPROC tooltipProcedure = nullptr;
std::vector<MSG> relayed;

LRESULT CALLBACK CountRelays(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTM_RELAYEVENT)
        relayed.push_back(*reinterpret_cast<const MSG*>(lParam));
    return CallWindowProcA(tooltipProcedure, window, message, wParam, lParam);
}

class ManagerTooltips : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shell.instance = GetModuleHandleA(nullptr);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(RegisterWindowClasses());
        dialog = new std::vector<std::uint8_t>(ManagerDialog());
        ASSERT_FALSE(dialog->empty());
    }
    static void TearDownTestSuite() { delete dialog; }

    void SetUp() override {
        folder = wintest::TestScratchFolder("talvane-tooltips-");
        CreateDirectoryA((folder + "\\scratch").c_str(), nullptr);
        wintest::WriteBytes(folder + "\\dump.syx", wintest::Bytes{0xF0, 0x41, 0xF7});
        GetCurrentDirectoryA(MAX_PATH, startFolder);
        SetCurrentDirectoryA(folder.c_str());
        BuildScratchFileNames(folder + "\\scratch\\");
        settings = Settings{};
        settings.InputPort = -1;
        settings.OutputPort = -1;
    }

    void TearDown() override {
        if (window)
            DestroyWindow(window);
        wintest::PumpMessages();
        EXPECT_EQ(shell.tooltipWindow, nullptr);
        EXPECT_EQ(shell.currentModuleWindow, nullptr);
        EXPECT_FALSE(midi.inputOpen);
        EXPECT_FALSE(midi.outputOpen);
        SetCurrentDirectoryA(startFolder);
        wintest::RemoveFolder(folder);
    }

    void Open(int toolTips, int librarianInstrument = -1) {
        settings.ToolTips = toolTips;
        settings.LibrarianInstrument = librarianInstrument;
        window = CreateDialogIndirectParamA(shell.instance,
                                            reinterpret_cast<const DLGTEMPLATE*>(dialog->data()),
                                            nullptr, ManagerWindowProc, 0);
        ASSERT_NE(window, nullptr);
        wintest::PumpMessages();
        ASSERT_TRUE(midi.inputOpen);
        ASSERT_TRUE(midi.outputOpen);
        EXPECT_EQ(shell.currentModuleWindow, window);
    }

    void Select(int list, int index) {
        SendDlgItemMessageA(window, list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, list)));
    }

    static std::vector<std::uint8_t>* dialog;
    std::string folder;
    char startFolder[MAX_PATH] = {};
    HWND window = nullptr;
};

std::vector<std::uint8_t>* ManagerTooltips::dialog = nullptr;

const char* const basicTips[][2] = {
    {"105", "Choose MIDI port that will receive data"},
    {"106", "Choose MIDI port to send data with"},
    {"101", "Save all the above data"},
    {"100", "Clear all the above data"},
    {"109", "Delete selected file from disk"},
    {"150", "Click for help and useful advice"},
    {"111", "Create new sysex message from user input"},
    {"151", "Show program information"},
    {"107", "Choose a file from disk to open into memory"},
    {"103", "Choose a file from disk to send to instrument"},
    {"3000", "Choose instrument settings and enter librarian"},
};

void ExpectTools(HWND window, bool maximum) {
    std::vector<ToolText> expected;
    for (const auto& tip : basicTips)
        expected.push_back({GetDlgItem(window, std::stoi(tip[0])), tip[1]});
    if (maximum) {
        expected.push_back({GetDlgItem(window, 104), "Lists files on disk, in the current folder"});
        expected.push_back({GetDlgItem(window, 102), "Lists data in memory"});
    }
    const auto tools = Tools(shell.tooltipWindow);
    ASSERT_EQ(tools.size(), expected.size());
    for (std::size_t i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(tools[i].control, expected[i].control) << i;
        EXPECT_EQ(tools[i].text, expected[i].text) << i;
    }
}

} // namespace

TEST_F(ManagerTooltips, OffMakesNoTooltipWindowButTheCaptionsStillChange) {
    ASSERT_NO_FATAL_FAILURE(Open(0));
    EXPECT_EQ(shell.tooltipWindow, nullptr);
    EXPECT_EQ(managerWindow.tooltipWindow, nullptr);
    ASSERT_EQ(SendDlgItemMessageA(window, 104, LB_GETCOUNT, 0, 0), 1);
    Select(104, 0);
    EXPECT_EQ(CaptionOf(window, 107), "<< Open");
    EXPECT_EQ(CaptionOf(window, 103), "Send");
}

TEST_F(ManagerTooltips, NormalLevelHasTheBasicTipsAfterASecond) {
    ASSERT_NO_FATAL_FAILURE(Open(1));
    ASSERT_NE(shell.tooltipWindow, nullptr);
    char name[64] = {};
    GetClassNameA(shell.tooltipWindow, name, sizeof name);
    EXPECT_STREQ(name, "tooltips_class32");
    EXPECT_EQ(GetWindow(shell.tooltipWindow, GW_OWNER), window);
    EXPECT_EQ(SendMessageA(shell.tooltipWindow, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 1000);
    ExpectTools(window, false);
}

TEST_F(ManagerTooltips, MaximumLevelAddsTheListTipsWithTheSystemDelays) {
    ASSERT_NO_FATAL_FAILURE(Open(2));
    ASSERT_NE(shell.tooltipWindow, nullptr);
    EXPECT_EQ(SendMessageA(shell.tooltipWindow, TTM_GETDELAYTIME, TTDT_INITIAL, 0),
              static_cast<LRESULT>(GetDoubleClickTime()));
    ExpectTools(window, true);
}

TEST_F(ManagerTooltips, CaptionsAndTipsFollowWhatIsSelected) {
    ASSERT_NO_FATAL_FAILURE(Open(2));
    const struct {
        int id;
        const char* caption;
        const char* tip;
    } initial[] = {{111, "Create", "Create new sysex message from user input"},
                   {107, "<< Open...", "Choose a file from disk to open into memory"},
                   {103, "Send...", "Choose a file from disk to send to instrument"},
                   {3000, "Librarian...", "Choose instrument settings and enter librarian"}};
    for (const auto& button : initial) {
        EXPECT_EQ(CaptionOf(window, button.id), button.caption);
        EXPECT_EQ(TipOf(window, button.id), button.tip);
    }

    const unsigned char message[] = {0xF0, 0x41, 0x10, 0xF7};
    AppendMessageBytes(message, 4);
    CommitMessage(4, 0x41, LabelForm::received);
    Select(102, 0);
    EXPECT_EQ(CaptionOf(window, 111), "Edit");
    EXPECT_EQ(TipOf(window, 111), "Edit selected sysex message (+CTRL...)");
    EXPECT_EQ(CaptionOf(window, 107), "<< Open...");

    Select(104, 0);
    EXPECT_EQ(CaptionOf(window, 107), "<< Open");
    EXPECT_EQ(TipOf(window, 107), "Open selected file into memory (+CTRL...)");
    EXPECT_EQ(CaptionOf(window, 103), "Send");
    EXPECT_EQ(TipOf(window, 103), "Send selected file to instrument (+CTRL...)");

    // A definition chosen meanwhile shows at the next paint.
    settings.LibrarianInstrument = 3;
    EXPECT_EQ(CaptionOf(window, 3000), "Librarian...");
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(CaptionOf(window, 3000), "Librarian");
    EXPECT_EQ(TipOf(window, 3000), "Enter librarian (+CTRL...)");

    // Clear empties the list; the caption follows at once.
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, 100)));
    EXPECT_EQ(CaptionOf(window, 111), "Create");
    EXPECT_EQ(TipOf(window, 111), "Create new sysex message from user input");
    Select(104, -1);
    for (const auto& button : initial) {
        if (button.id == 3000)
            continue;
        EXPECT_EQ(CaptionOf(window, button.id), button.caption);
        EXPECT_EQ(TipOf(window, button.id), button.tip);
    }
}

TEST_F(ManagerTooltips, TheHookRelaysTheMouseAndForwardsTheKeysOfEveryControl) {
    InstallMessageHook();
    ASSERT_NO_FATAL_FAILURE(Open(2));
    ASSERT_NE(shell.tooltipWindow, nullptr);
    tooltipProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        shell.tooltipWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountRelays)));
    relayed.clear();

    const HWND clear = GetDlgItem(window, 100);
    PostMessageA(clear, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    PostMessageA(clear, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    // Only looked at, a message is not relayed; it is when it is taken.
    MSG peeked;
    ASSERT_TRUE(PeekMessageA(&peeked, clear, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
    EXPECT_TRUE(relayed.empty());
    MSG taken;
    ASSERT_TRUE(PeekMessageA(&taken, clear, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&taken, clear, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    ASSERT_EQ(relayed.size(), 2u);
    EXPECT_EQ(relayed[0].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(relayed[0].hwnd, clear);
    EXPECT_EQ(relayed[0].lParam, MAKELPARAM(3, 4));
    EXPECT_EQ(relayed[1].message, UINT(WM_LBUTTONDOWN));
    // Other messages are not relayed.
    PostMessageA(clear, WM_NULL, 0, 0);
    wintest::PumpMessages();
    EXPECT_EQ(relayed.size(), 2u);

    // A key going to a control reaches the window, which brings its captions up to date: here a
    // selection made without a notice.
    const unsigned char message[] = {0xF0, 0x42, 0xF7};
    AppendMessageBytes(message, 3);
    CommitMessage(3, 0x42, LabelForm::received);
    SendDlgItemMessageA(window, 102, LB_SETCURSEL, 0, 0);
    EXPECT_EQ(CaptionOf(window, 111), "Create");
    PostMessageA(clear, WM_KEYUP, VK_SHIFT, 0xC0000001);
    wintest::PumpMessages();
    EXPECT_EQ(CaptionOf(window, 111), "Edit");

    SetWindowLongPtrA(shell.tooltipWindow, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(tooltipProcedure));
    RemoveMessageHook();
}
