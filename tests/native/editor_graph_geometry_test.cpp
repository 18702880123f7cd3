// The envelope graph's arithmetic (time table, levels, shapes, handles, drops, legend, scrolling)
// and the time-track switch states.
#include "editor/graph_geometry.h"
#include "editor/time_track_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

namespace {

// 400 by 116 with a 16-pixel scroll bar: a plot of 100, a main area of 247 pixels.
GraphFrame Frame(int mainOffset = 0, int releaseOffset = 0) {
    GraphFrame frame;
    frame.width = 400;
    frame.height = 116;
    frame.scrollBarHeight = 16;
    frame.mainOffset = mainOffset;
    frame.releaseOffset = releaseOffset;
    frame.mainExtent = 500;
    frame.releaseExtent = 200;
    return frame;
}

std::vector<std::uint8_t> BytesOf(const OscillatorBlock& block) {
    std::vector<std::uint8_t> bytes(sizeof block);
    std::memcpy(bytes.data(), &block, sizeof block);
    return bytes;
}

OscillatorBlock BlockOf(std::uint8_t fill) {
    OscillatorBlock block;
    std::memset(&block, fill, sizeof block);
    return block;
}

TEST(GraphGeometry, TimesBecomeDistancesAndBack) {
    // The longest attack starts 12,210 pixels from the window's left edge.
    EXPECT_EQ(MainX(Frame(), {99}), 12210);
    EXPECT_EQ(MainX(Frame(-10), {99, 99, 99}), 70 + 3 * 12140 - 10);
    EXPECT_EQ(ReleaseX(Frame(0, -5), 10), 70 + 247 + 10 - 5);
    // Values a received dump may hold outside the table are taken as its ends.
    EXPECT_EQ(TimeDistance(200), 12140);
    EXPECT_EQ(TimeDistance(-1), 0);
    EXPECT_EQ(TimeDistance(255), TimeDistance(99));

    struct Case {
        int distance;
        int time;
    } cases[] = {
        {-3, 0},
        {0, 0},
        {2, 0},
        {3, 1},
        {5, 1},
        {6, 4},
        {100, 53},
        {105, 55}, // 9450 lies exactly between 9266 (55) and 9634 (56):
                   // the lower wins
        {194, 72}, // 17460 between 17044 and 17876: a tie again
        {12140, 99},
        {20000, 99},
        {2000000, 99},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimeFromDistance(c.distance), c.time) << "distance " << c.distance;
}

TEST(GraphGeometry, LevelsBecomeHeightsAndBack) {
    EXPECT_EQ(UnsignedLevelY(0, 100), 100);
    EXPECT_EQ(UnsignedLevelY(99, 100), 0);
    EXPECT_EQ(SignedLevelY(0, 100), 50);
    EXPECT_EQ(SignedLevelY(99, 100), 0);
    EXPECT_EQ(SignedLevelY(-99, 100), 100);

    struct Case {
        int y, unsignedLevel, signedLevel;
    } cases[] = {{0, 99, 99}, {25, 75, 50}, {50, 50, 0}, {100, 0, -99}};
    for (const Case& c : cases) {
        EXPECT_EQ(UnsignedLevelFromY(c.y, 100), c.unsignedLevel) << c.y;
        EXPECT_EQ(SignedLevelFromY(c.y, 100), c.signedLevel) << c.y;
    }
    // A window no taller than its scroll bar has no plot, and nothing divides by it.
    EXPECT_EQ(UnsignedLevelFromY(0, 0), 99);
    EXPECT_EQ(SignedLevelFromY(0, -5), 99);
}

TEST(GraphGeometry, EnvelopeValuesOutsideTheirRangesAreDrawnClamped) {
    OscillatorBlock block = BlockOf(0);
    block.ampEgAttackTime = 200;
    block.ampEgSustainLevel = 255;
    block.cutoffEgAttackLevel = -128;
    block.cutoffEgReleaseLevel = 127;
    block.pitchEgReleaseTime = 100;
    block.pitchEgStartLevel = -100;
    const Envelope amp = ReadEnvelope(block, CurveKind::amp);
    EXPECT_EQ(amp.attackTime, 99);
    EXPECT_EQ(amp.sustainLevel, 99);
    const Envelope cutoff = ReadEnvelope(block, CurveKind::cutoff);
    EXPECT_EQ(cutoff.attackLevel, -99);
    EXPECT_EQ(cutoff.releaseLevel, 99);
    const Envelope pitch = ReadEnvelope(block, CurveKind::pitch);
    EXPECT_EQ(pitch.releaseTime, 99);
    EXPECT_EQ(pitch.startLevel, -99);
    // Whatever the bytes, every point stays on the plot.
    const CurveShape shape = ShapeOfCurve(CurveKind::amp, amp, Frame());
    for (int i = 0; i < shape.main.count; ++i) {
        EXPECT_GE(shape.main.points[i].y, 0);
        EXPECT_LE(shape.main.points[i].y, 100);
    }
}

TEST(GraphGeometry, CurvesHaveTheirPointsAndHandles) {
    Envelope e;
    e.startLevel = -99;
    e.attackTime = 10; // 10 pixels
    e.attackLevel = 99;
    e.decayTime = 20; // 40 pixels
    e.breakLevel = 0;
    e.slopeTime = 30; // 53 pixels
    e.sustainLevel = -99;
    e.releaseTime = 40; // 69 pixels
    e.releaseLevel = 99;
    const GraphFrame frame = Frame(-3, -2);
    auto handles = [](const CurvePolyline& line) {
        std::vector<int> numbers;
        for (int i = 0; i < line.count; ++i)
            numbers.push_back(line.points[i].handle);
        return numbers;
    };

    const CurveShape cutoff = ShapeOfCurve(CurveKind::cutoff, e, frame);
    EXPECT_EQ(handles(cutoff.main), (std::vector<int>{-1, 1, 2, 3, -1}));
    EXPECT_EQ(handles(cutoff.release), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(cutoff.main.points[0].x, 67);
    EXPECT_EQ(cutoff.main.points[3].x, 67 + 10 + 40 + 53);
    EXPECT_EQ(cutoff.main.points[3].y, 100);
    EXPECT_EQ(cutoff.main.points[4].x, 70 + 500 + 400 - 3); // far right, beyond the area
    EXPECT_EQ(cutoff.release.points[1].x, 70 + 247 + 69 - 2);
    EXPECT_EQ(cutoff.release.points[2].x, 247 + 69 + 200 - 2); // the release end
    EXPECT_EQ(cutoff.release.points[2].y, 0);

    const CurveShape amp = ShapeOfCurve(CurveKind::amp, e, frame);
    EXPECT_EQ(handles(amp.release), (std::vector<int>{4, 5}));
    EXPECT_EQ(amp.release.points[1].y, 100); // the amplitude always ends at 0
    EXPECT_EQ(amp.main.points[0].y, 100);

    const CurveShape pitch = ShapeOfCurve(CurveKind::pitch, e, frame);
    EXPECT_EQ(handles(pitch.main), (std::vector<int>{0, 1, 2, -1}));
    EXPECT_EQ(handles(pitch.release), (std::vector<int>{-1, 5, 6}));
    EXPECT_EQ(pitch.main.points[0].y, 100);
    EXPECT_EQ(pitch.main.points[2].y, 50); // the decay always ends on the zero line

    EXPECT_EQ(MainExtentCandidate(CurveKind::cutoff, e), 70 + 10 + 40 + 53);
    EXPECT_EQ(MainExtentCandidate(CurveKind::pitch, e), 70 + 10 + 40);
    EXPECT_EQ(ReleaseExtentCandidate(e), 70 + 69);
}

TEST(GraphGeometry, AHandleIsHitOnlyWithinReachAndOnScreen) {
    HandlePositions handles;
    handles.fill({-1, -1});
    handles[1] = {100, 50};
    handles[2] = {104, 50};
    handles[5] = {300, 20};
    struct Case {
        int x, y, handle;
    } cases[] = {
        {100, 50, 1}, {102, 50, 1}, // the same distance to 1 and 2: the lower number
        {103, 50, 2}, {104, 54, 2}, {109, 50, -1}, {100, 55, -1},
        {95, 50, -1}, {296, 16, 5}, {-1, -1, -1}, // the mark of a handle off screen is never hit
    };
    for (const Case& c : cases)
        EXPECT_EQ(HandleAt(handles, c.x, c.y), c.handle) << c.x << "," << c.y;
}

// For every handle of every curve, a drop writes the fields of its row and nothing else.
TEST(GraphGeometry, ADropWritesExactlyTheFieldsOfItsHandle) {
    const GraphFrame frame = Frame();
    HandlePositions handles;
    handles.fill({-1, -1});
    handles[6] = {400, 30};
    // Every byte 10: times of 10 pixels, so handle 2 starts at x 80 and handle 3 at 90.
    const int x1 = 80, x2 = 90, xr = 70 + 247;
    struct Case {
        CurveKind kind;
        int handle;
        int x; // dropped 100 pixels into the time range: time 53; y 25: level 75 or +50
        std::map<int, int> written;
    } cases[] = {
        {CurveKind::pitch, 0, 70, {{0, 50}}},
        {CurveKind::pitch, 1, 170, {{1, 53}, {2, 50}}},
        {CurveKind::pitch, 2, x1 + 100, {{3, 53}}},
        {CurveKind::pitch, 5, xr + 100, {{4, 53}, {5, 50}}},
        {CurveKind::pitch, 6, 400, {{5, 50}}},
        {CurveKind::amp, 1, 170, {{29, 53}, {30, 75}}},
        {CurveKind::amp, 2, x1 + 100, {{31, 53}, {32, 75}}},
        {CurveKind::amp, 3, x2 + 100, {{33, 53}, {34, 75}}},
        {CurveKind::amp, 4, xr, {{34, 75}}},
        {CurveKind::amp, 5, xr + 100, {{35, 53}}},
        {CurveKind::cutoff, 1, 170, {{15, 53}, {16, 50}}},
        {CurveKind::cutoff, 2, x1 + 100, {{17, 53}, {18, 50}}},
        {CurveKind::cutoff, 3, x2 + 100, {{19, 53}, {20, 50}}},
        {CurveKind::cutoff, 4, xr, {{20, 50}}},
        {CurveKind::cutoff, 5, xr + 100, {{21, 53}, {22, 50}}},
        {CurveKind::cutoff, 6, 400, {{22, 50}}},
    };
    for (const Case& c : cases) {
        OscillatorBlock block = BlockOf(10);
        const Envelope envelope = ReadEnvelope(block, c.kind);
        const DragLimits limits = LimitsOfHandle(c.kind, c.handle, envelope, frame, handles);
        const GraphPoint dropped = ClampIntoLimits({c.x, 25}, limits);
        ApplyHandleDrop(block, c.kind, c.handle, dropped, limits, PlotHeight(frame));
        std::map<int, int> changed;
        const auto bytes = BytesOf(block);
        for (int i = 0; i < oscillatorBlockSize; ++i)
            if (bytes[i] != 10)
                changed[i] = static_cast<std::int8_t>(bytes[i]);
        EXPECT_EQ(changed, c.written)
            << "curve kind " << static_cast<int>(c.kind) << ", handle " << c.handle;
    }
}

TEST(GraphGeometry, DragLimitsHoldTheHandlesInTheirRanges) {
    const GraphFrame frame = Frame(-20);
    HandlePositions handles;
    handles.fill({-1, -1});
    Envelope e;
    e.attackTime = 99;
    // Handle 2 starts from the attack's end even when that lies far outside the window.
    const DragLimits decay = LimitsOfHandle(CurveKind::amp, 2, e, frame, handles);
    EXPECT_EQ(decay.minX, 12210 - 20);
    EXPECT_EQ(decay.maxX, 12210 - 20 + 12140);
    const DragLimits pitchDecay = LimitsOfHandle(CurveKind::pitch, 2, e, frame, handles);
    EXPECT_EQ(pitchDecay.minY, 50);
    EXPECT_EQ(pitchDecay.maxY, 50);
    const DragLimits ampRelease = LimitsOfHandle(CurveKind::amp, 5, e, frame, handles);
    EXPECT_EQ(ampRelease.minX, 317);
    EXPECT_EQ(ampRelease.maxX, 317 + 12140);
    EXPECT_EQ(ampRelease.minY, 100);
    EXPECT_EQ(ampRelease.maxY, 100);
    const DragLimits start = LimitsOfHandle(CurveKind::pitch, 0, e, frame, handles);
    EXPECT_EQ(start.minX, 50);
    EXPECT_EQ(start.maxX, 50);

    // A drop far beyond the range is the longest time; above or below the plot its edge.
    OscillatorBlock block = BlockOf(0);
    const DragLimits attack = LimitsOfHandle(CurveKind::amp, 1, e, frame, handles);
    ApplyHandleDrop(block, CurveKind::amp, 1, ClampIntoLimits({50000, -40}, attack), attack, 100);
    EXPECT_EQ(block.ampEgAttackTime, 99);
    EXPECT_EQ(block.ampEgAttackLevel, 99);
    ApplyHandleDrop(block, CurveKind::amp, 1, ClampIntoLimits({-50000, 400}, attack), attack, 100);
    EXPECT_EQ(block.ampEgAttackTime, 0);
    EXPECT_EQ(block.ampEgAttackLevel, 0);
    // A plot of no height: the limits cross and the top wins.
    const GraphPoint crossed = ClampIntoLimits({5, 7}, {0, 10, 0, -16});
    EXPECT_EQ(crossed.y, 0);
}

TEST(GraphGeometry, LegendRowsSwitchCurvesAndChooseTheSelection) {
    struct RowCase {
        int y, height, row;
    } rows[] = {{0, 160, 0},   {19, 160, 0}, {20, 160, 1}, {159, 160, 7},
                {500, 160, 7}, {-5, 160, 0}, {13, 117, 0}, {14, 117, 1}};
    for (const RowCase& c : rows)
        EXPECT_EQ(LegendRowAt(c.y, c.height), c.row) << c.y << " of " << c.height;

    Settings s;
    int selected = 0;
    ClickLegendRow(0, s, 0, selected); // a heading
    ClickLegendRow(4, s, 0, selected);
    EXPECT_EQ(selected, 0);
    ClickLegendRow(6, s, 0, selected); // Pitch 2 outside the double mode: shown, not selected
    EXPECT_EQ(s.GraphPitch2, 1);
    EXPECT_EQ(selected, 0);
    ClickLegendRow(2, s, 0, selected);
    EXPECT_EQ(s.GraphPitch1, 1);
    EXPECT_EQ(selected, 3);
    ClickLegendRow(7, s, 1, selected);
    EXPECT_EQ(s.GraphCutoff2, 1);
    EXPECT_EQ(selected, 8);
    ClickLegendRow(7, s, 1, selected); // switched off: the selection stays until the paint
    EXPECT_EQ(s.GraphCutoff2, 0);
    EXPECT_EQ(selected, 8);

    // Paint time: Pitch 1 and Pitch 2 are shown.
    struct SelectionCase {
        int selected;
        std::uint8_t oscMode;
        int checked;
    } selections[] = {
        {8, 1, 3},                                     // hidden: the first shown one
        {7, 1, 7}, {7, 0, 3}, {7, 2, 3}, {7, 0x41, 3}, // only the whole byte 1 is double
        {0, 0, 3}, {5, 1, 3},
    };
    for (const SelectionCase& c : selections)
        EXPECT_EQ(CheckedSelection(c.selected, s, c.oscMode), c.checked) << c.selected;
    Settings onlyOsc2;
    onlyOsc2.GraphAmp2 = 1;
    EXPECT_EQ(CheckedSelection(0, onlyOsc2, 0), 6); // the order does not look at the mode
    EXPECT_EQ(CheckedSelection(4, Settings{}, 1), 0);
}

TEST(GraphGeometry, ScrollCodesMoveTheOffsetWithinTheRange) {
    struct Case {
        int offset, code, thumb, rangeMax;
        std::optional<int> result;
    } cases[] = {
        {0, scrollLineLeft, 0, 1000, 0},
        {-50, scrollLineLeft, 0, 1000, -26},
        {0, scrollLineRight, 0, 1000, -24},
        {-990, scrollLineRight, 0, 1000, -1000},
        {-300, scrollPageLeft, 0, 1000, -53},
        {-300, scrollPageRight, 0, 1000, -547},
        {-300, scrollThumbPosition, 700, 1000, -700},
        {-300, scrollThumbPosition, 5000, 1000, -1000},
        {-300, scrollThumbTrack, 700, 1000, std::nullopt},
        {-300, 8, 0, 1000, -300},
        {-300, scrollLineLeft, 0, -20, 0}, // nothing to scroll
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrolledOffset(c.offset, c.code, c.thumb, 247, c.rangeMax), c.result)
            << "code " << c.code << " from " << c.offset;

    const ScrollSetup nothing = SetUpScroll(200, 247, -30);
    EXPECT_FALSE(nothing.enabled);
    EXPECT_EQ(nothing.offset, 0);
    const ScrollSetup pulledBack = SetUpScroll(300, 247, -80);
    EXPECT_TRUE(pulledBack.enabled);
    EXPECT_TRUE(pulledBack.setPosition);
    EXPECT_EQ(pulledBack.offset, -53);
    const ScrollSetup kept = SetUpScroll(12260, 247, -80);
    EXPECT_EQ(kept.rangeMax, 12013);
    EXPECT_FALSE(kept.setPosition);
    EXPECT_EQ(kept.offset, -80);
}

TEST(TimeTrackStates, ClicksStepThroughThreeStatesAndTheBitsFollow) {
    int state = timeTrackOff;
    const int expected[] = {timeTrackPositive, timeTrackNegative, timeTrackOff};
    const int bits[] = {0x01, 0x11, 0};
    const char* upper[] = {"KT+", "KT-", "KT"};
    const char* lower[] = {"VS+", "VS-", "VS"};
    for (int click = 0; click < 3; ++click) {
        state = NextTimeTrackState(state);
        EXPECT_EQ(state, expected[click]);
        EXPECT_EQ(TimeTrackSwitchBits(state), bits[click]);
        EXPECT_STREQ(TimeTrackLabel(state, true), upper[click]);
        EXPECT_STREQ(TimeTrackLabel(state, false), lower[click]);
    }
    // Bad states are off, wherever they come from.
    for (int bad : {-1, 3, 0x10000}) {
        EXPECT_EQ(NextTimeTrackState(bad), timeTrackPositive);
        EXPECT_EQ(TimeTrackSwitchBits(bad), 0);
        EXPECT_STREQ(TimeTrackLabel(bad, true), "KT");
    }
    const long packed = PackTimeTrackStates(timeTrackNegative, 7);
    EXPECT_EQ(TrackingOfPacked(packed), timeTrackNegative);
    EXPECT_EQ(VelocityOfPacked(packed), timeTrackOff);
    EXPECT_EQ(VelocityOfPacked(PackTimeTrackStates(1, 2)), timeTrackPositive);
    // Height 9: rows 0..4 are the upper half; height 8: rows 0..3.
    EXPECT_TRUE(TimeTrackUpperHalf(4, 9));
    EXPECT_FALSE(TimeTrackUpperHalf(5, 9));
    EXPECT_TRUE(TimeTrackUpperHalf(3, 8));
    EXPECT_FALSE(TimeTrackUpperHalf(4, 8));
}

} // namespace
