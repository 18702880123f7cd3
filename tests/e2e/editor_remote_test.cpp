// The instrument's keys and knobs driving the Program Editor: a key played into a key-name box,
// the data-entry slider, a program change; the same messages on another channel do nothing.
#include "editor_e2e.h"

namespace {

using namespace editor_e2e;

// Gives a box the keyboard focus as a click would.
testing::AssertionResult Focus(HWND editor, int control) {
    return e2e::Delivered(e2e::Deliver(editor, WM_NEXTDLGCTL,
                                       reinterpret_cast<WPARAM>(e2e::Control(editor, control)),
                                       TRUE),
                          "focusing the box");
}

// Plays `messages` short messages on the instrument and waits until the editor has taken them.
testing::AssertionResult Play(const Editor& editor, const Bytes& bytes, std::size_t messages = 1) {
    const std::size_t before = LogEvents(editor.program, "send").size();
    auto played = e2e::PlayOnInstrument(editor.window, bytes);
    if (!played)
        return played;
    auto arrived = e2e::WaitUntil(
        [&] { return LogEvents(editor.program, "send").size() >= before + messages; },
        "the instrument sent the keys played");
    if (!arrived)
        return arrived;
    return e2e::WaitUntilIdle(editor.window);
}

TEST(EditorRemote, KeysAndSlidersOnTheChannelEditAndChooseOthersDoNothing) {
    Editor editor = EditingEditor();
    ASSERT_TRUE(editor.window);
    ASSERT_TRUE(e2e::Press(editor.window, pageId)); // the oscillator page

    // A key played into the amplitude key-centre box names it and sends the program.
    ASSERT_TRUE(TypeInto(editor.window, ampKeyCentreId, "D2"));
    ASSERT_TRUE(WaitForDumps(editor.program, 1));
    ASSERT_TRUE(Focus(editor.window, ampKeyCentreId));
    Sleep(250);
    ASSERT_TRUE(Play(editor, {0x90, 60, 100}));
    ASSERT_TRUE(WaitForDumps(editor.program, 2));
    EXPECT_EQ(Unpacked(DumpsReceived(editor.program)[1].dump)[87], 60);
    EXPECT_TRUE(ShowsSoon(editor.window, ampKeyCentreId, "C4"));

    // With a numeric box focused a key does nothing; data entry 0, +10, -10 sweeps its range.
    ASSERT_TRUE(Focus(editor.window, cutoffKeyTrackId));
    Sleep(250);
    const HWND keyTrack = e2e::Control(editor.window, cutoffKeyTrackId);
    ASSERT_TRUE(TypeInto(editor.window, cutoffKeyTrackId, e2e::Text(keyTrack) == "5" ? "6" : "5"));
    ASSERT_TRUE(WaitForDumps(editor.program, 3));
    ASSERT_TRUE(Play(editor, {0x90, 64, 100}));
    const struct {
        unsigned char high, low;
        int value;
    } sweeps[] = {{0, 0, 0}, {0, 10, 99}, {0x7F, 0x76, -99}};
    std::size_t dumps = 3;
    for (const auto& sweep : sweeps) {
        Sleep(250);
        ASSERT_TRUE(Play(editor, {0xB0, 6, sweep.high, 0xB0, 38, sweep.low}, 2));
        ASSERT_TRUE(WaitForDumps(editor.program, ++dumps)) << sweep.value;
        EXPECT_EQ(static_cast<signed char>(Unpacked(DumpsReceived(editor.program).back().dump)[73]),
                  sweep.value);
        EXPECT_TRUE(ShowsSoon(editor.window, cutoffKeyTrackId, std::to_string(sweep.value)));
    }
    EXPECT_EQ(DumpsReceived(editor.program).size(), 6u) << "the key played into a number box";

    // Another channel: nothing changes, nothing is sent or fetched.
    const int sentBefore = DumpsSent(editor.program);
    ASSERT_TRUE(Play(editor, {0xB1, 6, 0, 0xB1, 38, 10}, 2));
    ASSERT_TRUE(Play(editor, {0xC1, 7}));
    EXPECT_TRUE(e2e::StaysTrue(
        [&] {
            return DumpsReceived(editor.program).size() == 6 &&
                   DumpsSent(editor.program) == sentBefore;
        },
        "nothing is sent", e2e::Milliseconds(500)));
    EXPECT_EQ(e2e::Text(e2e::Control(editor.window, cutoffKeyTrackId)), "-99");
    EXPECT_EQ(ProgramBoxText(editor.window).substr(0, 3), "00 ");

    // A program change on the channel selects and fetches that program; one beyond the list
    // does nothing.
    ASSERT_TRUE(Play(editor, {0xC0, 7}));
    ASSERT_TRUE(e2e::WaitUntil([&] { return DumpsSent(editor.program) == sentBefore + 1; },
                               "program 07 is fetched"));
    const Bytes seventh = Unpacked(DumpInside(LogEvents(editor.program, "send").back().bytes));
    ASSERT_TRUE(e2e::WaitUntil([&] { return ProgramBoxText(editor.window).substr(0, 3) == "07 "; },
                               "07 is shown"));
    EXPECT_EQ(e2e::ComboBoxSelection(e2e::Control(editor.window, programBoxId)), 7);
    EXPECT_TRUE(ShowsSoon(editor.window, cutoffKeyTrackId,
                          std::to_string(static_cast<signed char>(seventh[73]))));
    ASSERT_TRUE(Play(editor, {0xC0, 120}));
    EXPECT_TRUE(e2e::StaysTrue([&] { return DumpsSent(editor.program) == sentBefore + 1; },
                               "nothing more is fetched", e2e::Milliseconds(500)));
    EXPECT_EQ(DumpsReceived(editor.program).size(), 6u);
}

} // namespace
