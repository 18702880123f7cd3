#include "editor/graph_geometry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

const std::array<std::int32_t, 100> envelopeTimeTable = {
    0,      484,    500,    500,     500,   622,   622,   721,   727,   834,   957,    1316,
    1660,   2941,   3067,   3067,    3199,  3322,  3417,  3556,  3661,  3780,  3889,   4004,
    4019,   4230,   4396,   4396,    4607,  4667,  4835,  4835,  5039,  5184,  5301,   5407,
    5513,   5749,   5890,   6013,    6231,  6320,  6575,  6689,  6917,  7162,  7266,   7518,
    7606,   7859,   8102,   8470,    8538,  8916,  9149,  9266,  9634,  9837,  10216,  10689,
    10893,  11240,  11698,  12197,   12529, 12973, 13569, 13915, 14511, 14857, 15557,  16460,
    17044,  17876,  18477,  19504,   20318, 21380, 22778, 23717, 25374, 26475, 28489,  29803,
    32488,  35307,  37376,  41525,   44282, 49617, 56196, 62108, 72307, 81687, 100872, 119468,
    162859, 239386, 347132, 1092618,
};

const std::array<GraphCurve, 6> graphCurves = {{
    {2, 1, "Amp", &Settings::GraphAmp1, 128, 0, 0, 0, CurveKind::amp},
    {3, 2, "Pitch", &Settings::GraphPitch1, 255, 0, 0, 0, CurveKind::pitch},
    {4, 3, "Cutoff", &Settings::GraphCutoff1, 128, 128, 0, 0, CurveKind::cutoff},
    {6, 5, "Amp", &Settings::GraphAmp2, 0, 0, 128, 1, CurveKind::amp},
    {7, 6, "Pitch", &Settings::GraphPitch2, 0, 0, 255, 1, CurveKind::pitch},
    {8, 7, "Cutoff", &Settings::GraphCutoff2, 0, 128, 128, 1, CurveKind::cutoff},
}};
const std::array<int, 6> legendPaintOrder = {2, 6, 3, 7, 4, 8};
const std::array<int, 3> oscillatorCurveDrawOrder = {2, 4, 3};

const GraphCurve* CurveNumbered(int number) {
    for (const GraphCurve& curve : graphCurves)
        if (curve.number == number)
            return &curve;
    return nullptr;
}

bool CurveShown(const GraphCurve& curve, const Settings& settings) {
    return settings.*curve.setting != 0;
}

bool CurveActive(const GraphCurve& curve, std::uint8_t oscMode) {
    return curve.oscillator == 0 || DoubleMode(oscMode);
}

// ---- Geometry ----

int PlotHeight(const GraphFrame& frame) {
    return frame.height - frame.scrollBarHeight;
}

int MainAreaWidth(const GraphFrame& frame) {
    return (3 * frame.width - 210) / 4;
}

int ReleaseBarWidth(const GraphFrame& frame) {
    return (frame.width - legendWidth) / 4;
}

int TimeDistance(int time) {
    return envelopeTimeTable[std::clamp(time, 0, maximumLevel)] / 90;
}

int TimeFromDistance(int distance) {
    const std::int64_t wanted = std::int64_t{distance} * 90;
    int i = 0;
    while (i < maximumLevel && envelopeTimeTable[i] < wanted)
        ++i;
    if (i == 0)
        return 0;
    return envelopeTimeTable[i] - wanted < wanted - envelopeTimeTable[i - 1] ? i : i - 1;
}

int MainX(const GraphFrame& frame, std::initializer_list<int> times) {
    int x = legendWidth;
    for (int time : times)
        x += TimeDistance(time);
    return x + frame.mainOffset;
}

int ReleaseX(const GraphFrame& frame, int time) {
    return legendWidth + MainAreaWidth(frame) + TimeDistance(time) + frame.releaseOffset;
}

int UnsignedLevelY(int level, int plot) {
    return plot - level * plot / maximumLevel;
}

int SignedLevelY(int level, int plot) {
    return plot / 2 - level * plot / 2 / maximumLevel;
}

// A window shorter than its scroll bar has no plot; the levels are then read as if it had one
// pixel, rather than divided by zero.
int UnsignedLevelFromY(int y, int plot) {
    return maximumLevel - y * maximumLevel / std::max(plot, 1);
}

int SignedLevelFromY(int y, int plot) {
    return maximumLevel - y * 198 / std::max(plot, 1);
}

int LevelY(CurveKind kind, int level, int plot) {
    return kind == CurveKind::amp ? UnsignedLevelY(level, plot) : SignedLevelY(level, plot);
}

int LevelFromY(CurveKind kind, int y, int plot) {
    return kind == CurveKind::amp ? UnsignedLevelFromY(y, plot) : SignedLevelFromY(y, plot);
}

// ---- Envelope fields ----

namespace {

enum Field {
    startLevel,
    attackTime,
    attackLevel,
    decayTime,
    breakLevel,
    slopeTime,
    sustainLevel,
    releaseTime,
    releaseLevel,
    fieldCount
};
constexpr int absent = -1;

// Byte numbers of each envelope's fields inside an oscillator block; the amplitude envelope has
// no start and no release level (it always starts and ends at 0), the pitch envelope no break,
// slope or sustain.
constexpr int fieldOffsets[3][fieldCount] = {
    {absent, 29, 30, 31, 32, 33, 34, 35, absent}, // amp
    {0, 1, 2, 3, absent, absent, absent, 4, 5},   // pitch
    {absent, 15, 16, 17, 18, 19, 20, 21, 22},     // cutoff
};

constexpr bool IsTime(int field) {
    return field == attackTime || field == decayTime || field == slopeTime || field == releaseTime;
}

int ReadField(const OscillatorBlock& block, CurveKind kind, int field) {
    const int offset = fieldOffsets[static_cast<int>(kind)][field];
    if (offset == absent)
        return 0;
    std::uint8_t byte;
    std::memcpy(&byte, reinterpret_cast<const unsigned char*>(&block) + offset, 1);
    if (IsTime(field) || kind == CurveKind::amp)
        return std::clamp(int{byte}, 0, maximumLevel);
    return std::clamp(int{static_cast<std::int8_t>(byte)}, -maximumLevel, maximumLevel);
}

void WriteField(OscillatorBlock& block, CurveKind kind, int field, int value) {
    const int offset = fieldOffsets[static_cast<int>(kind)][field];
    if (offset == absent)
        return;
    const auto byte = static_cast<std::uint8_t>(value);
    std::memcpy(reinterpret_cast<unsigned char*>(&block) + offset, &byte, 1);
}

// What each handle sets from a drop: its time field and its level field (none where the handle
// moves only one way or the envelope lacks the field).
struct HandleFields {
    int time;
    int level;
};
constexpr HandleFields handleFields[handleCount] = {
    {absent, startLevel},      {attackTime, attackLevel}, {decayTime, breakLevel},
    {slopeTime, sustainLevel}, {absent, sustainLevel},    {releaseTime, releaseLevel},
    {absent, releaseLevel},
};

CurvePoint Point(int x, int y, int handle = noHandle) {
    return {x, y, handle};
}

void Add(CurvePolyline& line, CurvePoint point) {
    line.points[static_cast<std::size_t>(line.count++)] = point;
}

} // namespace

Envelope ReadEnvelope(const OscillatorBlock& block, CurveKind kind) {
    Envelope e;
    e.startLevel = ReadField(block, kind, startLevel);
    e.attackTime = ReadField(block, kind, attackTime);
    e.attackLevel = ReadField(block, kind, attackLevel);
    e.decayTime = ReadField(block, kind, decayTime);
    e.breakLevel = ReadField(block, kind, breakLevel);
    e.slopeTime = ReadField(block, kind, slopeTime);
    e.sustainLevel = ReadField(block, kind, sustainLevel);
    e.releaseTime = ReadField(block, kind, releaseTime);
    e.releaseLevel = ReadField(block, kind, releaseLevel);
    return e;
}

CurveShape ShapeOfCurve(CurveKind kind, const Envelope& e, const GraphFrame& frame) {
    const int plot = PlotHeight(frame);
    const int farRight = legendWidth + frame.mainExtent + frame.width + frame.mainOffset;
    const int releaseEnd =
        MainAreaWidth(frame) + legendWidth - 1 + frame.releaseExtent + frame.releaseOffset;
    auto y = [&](int level) { return LevelY(kind, level, plot); };
    CurveShape shape;
    CurvePolyline& main = shape.main;
    CurvePolyline& release = shape.release;
    if (kind == CurveKind::pitch) {
        Add(main, Point(MainX(frame, {}), y(e.startLevel), 0));
        Add(main, Point(MainX(frame, {e.attackTime}), y(e.attackLevel), 1));
        Add(main, Point(MainX(frame, {e.attackTime, e.decayTime}), y(0), 2));
        Add(main, Point(farRight, y(0)));
        Add(release, Point(ReleaseX(frame, 0), y(0)));
        Add(release, Point(ReleaseX(frame, e.releaseTime), y(e.releaseLevel), 5));
        Add(release, Point(releaseEnd, y(e.releaseLevel), 6));
        return shape;
    }
    Add(main, Point(MainX(frame, {}), y(0)));
    Add(main, Point(MainX(frame, {e.attackTime}), y(e.attackLevel), 1));
    Add(main, Point(MainX(frame, {e.attackTime, e.decayTime}), y(e.breakLevel), 2));
    Add(main, Point(MainX(frame, {e.attackTime, e.decayTime, e.slopeTime}), y(e.sustainLevel), 3));
    Add(main, Point(farRight, y(e.sustainLevel)));
    Add(release, Point(ReleaseX(frame, 0), y(e.sustainLevel), 4));
    if (kind == CurveKind::amp) {
        Add(release, Point(ReleaseX(frame, e.releaseTime), y(0), 5));
    } else {
        Add(release, Point(ReleaseX(frame, e.releaseTime), y(e.releaseLevel), 5));
        Add(release, Point(releaseEnd, y(e.releaseLevel), 6));
    }
    return shape;
}

int MainExtentCandidate(CurveKind kind, const Envelope& e) {
    int x = legendWidth + TimeDistance(e.attackTime) + TimeDistance(e.decayTime);
    if (kind != CurveKind::pitch)
        x += TimeDistance(e.slopeTime);
    return x;
}

int ReleaseExtentCandidate(const Envelope& e) {
    return legendWidth + TimeDistance(e.releaseTime);
}

// ---- Handles ----

int HandleAt(const HandlePositions& handles, int x, int y) {
    int best = noHandle;
    int bestDistance = 0;
    for (int i = 0; i < handleCount; ++i) {
        const GraphPoint h = handles[static_cast<std::size_t>(i)];
        if (h.x == -1)
            continue;
        const int dx = std::abs(x - h.x);
        const int dy = std::abs(y - h.y);
        if (dx >= handleReach || dy >= handleReach)
            continue;
        if (best == noHandle || dx + dy < bestDistance) {
            best = i;
            bestDistance = dx + dy;
        }
    }
    return best;
}

DragLimits LimitsOfHandle(CurveKind kind, int handle, const Envelope& e, const GraphFrame& frame,
                          const HandlePositions& handles) {
    const int plot = PlotHeight(frame);
    const int longest = TimeDistance(maximumLevel);
    auto along = [&](int from) { return DragLimits{from, from + longest, 0, plot}; };
    auto fixedX = [&](int x) { return DragLimits{x, x, 0, plot}; };
    switch (handle) {
    case 0:
        return fixedX(MainX(frame, {}));
    case 1:
        return along(MainX(frame, {}));
    case 2: {
        DragLimits limits = along(MainX(frame, {e.attackTime}));
        if (kind == CurveKind::pitch)
            limits.minY = limits.maxY = SignedLevelY(0, plot);
        return limits;
    }
    case 3:
        return along(MainX(frame, {e.attackTime, e.decayTime}));
    case 4:
        return fixedX(ReleaseX(frame, 0));
    case 5: {
        DragLimits limits{ReleaseX(frame, 0), ReleaseX(frame, maximumLevel), 0, plot};
        if (kind == CurveKind::amp)
            limits.minY = limits.maxY = UnsignedLevelY(0, plot);
        return limits;
    }
    default:
        return fixedX(handles[static_cast<std::size_t>(std::clamp(handle, 0, 6))].x);
    }
}

GraphPoint ClampIntoLimits(GraphPoint point, const DragLimits& limits) {
    // Written out rather than std::clamp: a plot of no height gives maxY < minY, and then the
    // lower limit wins.
    point.x = std::max(limits.minX, std::min(point.x, limits.maxX));
    point.y = std::max(limits.minY, std::min(point.y, limits.maxY));
    return point;
}

void ApplyHandleDrop(OscillatorBlock& block, CurveKind kind, int handle, GraphPoint point,
                     const DragLimits& limits, int plot) {
    if (handle < 0 || handle >= handleCount)
        return;
    const HandleFields fields = handleFields[handle];
    if (fields.time != absent)
        WriteField(block, kind, fields.time, TimeFromDistance(point.x - limits.minX));
    if (fields.level != absent)
        WriteField(block, kind, fields.level, LevelFromY(kind, point.y, plot));
}

// ---- Legend ----

int CheckedSelection(int selected, const Settings& settings, std::uint8_t oscMode) {
    const GraphCurve* curve = CurveNumbered(selected);
    if (!curve || !CurveActive(*curve, oscMode) || !CurveShown(*curve, settings))
        selected = 0;
    if (selected != 0)
        return selected;
    for (const GraphCurve& candidate : graphCurves)
        if (CurveShown(candidate, settings))
            return candidate.number;
    return 0;
}

int LegendRowAt(int y, int height) {
    int i = 1;
    while (i < legendRows && i * height / legendRows <= y)
        ++i;
    return i - 1;
}

void ClickLegendRow(int row, Settings& settings, std::uint8_t oscMode, int& selected) {
    const GraphCurve* curve = CurveNumbered(row + 1);
    if (!curve)
        return;
    std::int32_t& shown = settings.*curve->setting;
    shown = 1 - shown;
    if (shown != 0 && CurveActive(*curve, oscMode))
        selected = curve->number;
}

// ---- Scrolling ----

std::optional<int> ScrolledOffset(int offset, int code, int thumb, int mainWidth, int rangeMax) {
    const int line = mainWidth / 10;
    switch (code) {
    case scrollLineLeft:
        offset += line;
        break;
    case scrollLineRight:
        offset -= line;
        break;
    case scrollPageLeft:
        offset += mainWidth;
        break;
    case scrollPageRight:
        offset -= mainWidth;
        break;
    case scrollThumbPosition:
        offset = -thumb;
        break;
    case scrollThumbTrack:
        return std::nullopt;
    default:
        break;
    }
    return std::min(0, std::max(offset, -rangeMax));
}

ScrollSetup SetUpScroll(int extent, int width, int offset) {
    ScrollSetup setup;
    setup.rangeMax = extent - width;
    setup.offset = offset;
    if (setup.rangeMax < 0) {
        setup.offset = 0;
        setup.enabled = false;
    } else if (setup.rangeMax < -offset) {
        setup.setPosition = true;
        setup.offset = -setup.rangeMax;
    }
    return setup;
}
