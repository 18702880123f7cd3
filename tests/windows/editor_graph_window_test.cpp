// The envelope graph window and the time-track control, driven by messages in this process, with
// a stand-in editor window that records what they send it.
#include "support/windows_test_support.h"

#include "app/module_classes.h"
#include "editor/editor_state.h"
#include "editor/editor_window.h"
#include "editor/graph_window.h"
#include "editor/time_track.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

int programChanges = 0;
std::vector<WPARAM> commands;

LRESULT CALLBACK RecordingEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == editorProgramChanged)
        ++programChanges;
    if (message == WM_COMMAND)
        commands.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                      static_cast<WORD>(static_cast<short>(y)));
}

// A program whose envelopes all lie inside a 600-pixel window: times of 10 to 40.
M1Program ShortEnvelopes(std::uint8_t oscMode) {
    M1Program program{};
    ClearProgram(program);
    program.oscMode = oscMode;
    for (OscillatorBlock& o : program.oscillator) {
        o.ampEgAttackTime = o.cutoffEgAttackTime = o.pitchEgAttackTime = 10;
        o.ampEgDecayTime = o.cutoffEgDecayTime = o.pitchEgDecayTime = 20;
        o.ampEgSlopeTime = o.cutoffEgSlopeTime = 30;
        o.ampEgReleaseTime = o.cutoffEgReleaseTime = o.pitchEgReleaseTime = 40;
        o.ampEgAttackLevel = 99;
        o.ampEgBreakLevel = 70;
        o.ampEgSustainLevel = 50;
        o.cutoffEgAttackLevel = o.pitchEgAttackLevel = 60;
        o.cutoffEgBreakLevel = 30;
        o.cutoffEgSustainLevel = -20;
        o.cutoffEgReleaseLevel = o.pitchEgReleaseLevel = -40;
        o.pitchEgStartLevel = -10;
    }
    return program;
}

bool HasColour(HWND window, COLORREF colour, int fromX) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    bool found = false;
    for (int y = 0; y < client.bottom && !found; ++y)
        for (int x = fromX; x < client.right && !found; ++x)
            found = GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return found;
}

class GraphWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shell.instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(RegisterWindowClasses());
    }

    void SetUp() override {
        standInEditor = wintest::CreateStandInWindow("Editor", RecordingEditor);
        shell.currentModuleWindow = standInEditor;
        programChanges = 0;
        commands.clear();
        graph = GraphState{};
        settings = Settings{};
        editor.program = ShortEnvelopes(1);
    }

    void TearDown() override {
        if (window)
            DestroyWindow(window);
        DestroyWindow(standInEditor);
        shell.currentModuleWindow = nullptr;
    }

    HWND Open(int x = 40, int y = 40, int w = 600, int h = 240) {
        window = CreateWindowExA(0, "QX_SysexGraph", "", WS_POPUP | WS_VISIBLE | WS_THICKFRAME, x,
                                 y, w, h, nullptr, nullptr, shell.instance, nullptr);
        EXPECT_TRUE(window);
        Repaint();
        return window;
    }

    void Repaint() {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        wintest::PumpMessages();
    }

    void Click(int x, int y) { SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }

    void Drag(GraphPoint from, GraphPoint to) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(from.x, from.y));
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At((from.x + to.x) / 2, to.y));
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(to.x, to.y));
        SendMessageA(window, WM_LBUTTONUP, 0, At(to.x, to.y));
    }

    GraphFrame Frame() { return CurrentGraphFrame(window); }

    HWND standInEditor = nullptr;
    HWND window = nullptr;
};

TEST_F(GraphWindow, KeepsItsPlaceAndSharesItsPensWhileAWindowLives) {
    Open(33, 44, 500, 200);
    HWND second = CreateWindowExA(0, "QX_SysexGraph", "", WS_POPUP | WS_THICKFRAME, 0, 0, 100, 100,
                                  nullptr, nullptr, shell.instance, nullptr);
    EXPECT_EQ(graphResources.liveWindows, 2);
    DestroyWindow(second);
    EXPECT_EQ(graphResources.liveWindows, 1);
    EXPECT_NE(graphResources.pens[0], nullptr);

    // The bars lie under the main and the release area.
    const GraphFrame frame = Frame();
    const int m = MainAreaWidth(frame);
    RECT bar;
    GetWindowRect(GetDlgItem(window, mainScrollBarId), &bar);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.left, 70);
    EXPECT_EQ(bar.right, 70 + m);
    EXPECT_EQ(bar.top, frame.height - frame.scrollBarHeight);
    GetWindowRect(GetDlgItem(window, releaseScrollBarId), &bar);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.left, 70 + m);
    EXPECT_EQ(bar.right, frame.width);

    MoveWindow(window, 61, 72, 420, 180, TRUE);
    DestroyWindow(window);
    window = nullptr;
    EXPECT_EQ(settings.GraphX, 61);
    EXPECT_EQ(settings.GraphY, 72);
    EXPECT_EQ(settings.GraphW, 420);
    EXPECT_EQ(settings.GraphH, 180);
    EXPECT_EQ(graphResources.liveWindows, 0);
    EXPECT_EQ(graphResources.pens[0], nullptr);
}

TEST_F(GraphWindow, LegendClicksSwitchCurvesAndOscillator2IsDrawnOnlyInDoubleMode) {
    editor.program.oscMode = 0;
    Open();
    const int h = Frame().height;
    const COLORREF amp2 = RGB(0, 0, 128);
    EXPECT_EQ(graph.selectedCurve, 0);
    Click(10, 5 * h / 8 + 2); // Amp 2 in single mode: shown, never selected
    Repaint();
    EXPECT_EQ(settings.GraphAmp2, 1);
    EXPECT_EQ(graph.selectedCurve, 6);         // the paint's choice, the first shown curve
    EXPECT_TRUE(HasColour(window, amp2, 0));   // its legend row
    EXPECT_FALSE(HasColour(window, amp2, 71)); // but no curve
    for (const GraphPoint& handle : graph.handles)
        EXPECT_EQ(handle.x, -1); // and no handles

    Click(10, 2 * h / 8 + 2); // Pitch 1
    Repaint();
    EXPECT_EQ(settings.GraphPitch1, 1);
    EXPECT_EQ(graph.selectedCurve, 3);
    EXPECT_NE(graph.handles[0].x, -1);
    EXPECT_TRUE(HasColour(window, RGB(255, 0, 0), 71));

    editor.program.oscMode = 1;
    Repaint();
    EXPECT_TRUE(HasColour(window, amp2, 71));
    Click(10, 2 * h / 8 + 2); // Pitch 1 off: the selection falls back to Amp 2
    Click(10, 0);             // the heading changes nothing
    Repaint();
    EXPECT_EQ(settings.GraphPitch1, 0);
    EXPECT_EQ(graph.selectedCurve, 6);
    EXPECT_EQ(programChanges, 0);
}

// In double mode, a drop of an oscillator 2 handle changes exactly the bytes of its row and
// tells the editor once.
TEST_F(GraphWindow, DroppingAnOscillator2HandleWritesOnlyItsFields) {
    settings.GraphAmp2 = settings.GraphPitch2 = settings.GraphCutoff2 = 1;
    struct Case {
        int curve;
        int handle;
        std::vector<int> offsets; // program bytes written
    } cases[] = {
        {6, 1, {103 + 29, 103 + 30}}, {6, 5, {103 + 35}}, {7, 2, {103 + 3}}, {7, 6, {103 + 5}},
        {8, 3, {103 + 19, 103 + 20}}, {8, 4, {103 + 20}},
    };
    Open(40, 40, 900, 240); // wide enough for the release ends
    for (const Case& c : cases) {
        editor.program = ShortEnvelopes(1);
        graph.selectedCurve = c.curve;
        Repaint();
        const GraphPoint from = graph.handles[static_cast<std::size_t>(c.handle)];
        ASSERT_NE(from.x, -1) << "curve " << c.curve << " handle " << c.handle;
        const ProgramBytes before = ProgramToBytes(editor.program);
        const int changesBefore = programChanges;
        Drag(from, {from.x + 23, from.y + 17});
        EXPECT_EQ(programChanges, changesBefore + 1);
        EXPECT_EQ(graph.draggedHandle, 0);
        EXPECT_EQ(GetCapture(), nullptr);
        const ProgramBytes after = ProgramToBytes(editor.program);
        std::vector<int> changed;
        for (int i = 0; i < m1ProgramSize; ++i)
            if (before[static_cast<std::size_t>(i)] != after[static_cast<std::size_t>(i)])
                changed.push_back(i);
        EXPECT_EQ(changed, c.offsets) << "curve " << c.curve << " handle " << c.handle;
    }
    // The amplitude attack moved 23 pixels right of a 10-pixel attack and 17 pixels down.
    editor.program = ShortEnvelopes(1);
    graph.selectedCurve = 6;
    Repaint();
    const GraphPoint attack = graph.handles[1];
    Drag(attack, {attack.x + 23, attack.y + 17});
    EXPECT_EQ(editor.program.oscillator[1].ampEgAttackTime, TimeFromDistance(33));
    EXPECT_EQ(editor.program.oscillator[1].ampEgAttackLevel,
              UnsignedLevelFromY(attack.y + 17, PlotHeight(Frame())));
}

TEST_F(GraphWindow, DraggingThePlotMovesTheWindowByThePointersDisplacement) {
    Open(200, 150, 500, 200);
    RECT before;
    GetWindowRect(window, &before);
    struct Move {
        GraphPoint from, to;
    } moves[] = {{{300, 40}, {330, 60}}, {{300, 40}, {250, -30}}};
    for (const Move& m : moves) {
        GetWindowRect(window, &before);
        Drag(m.from, m.to);
        RECT after;
        GetWindowRect(window, &after);
        EXPECT_EQ(after.left - before.left, m.to.x - m.from.x);
        EXPECT_EQ(after.top - before.top, m.to.y - m.from.y);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_FALSE(graph.moving);
    }
    EXPECT_EQ(programChanges, 0);
}

TEST_F(GraphWindow, TheLongestAttackScrollsAndHandlesOffScreenAreNeitherDrawnNorHit) {
    settings.GraphAmp1 = 1;
    editor.program.oscillator[0].ampEgAttackTime = 99;
    Open();
    const GraphFrame frame = Frame();
    const int m = MainAreaWidth(frame);
    HWND bar = GetDlgItem(window, mainScrollBarId);
    int lo = 0, hi = 0;
    GetScrollRange(bar, SB_CTL, &lo, &hi);
    EXPECT_EQ(hi, 12210 + TimeDistance(20) + TimeDistance(30) + 50 - m);
    EXPECT_TRUE(IsWindowEnabled(bar));
    EXPECT_EQ(graph.handles[1].x, -1); // the attack lies 12,210 pixels to the right
    EXPECT_EQ(graph.handles[2].x, -1);

    auto scroll = [&](int code, int position = 0) {
        SendMessageA(window, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
        UpdateWindow(window);
    };
    scroll(SB_PAGERIGHT);
    EXPECT_EQ(graph.mainOffset, -m);
    scroll(SB_LINELEFT);
    EXPECT_EQ(graph.mainOffset, -m + m / 10);
    scroll(SB_THUMBTRACK, hi - 100);
    EXPECT_EQ(graph.mainOffset, -m + m / 10);
    scroll(SB_THUMBPOSITION, hi - 100);
    EXPECT_EQ(graph.mainOffset, -(hi - 100));
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), hi - 100);
    EXPECT_EQ(graph.handles[1].x, 12210 - (hi - 100)); // now on screen
    scroll(SB_THUMBPOSITION, 60000);
    EXPECT_EQ(graph.mainOffset, -hi);

    // The release bar scrolls its own offset, within its own range.
    HWND releaseBar = GetDlgItem(window, releaseScrollBarId);
    int releaseMax = 0;
    GetScrollRange(releaseBar, SB_CTL, &lo, &releaseMax);
    EXPECT_EQ(releaseMax, 70 + TimeDistance(40) + 50 - ReleaseBarWidth(frame));
    SendMessageA(window, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(releaseBar));
    EXPECT_EQ(graph.releaseOffset, -releaseMax);
    EXPECT_EQ(graph.mainOffset, -hi);

    // A shorter attack pulls the offset back into the new range at the next paint.
    editor.program.oscillator[0].ampEgAttackTime = 50;
    Repaint();
    EXPECT_EQ(graph.mainOffset, 0);
    EXPECT_FALSE(IsWindowEnabled(bar));
}

class TimeTrack : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shell.instance = GetModuleHandleA(nullptr);
        RegisterWindowClasses();
    }
    void SetUp() override {
        commands.clear();
        parent = wintest::CreateStandInWindow("Editor", RecordingEditor);
        SetWindowPos(parent, HWND_TOP, 20, 20, 200, 100, SWP_SHOWWINDOW);
        for (int id : {3245, 3249})
            controls.push_back(CreateWindowA(
                "QX_TimeTrack", "", WS_CHILD | WS_VISIBLE, 10 + (id - 3245) * 5, 10, 14, 18, parent,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr));
        UpdateWindow(parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    COLORREF Pixel(HWND control, int x, int y) {
        UpdateWindow(control);
        HDC dc = GetDC(control);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return colour;
    }

    HWND parent = nullptr;
    std::vector<HWND> controls;
};

TEST_F(TimeTrack, ThreeClicksInAHalfReturnToOffAndEachClickTellsTheParent) {
    HWND cutoff = controls[0];
    EXPECT_EQ(SendMessageA(cutoff, timeTrackGetTracking, 0, 0), 0);
    EXPECT_EQ(SendMessageA(cutoff, timeTrackGetVelocity, 0, 0), 0);
    const LRESULT tracking[] = {0x01, 0x11, 0};
    for (LRESULT expected : tracking) {
        SendMessageA(cutoff, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 8)); // rows 0..8 are the top
        EXPECT_EQ(SendMessageA(cutoff, timeTrackGetTracking, 0, 0), expected);
        EXPECT_EQ(SendMessageA(cutoff, timeTrackGetVelocity, 0, 0), 0);
    }
    SendMessageA(cutoff, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 9));
    EXPECT_EQ(SendMessageA(cutoff, timeTrackGetVelocity, 0, 0), 0x01);
    EXPECT_EQ(SendMessageA(controls[1], timeTrackGetVelocity, 0, 0), 0); // its own states
    EXPECT_EQ(commands, (std::vector<WPARAM>{3245, 3245, 3245, 3245}));
}

TEST_F(TimeTrack, SetStatesShowsThemAndBadStatesAreOff) {
    HWND amp = controls[1];
    EXPECT_EQ(SendMessageA(amp, timeTrackSetStates, 2, 0), 0);
    EXPECT_EQ(SendMessageA(amp, timeTrackGetTracking, 0, 0), 0x01);
    EXPECT_EQ(SendMessageA(amp, timeTrackGetVelocity, 0, 0), 0x11);
    EXPECT_EQ(Pixel(amp, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(amp, 13, 17), RGB(0, 0, 255));
    SendMessageA(amp, timeTrackSetStates, 7, static_cast<LPARAM>(-1));
    EXPECT_EQ(SendMessageA(amp, timeTrackGetTracking, 0, 0), 0);
    EXPECT_EQ(SendMessageA(amp, timeTrackGetVelocity, 0, 0), 0);
    EXPECT_EQ(Pixel(amp, 13, 17), RGB(192, 192, 192)); // the light grey stock brush
    EXPECT_TRUE(commands.empty());                     // only clicks notify
}

} // namespace
