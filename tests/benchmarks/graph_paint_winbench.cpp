// How long the envelope graph window takes to paint itself under Wine: the worst program (every
// time 99, so the first attack alone reaches 12,210 pixels to the right) and a typical one, all six
// curves shown in double mode. Not a test: it prints the times a paint takes.
//
//   graph_paint_winbench.exe [paints] [--screenshot file.bmp]
//
// With --screenshot it also saves the window showing the typical program, for the documentation.
#include "app/module_classes.h"
#include "editor/editor_state.h"
#include "editor/graph_window.h"
#include "harness/screenshot.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void SetEnvelopes(OscillatorBlock& o, int attack, int decay, int slope, int release) {
    o.ampEgAttackTime = o.cutoffEgAttackTime = o.pitchEgAttackTime =
        static_cast<std::uint8_t>(attack);
    o.ampEgDecayTime = o.cutoffEgDecayTime = o.pitchEgDecayTime = static_cast<std::uint8_t>(decay);
    o.ampEgSlopeTime = o.cutoffEgSlopeTime = static_cast<std::uint8_t>(slope);
    o.ampEgReleaseTime = o.cutoffEgReleaseTime = o.pitchEgReleaseTime =
        static_cast<std::uint8_t>(release);
}

M1Program LongestProgram() {
    M1Program p{};
    ClearProgram(p);
    p.oscMode = 1;
    for (OscillatorBlock& o : p.oscillator) {
        SetEnvelopes(o, 99, 99, 99, 99);
        o.ampEgAttackLevel = o.ampEgBreakLevel = o.ampEgSustainLevel = 99;
        o.cutoffEgAttackLevel = o.pitchEgAttackLevel = 99;
        o.cutoffEgReleaseLevel = o.pitchEgReleaseLevel = -99;
    }
    return p;
}

// A pad: slow attack, a dip, a long sustain; oscillator 2 brighter and shorter.
M1Program TypicalProgram() {
    M1Program p{};
    ClearProgram(p);
    std::memcpy(p.name, "Warm Pad  ", 10);
    p.oscMode = 1;
    OscillatorBlock& a = p.oscillator[0];
    SetEnvelopes(a, 45, 52, 60, 55);
    a.ampEgAttackLevel = 99;
    a.ampEgBreakLevel = 80;
    a.ampEgSustainLevel = 70;
    a.cutoffEgAttackLevel = 60;
    a.cutoffEgBreakLevel = 25;
    a.cutoffEgSustainLevel = 10;
    a.cutoffEgReleaseLevel = -20;
    a.pitchEgStartLevel = -30;
    a.pitchEgAttackLevel = 12;
    a.pitchEgReleaseLevel = -15;
    OscillatorBlock& b = p.oscillator[1];
    SetEnvelopes(b, 20, 40, 48, 40);
    b.ampEgAttackLevel = 90;
    b.ampEgBreakLevel = 60;
    b.ampEgSustainLevel = 45;
    b.cutoffEgAttackLevel = 85;
    b.cutoffEgBreakLevel = 40;
    b.cutoffEgSustainLevel = -10;
    b.cutoffEgReleaseLevel = -45;
    b.pitchEgStartLevel = 25;
    b.pitchEgAttackLevel = -8;
    b.pitchEgReleaseLevel = 20;
    return p;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Measure(HWND window, const char* name, int paints) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < paints + 5; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        GdiFlush();
        QueryPerformanceCounter(&end);
        if (i >= 5) // the first paints set up fonts and caches
            times.push_back(Milliseconds(start, end, frequency));
        Pump();
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    std::printf("%-34s paints %4d  mean %6.2f ms  median %6.2f ms  90%% %6.2f ms  max %6.2f ms\n",
                name, paints, sum / static_cast<double>(times.size()), times[times.size() / 2],
                times[times.size() * 9 / 10], times.back());
}

} // namespace

int main(int argc, char** argv) {
    int paints = 200;
    std::string screenshot;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            screenshot = argv[++i];
        else
            paints = std::max(1, std::atoi(argv[i]));
    }
    shell.instance = GetModuleHandleA(nullptr);
    if (!RegisterWindowClasses()) {
        std::fprintf(stderr, "cannot register the window classes\n");
        return 1;
    }
    for (const GraphCurve& curve : graphCurves)
        settings.*curve.setting = 1;
    graph.selectedCurve = 6; // Amp 2: handles on a curve of oscillator 2
    HWND window = CreateWindowExA(0, "QX_SysexGraph", "", WS_POPUP | WS_VISIBLE | WS_THICKFRAME, 60,
                                  60, 760, 300, nullptr, nullptr, shell.instance, nullptr);
    if (!window) {
        std::fprintf(stderr, "cannot create the graph window\n");
        return 1;
    }
    editor.program = LongestProgram();
    Measure(window, "every time 99 (12,210-pixel attack)", paints);
    editor.program = TypicalProgram();
    Measure(window, "typical program", paints);
    // The floor: a window of the same size and background that paints nothing itself.
    WNDCLASSA plain{};
    plain.lpfnWndProc = DefWindowProcA;
    plain.hInstance = shell.instance;
    plain.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    plain.lpszClassName = "GraphBenchPlain";
    RegisterClassA(&plain);
    HWND empty = CreateWindowExA(0, "GraphBenchPlain", "", WS_POPUP | WS_VISIBLE | WS_THICKFRAME,
                                 60, 400, 760, 300, nullptr, nullptr, shell.instance, nullptr);
    if (empty) {
        Measure(empty, "empty window (erase only)", paints);
        DestroyWindow(empty);
    }
    int result = 0;
    if (!screenshot.empty()) {
        Pump();
        Sleep(300);
        Pump();
        if (!e2e::SaveBitmap(e2e::CaptureWindow(window), screenshot)) {
            std::fprintf(stderr, "cannot save %s\n", screenshot.c_str());
            result = 1;
        }
    }
    DestroyWindow(window);
    return result;
}
