// The envelope graph window and the time-track switches in the running editor, against the
// virtual Korg M1: handles dragged with the real mouse, the dumps that follow, the legend's
// switches kept in the settings, the single mode, the switch bytes.
#include "editor_e2e.h"
#include "harness/mouse.h"

#include "editor/graph_geometry.h"

#include <cstring>
#include <set>

namespace {

using namespace editor_e2e;

constexpr const char* kGraphClass = "QX_SysexGraph";
constexpr int kOscillator2 = 103; // where oscillator 2's block starts in the program

// Envelope boxes of the oscillator page; they show the selected oscillator's bytes.
enum EnvelopeBox {
    ampAttackTimeBox = 3220,
    ampAttackLevelBox = 3219,
    ampDecayTimeBox = 3214,
    ampSlopeTimeBox = 3218,
    ampReleaseTimeBox = 3216,
    pitchAttackTimeBox = 3222,
    pitchDecayTimeBox = 3224,
    cutoffAttackTimeBox = 3232,
    cutoffDecayTimeBox = 3234,
    cutoffSlopeTimeBox = 3244,
    cutoffSustainLevelBox = 3243,
};

// The graph to the right of the editor, clear of it, with these curves shown.
void PresetGraph(std::initializer_list<std::pair<const char*, DWORD>> curves) {
    for (auto [name, value] : std::initializer_list<std::pair<const char*, DWORD>>{
             {"GraphX", 520}, {"GraphY", 40}, {"GraphW", 560}, {"GraphH", 300}})
        ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, name, value));
    for (auto [name, value] : curves)
        ASSERT_TRUE(e2e::WriteSetting(HKEY_CURRENT_USER, name, value));
}

// The program as the instrument last heard it: the editor's latest dump, or else the one it
// fetched.
Bytes LatestProgram(const e2e::Program& program) {
    const auto sent = DumpsReceived(program);
    if (!sent.empty())
        return Unpacked(sent.back().dump);
    Bytes fetched;
    for (const e2e::LogEntry& entry : LogEvents(program, "send"))
        if (IsDump(entry))
            fetched = Unpacked(entry.bytes);
    return fetched;
}

OscillatorBlock BlockAt(const Bytes& program, int start) {
    OscillatorBlock block;
    std::memcpy(&block, program.data() + start, sizeof block);
    return block;
}

// Where the graph draws a handle of an oscillator 2 curve, worked out from the program's bytes
// and the window's size; nothing is scrolled in a graph that has just opened.
GraphPoint HandleOf(HWND graph, const Bytes& program, CurveKind kind, int handle) {
    RECT client{};
    GetClientRect(graph, &client);
    GraphFrame frame;
    frame.width = client.right;
    frame.height = client.bottom;
    frame.scrollBarHeight = GetSystemMetrics(SM_CYHSCROLL);
    const CurveShape shape =
        ShapeOfCurve(kind, ReadEnvelope(BlockAt(program, kOscillator2), kind), frame);
    for (const CurvePolyline* line : {&shape.main, &shape.release})
        for (int i = 0; i < line->count; ++i)
            if (line->points[static_cast<std::size_t>(i)].handle == handle)
                return {line->points[static_cast<std::size_t>(i)].x,
                        line->points[static_cast<std::size_t>(i)].y};
    return {-1, -1};
}

POINT LegendRow(HWND graph, int row) {
    RECT client{};
    GetClientRect(graph, &client);
    return e2e::ScreenPoint(graph, 20, row * client.bottom / 8 + client.bottom / 16);
}

std::set<int> ChangedBytes(const Bytes& before, const Bytes& after) {
    std::set<int> changed;
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i] != after[i])
            changed.insert(static_cast<int>(i));
    return changed;
}

// Clicks a button with the mouse, near its left end where a radio button's circle is.
void ClickControl(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(e2e::Control(dialog, id), &rect);
    e2e::ClickMouse({rect.left + 6, (rect.top + rect.bottom) / 2});
}

// Double mode, oscillator 2's envelopes short enough to lie in the window, and its levels away
// from the edges, so that every handle is on screen and a drag changes both its values.
void PrepareOscillator2(const Editor& editor) {
    // A program of the instrument's own in double mode, chosen from the list.
    int doubleProgram = -1;
    int index = 0;
    for (const e2e::LogEntry& entry : LogEvents(editor.program, "send")) {
        if (!IsDump(entry))
            continue;
        if (index < 100 && Unpacked(entry.bytes)[10] == 1) {
            doubleProgram = index;
            break;
        }
        ++index;
    }
    ASSERT_GE(doubleProgram, 0) << "no program of the instrument is in double mode";
    if (doubleProgram != 0) {
        ASSERT_TRUE(
            e2e::SelectComboBoxItem(e2e::Control(editor.window, programBoxId), doubleProgram));
        ASSERT_TRUE(e2e::WaitUntil([&] { return DumpsSent(editor.program) >= 102; },
                                   "the double-mode program is fetched"));
    }
    ASSERT_TRUE(e2e::WaitUntil([&] { return LatestProgram(editor.program)[10] == 1; },
                               "the program is in double mode"));
    ASSERT_TRUE(e2e::Press(editor.window, pageId)); // the oscillator page
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return IsWindowEnabled(e2e::Control(editor.window, oscillator2Id)) != FALSE; },
        "oscillator 2 can be chosen"));
    ClickControl(editor.window, oscillator2Id); // a radio button checks itself when clicked
    struct Typed {
        int box;
        int field; // byte of oscillator 2's block
        int value;
    } typed[] = {
        {ampAttackTimeBox, 29, 20},   {ampDecayTimeBox, 31, 20},      {ampSlopeTimeBox, 33, 20},
        {ampReleaseTimeBox, 35, 20},  {ampAttackLevelBox, 30, 50},    {pitchAttackTimeBox, 1, 20},
        {pitchDecayTimeBox, 3, 20},   {cutoffAttackTimeBox, 15, 20},  {cutoffDecayTimeBox, 17, 20},
        {cutoffSlopeTimeBox, 19, 20}, {cutoffSustainLevelBox, 20, 0},
    };
    for (const Typed& t : typed)
        ASSERT_TRUE(TypeInto(editor.window, t.box, std::to_string(t.value)));
    auto different = [&] {
        const Bytes p = LatestProgram(editor.program);
        std::string wrong;
        for (const Typed& t : typed)
            if (p[static_cast<std::size_t>(kOscillator2 + t.field)] != t.value)
                wrong += " byte " + std::to_string(t.field) + " is " +
                         std::to_string(p[static_cast<std::size_t>(kOscillator2 + t.field)]);
        return wrong;
    };
    EXPECT_TRUE(e2e::WaitUntil([&] { return different().empty(); },
                               "oscillator 2's envelopes as typed reach the instrument"))
        << different();
}

TEST(Graph, DraggedHandlesOfOscillator2WriteTheirRowAndTheBoxesFollow) {
    PresetSettings();
    PresetGraph({{"GraphAmp2", 1}});
    Editor editor = StartEditor();
    ASSERT_TRUE(editor.window);
    ASSERT_TRUE(WaitUntilEditing(editor));
    HWND graph = e2e::WaitForWindowOf(editor.program, {.className = kGraphClass});
    ASSERT_TRUE(graph);
    ASSERT_NO_FATAL_FAILURE(PrepareOscillator2(editor));

    struct BoxField {
        int box;
        int field; // byte of oscillator 2's block
        bool isSigned;
    };
    struct Case {
        const char* what;
        int legendRow; // switched on to select the curve (Amp 2 is selected from the start)
        CurveKind kind;
        int handle;
        std::vector<BoxField> written; // every byte the drop writes, and the box showing it
    } cases[] = {
        {"amplitude attack",
         0,
         CurveKind::amp,
         1,
         {{ampAttackTimeBox, 29, false}, {ampAttackLevelBox, 30, false}}},
        {"pitch decay", 6, CurveKind::pitch, 2, {{pitchDecayTimeBox, 3, false}}},
        {"cutoff slope",
         7,
         CurveKind::cutoff,
         3,
         {{cutoffSlopeTimeBox, 19, false}, {cutoffSustainLevelBox, 20, true}}},
    };
    int previousRow = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.legendRow != 0) {
            e2e::ClickMouse(LegendRow(graph, previousRow)); // off
            e2e::ClickMouse(LegendRow(graph, c.legendRow)); // on, and selected
            previousRow = c.legendRow;
        }
        ASSERT_TRUE(e2e::WaitUntilIdle(editor.window));
        const Bytes before = LatestProgram(editor.program);
        const GraphPoint handle = HandleOf(graph, before, c.kind, c.handle);
        ASSERT_NE(handle.x, -1);
        // The handle's square is drawn there: its left edge is black.
        const e2e::Image shown = e2e::CaptureClient(graph);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown.At(handle.x - 4, handle.y), 0u)
            << "no handle at " << handle.x << "," << handle.y;

        const std::size_t dumps = DumpsReceived(editor.program).size();
        e2e::DragMouse(e2e::ScreenPoint(graph, handle.x, handle.y),
                       e2e::ScreenPoint(graph, handle.x + 25, handle.y + 15));
        ASSERT_TRUE(WaitForDumps(editor.program, dumps + 1));
        const Bytes after = LatestProgram(editor.program);
        std::set<int> expected;
        for (const BoxField& w : c.written)
            expected.insert(kOscillator2 + w.field);
        EXPECT_EQ(ChangedBytes(before, after), expected);
        for (const BoxField& w : c.written) {
            const std::uint8_t byte = after[static_cast<std::size_t>(kOscillator2 + w.field)];
            EXPECT_TRUE(
                ShowsSoon(editor.window, w.box,
                          std::to_string(w.isSigned ? static_cast<signed char>(byte) : byte)));
        }
    }

    // The legend's switches are kept: Amp 2 and Pitch 2 off, Cutoff 2 on.
    e2e::Close(editor.window);
    EXPECT_EQ(e2e::WaitForExit(editor.program), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "GraphAmp2"), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "GraphPitch2"), 0u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "GraphCutoff2"), 1u);
    EXPECT_EQ(e2e::ReadSetting(HKEY_CURRENT_USER, "GraphW"), 560u);
}

// Single mode: oscillator 2's legend rows are filled but none of its curves is drawn. A
// time-track switch steps off, positive, negative, off, and the switch byte follows each click.
TEST(Graph, SingleModeHidesOscillator2AndTimeTracksStepThroughTheirStates) {
    PresetSettings();
    PresetGraph({{"GraphAmp1", 1},
                 {"GraphPitch1", 1},
                 {"GraphCutoff1", 1},
                 {"GraphAmp2", 1},
                 {"GraphPitch2", 1},
                 {"GraphCutoff2", 1}});
    Editor editor = StartEditor();
    ASSERT_TRUE(editor.window);
    ASSERT_TRUE(WaitUntilEditing(editor));
    HWND graph = e2e::WaitForWindowOf(editor.program, {.className = kGraphClass});
    ASSERT_TRUE(graph);
    ClickControl(editor.window, singleId);
    ASSERT_TRUE(e2e::WaitUntil([&] { return LatestProgram(editor.program)[10] == 0; },
                               "the program is in single mode"));
    ASSERT_TRUE(e2e::Press(editor.window, pageId)); // the oscillator page, with the switches
    ASSERT_TRUE(e2e::WaitUntilIdle(editor.window));

    const e2e::Image shown = e2e::CaptureClient(graph);
    ASSERT_TRUE(shown);
    const std::uint32_t oscillator2Colours[] = {0x000080, 0x0000FF, 0x008080};
    int oscillator1Pixels = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 70; x < shown.width; ++x) {
            const std::uint32_t pixel = shown.At(x, y);
            for (std::uint32_t colour : oscillator2Colours)
                ASSERT_NE(pixel, colour) << "oscillator 2 drawn at " << x << "," << y;
            oscillator1Pixels += pixel == 0x800000 || pixel == 0xFF0000 || pixel == 0x808000;
        }
    EXPECT_GT(oscillator1Pixels, 0);
    EXPECT_EQ(shown.At(2, 5 * shown.height / 8 + 2), 0x000080u); // Amp 2's legend row

    // The amplitude envelope's attack switch: the tracking half is bits 0 and 4 of byte 101.
    HWND attack = e2e::Control(editor.window, ampTimeTrackAttackId);
    ASSERT_TRUE(attack);
    RECT rect{};
    GetWindowRect(attack, &rect);
    const POINT upperHalf{(rect.left + rect.right) / 2, rect.top + (rect.bottom - rect.top) / 4};
    auto state = [&] { return LatestProgram(editor.program)[101] & 0x11; };
    const int otherBits = LatestProgram(editor.program)[101] & ~0x11;
    // First to off, from whatever the instrument's program holds.
    for (int clicks = 0; state() != 0 && clicks < 2; ++clicks) {
        const std::size_t dumps = DumpsReceived(editor.program).size();
        e2e::ClickMouse(upperHalf);
        ASSERT_TRUE(WaitForDumps(editor.program, dumps + 1));
    }
    ASSERT_EQ(state(), 0);
    for (int expected : {0x01, 0x11, 0x00}) {
        const std::size_t dumps = DumpsReceived(editor.program).size();
        e2e::ClickMouse(upperHalf);
        ASSERT_TRUE(WaitForDumps(editor.program, dumps + 1));
        EXPECT_EQ(state(), expected);
        EXPECT_EQ(LatestProgram(editor.program)[101] & ~0x11, otherBits);
    }

    e2e::Close(editor.window);
    EXPECT_EQ(e2e::WaitForExit(editor.program), 0u);
}

} // namespace
