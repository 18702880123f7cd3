// The Program Editor against the virtual Korg M1: entering it, switching what it shows without
// sending anything, and the instrument that does not answer.
#include "editor_e2e.h"

#include <cstring>

namespace {

using namespace editor_e2e;

bool IsRequest(const e2e::LogEntry& entry) {
    return entry.bytes == Bytes{0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7};
}

std::string ShownName(const Bytes& program) {
    std::string name;
    for (int i = 0; i < 10; ++i)
        name += program[static_cast<std::size_t>(i)] < 0x20 ? ' ' : char(program[std::size_t(i)]);
    return name;
}

TEST(EditorWindow, EnteringFetchesTheListThenTheFirstProgramAndSendsNothing) {
    PresetSettings();
    Editor editor = StartEditor();
    ASSERT_TRUE(editor.window);
    EXPECT_EQ(e2e::Text(editor.window), "Korg M1 - Quillfen Program Editor");
    ASSERT_TRUE(WaitUntilEditing(editor));

    // The requests went out one after the other, each after the answer to the one before.
    const auto entries = e2e::ReadInstrumentLog(editor.program.instrumentLog).entries;
    std::vector<Bytes> dumps;
    double lastAnswer = 0;
    int requests = 0;
    for (const e2e::LogEntry& entry : entries) {
        if (entry.event == "recv" && IsRequest(entry)) {
            EXPECT_GE(entry.ms, lastAnswer) << "request " << requests << " came early";
            ++requests;
        } else if (entry.event == "send" && IsDump(entry)) {
            lastAnswer = entry.ms;
            dumps.push_back(entry.bytes);
        }
    }
    ASSERT_EQ(requests, 101);
    ASSERT_EQ(dumps.size(), 101u);

    // "00 name" .. "99 name", the names as the dumps carry them.
    const auto items = e2e::ComboBoxItems(e2e::Control(editor.window, programBoxId));
    ASSERT_EQ(items.size(), 100u);
    for (std::size_t i = 0; i < 100; ++i) {
        char number[4];
        std::snprintf(number, sizeof number, "%02zu ", i);
        EXPECT_EQ(items[i], number + ShownName(Unpacked(dumps[i])));
    }
    // Program 00 fetched in full and shown.
    const Bytes first = Unpacked(dumps[100]);
    EXPECT_EQ(ProgramBoxText(editor.window), "00 " + ShownName(first));
    EXPECT_EQ(e2e::Text(e2e::Control(editor.window, aftertouchCutoffId)),
              std::to_string(static_cast<signed char>(first[29])));
    EXPECT_EQ(e2e::Text(e2e::Control(editor.window, pageId)), "Oscillator settings");
    EXPECT_TRUE(IsWindowVisible(e2e::Control(editor.window, aftertouchCutoffId)));
    EXPECT_FALSE(IsWindowVisible(e2e::Control(editor.window, ampLevelId)));

    // Switching pages, oscillators and effects shows, and sends nothing.
    ASSERT_TRUE(e2e::Press(editor.window, pageId));
    EXPECT_EQ(e2e::Text(e2e::Control(editor.window, pageId)), "Program settings");
    EXPECT_TRUE(IsWindowVisible(e2e::Control(editor.window, ampLevelId)));
    EXPECT_FALSE(IsWindowVisible(e2e::Control(editor.window, aftertouchCutoffId)));
    EXPECT_EQ(e2e::Text(e2e::Control(editor.window, ampLevelId)), std::to_string(first[86]));
    const bool doubleMode = first[10] == 1;
    EXPECT_EQ(IsWindowEnabled(e2e::Control(editor.window, oscillator2Id)) != FALSE, doubleMode);
    if (doubleMode) {
        ASSERT_TRUE(e2e::Press(editor.window, oscillator2Id));
        EXPECT_EQ(e2e::Text(e2e::Control(editor.window, ampLevelId)), std::to_string(first[126]));
        ASSERT_TRUE(e2e::Press(editor.window, oscillator1Id));
    }
    ASSERT_TRUE(e2e::Press(editor.window, pageId));
    ASSERT_TRUE(e2e::Press(editor.window, effect2Id));
    ASSERT_TRUE(e2e::Press(editor.window, effect1Id));
    ASSERT_TRUE(e2e::WaitUntilIdle(editor.window));
    EXPECT_TRUE(e2e::StaysTrue([&] { return DumpsReceived(editor.program).empty(); },
                               "no program dump is sent", e2e::Milliseconds(600)));

    ASSERT_TRUE(e2e::Press(editor.window, managerId));
    EXPECT_TRUE(e2e::WaitForWindowOf(editor.program, {.className = "QX_SysEx"}));
}

} // namespace
