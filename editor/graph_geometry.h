#pragma once
#include "editor/m1_program.h"
#include "shell/settings.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

// Where the envelope graph window puts things, independent of how they are drawn: the time
// table, the conversions between envelope values and pixels, the curves' shapes, the handles'
// drag limits and what a drop writes, the legend's switches and the scrolling arithmetic. All
// divisions truncate toward zero, each quotient on its own, as the pictures the users know were
// drawn that way.

// Converts an envelope time 0..99 into a horizontal distance: entry / 90 pixels. Non-decreasing.
extern const std::array<std::int32_t, 100> envelopeTimeTable;

inline constexpr int legendWidth = 70;  // the legend strip is x 0..69, its line at 69
inline constexpr int legendRows = 8;    // rows 0 and 4 are the oscillators' headings
inline constexpr int handleCount = 7;   // handle numbers 0..6
inline constexpr int handleReach = 5;   // a pointer closer than this in x and y hits a handle
inline constexpr int maximumLevel = 99; // levels and times alike
inline constexpr int noHandle = -1;

enum class CurveKind { amp, pitch, cutoff };

// The six curves: the number is the legend row plus one; only oscillator 2's curves depend on
// the double mode.
struct GraphCurve {
    int number;
    int legendRow;
    const char* label;
    std::int32_t Settings::*setting;
    std::uint8_t red, green, blue;
    int oscillator; // 0 or 1: the oscillator block
    CurveKind kind;
};
extern const std::array<GraphCurve, 6> graphCurves;       // in curve number order 2,3,4,6,7,8
extern const std::array<int, 6> legendPaintOrder;         // Amp 1, Amp 2, Pitch 1, ...
extern const std::array<int, 3> oscillatorCurveDrawOrder; // Amp, Cutoff, Pitch of one oscillator

// The curve of this number, or nullptr for 0 and the heading rows.
const GraphCurve* CurveNumbered(int number);
bool CurveShown(const GraphCurve& curve, const Settings& settings);
// Only the whole oscMode byte 1 is the double mode: drum and odd values draw oscillator 1 only.
inline bool DoubleMode(std::uint8_t oscMode) {
    return oscMode == 1;
}
bool CurveActive(const GraphCurve& curve, std::uint8_t oscMode);

// ---- Geometry ----

struct GraphPoint {
    int x;
    int y;
};

// What the positions depend on: the client size, the system's horizontal scroll bar height and
// the scroll state as the last paint left it.
struct GraphFrame {
    int width = 0;
    int height = 0;
    int scrollBarHeight = 0;
    int mainOffset = 0;    // <= 0
    int releaseOffset = 0; // <= 0
    int mainExtent = 0;    // as the last paint worked it out, margin included
    int releaseExtent = 0;
};

int PlotHeight(const GraphFrame& frame);      // P = H - S
int MainAreaWidth(const GraphFrame& frame);   // M = (3W - 210) / 4
int ReleaseBarWidth(const GraphFrame& frame); // (W - 70) / 4: the release bar's page

// A time value's distance in pixels; a value outside 0..99 is taken as the nearest end.
int TimeDistance(int time);
// The time value whose distance is nearest to d pixels; a tie goes to the lower value.
int TimeFromDistance(int distance);

// x at the end of the given segments of the main area (none: its start).
int MainX(const GraphFrame& frame, std::initializer_list<int> times);
// x at the end of a release of this time in the release area.
int ReleaseX(const GraphFrame& frame, int time);
int UnsignedLevelY(int level, int plot);
int SignedLevelY(int level, int plot);
int UnsignedLevelFromY(int y, int plot);
int SignedLevelFromY(int y, int plot);
int LevelY(CurveKind kind, int level, int plot);
int LevelFromY(CurveKind kind, int y, int plot);

// One envelope as drawn: every value clamped into what the table and the plot hold (a dump from
// the instrument can carry anything), so nothing is read outside the time table.
struct Envelope {
    int startLevel = 0;
    int attackTime = 0;
    int attackLevel = 0;
    int decayTime = 0;
    int breakLevel = 0;
    int slopeTime = 0;
    int sustainLevel = 0;
    int releaseTime = 0;
    int releaseLevel = 0;
};
Envelope ReadEnvelope(const OscillatorBlock& block, CurveKind kind);

// The polylines of a curve. Points that are handles carry their number, others noHandle.
struct CurvePoint {
    int x;
    int y;
    int handle;
};
struct CurvePolyline {
    std::array<CurvePoint, 5> points{};
    int count = 0;
};
struct CurveShape {
    CurvePolyline main;    // clipped to the main area
    CurvePolyline release; // clipped to the release area
};
CurveShape ShapeOfCurve(CurveKind kind, const Envelope& envelope, const GraphFrame& frame);

// The right-most content of a curve before scrolling: the end of its last timed segment before
// the sustain, and the end of its release.
int MainExtentCandidate(CurveKind kind, const Envelope& envelope);
int ReleaseExtentCandidate(const Envelope& envelope);

// ---- Handles ----

using HandlePositions = std::array<GraphPoint, handleCount>; // x = -1: not on screen

// The on-screen handle nearest to (x, y) within reach, by |dx| + |dy|; a tie keeps the lower
// number. noHandle when none is in reach.
int HandleAt(const HandlePositions& handles, int x, int y);

struct DragLimits {
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
};
// Where a handle may go. Handles 2 and 3 start from the end of the previous segment as the
// envelope puts it, so a drag is right even when that point is scrolled out of sight.
DragLimits LimitsOfHandle(CurveKind kind, int handle, const Envelope& envelope,
                          const GraphFrame& frame, const HandlePositions& handles);
GraphPoint ClampIntoLimits(GraphPoint point, const DragLimits& limits);
// Writes what dropping the handle at `point` (already inside the limits) means into the
// curve's envelope fields, and nothing else.
void ApplyHandleDrop(OscillatorBlock& block, CurveKind kind, int handle, GraphPoint point,
                     const DragLimits& limits, int plot);

// ---- Legend ----

// The selection a paint starts from: an oscillator 2 curve outside the double mode or a hidden
// curve gives way to the first shown curve of the order 2, 3, 4, 6, 7, 8.
int CheckedSelection(int selected, const Settings& settings, std::uint8_t oscMode);
// The legend row under y for a client height.
int LegendRowAt(int y, int height);
// A click on a legend row: flips the curve's setting; a curve switched on becomes the selected
// one (oscillator 2's only in the double mode). Headings change nothing.
void ClickLegendRow(int row, Settings& settings, std::uint8_t oscMode, int& selected);

// ---- Scrolling ----

inline constexpr int scrollLineLeft = 0;
inline constexpr int scrollLineRight = 1;
inline constexpr int scrollPageLeft = 2;
inline constexpr int scrollPageRight = 3;
inline constexpr int scrollThumbPosition = 4;
inline constexpr int scrollThumbTrack = 5;

// The offset after a scroll code, kept within -(rangeMax)..0; nothing while the thumb is
// dragged (the position applies when it is let go).
std::optional<int> ScrolledOffset(int offset, int code, int thumb, int mainWidth, int rangeMax);

// How a paint sets up one scroll bar from the content's extent and the area's width.
struct ScrollSetup {
    int rangeMax = 0;
    bool enabled = true;
    bool setPosition = false; // the offset was pulled back: the bar's position follows
    int offset = 0;
};
ScrollSetup SetUpScroll(int extent, int width, int offset);
