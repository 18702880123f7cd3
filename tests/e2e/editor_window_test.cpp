// The Program Editor against the virtual Korg M1: entering it, switching what it shows without
// sending anything, and the instrument that does not answer.
#include "editor_e2e.h"
#include "librarian_entry.h"

#include <cstring>
#include <optional>

namespace {

using namespace editor_e2e;

// The shipped definition selects the program, then asks for the dump: C0 pp F0 42 30 19 10 F7.
bool IsRequest(const e2e::LogEntry& entry) {
    const Bytes request = {0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7};
    return entry.bytes.size() >= request.size() &&
           std::equal(request.begin(), request.end(), entry.bytes.end() - 6);
}

std::string ShownName(const Bytes& program) {
    std::string name;
    for (int i = 0; i < 10; ++i)
        name += program[static_cast<std::size_t>(i)] < 0x20 ? ' ' : char(program[std::size_t(i)]);
    return name;
}

// A picture of the window for the documentation. Wine paints controls that were just shown
// some time after the window's queue is idle, so the picture waits a little longer; no check
// depends on it.
testing::AssertionResult SavePicture(HWND window, const char* name) {
    auto idle = e2e::WaitUntilIdle(window);
    if (!idle)
        return idle;
    Sleep(1000);
    return e2e::SaveScreenshot(window, e2e::JoinPath(e2e::ScratchFolder(), name));
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
    EXPECT_TRUE(SavePicture(editor.window, "editor-page1.bmp"));

    // Switching pages, oscillators and effects shows, and sends nothing.
    ASSERT_TRUE(e2e::Press(editor.window, pageId));
    EXPECT_EQ(e2e::Text(e2e::Control(editor.window, pageId)), "Program settings");
    EXPECT_TRUE(IsWindowVisible(e2e::Control(editor.window, ampLevelId)));
    EXPECT_FALSE(IsWindowVisible(e2e::Control(editor.window, aftertouchCutoffId)));
    EXPECT_EQ(e2e::Text(e2e::Control(editor.window, ampLevelId)), std::to_string(first[86]));
    EXPECT_TRUE(SavePicture(editor.window, "editor-page2.bmp"));
    const bool doubleMode = first[10] == 1;
    EXPECT_EQ(IsWindowEnabled(e2e::Control(editor.window, oscillator2Id)) != FALSE, doubleMode);
    if (doubleMode) {
        ASSERT_TRUE(Click(editor.window, oscillator2Id));
        EXPECT_EQ(e2e::Text(e2e::Control(editor.window, ampLevelId)), std::to_string(first[126]));
        ASSERT_TRUE(Click(editor.window, oscillator1Id));
    }
    ASSERT_TRUE(e2e::Press(editor.window, pageId));
    ASSERT_TRUE(Click(editor.window, effect2Id));
    ASSERT_TRUE(Click(editor.window, effect1Id));
    ASSERT_TRUE(e2e::WaitUntilIdle(editor.window));
    EXPECT_TRUE(e2e::StaysTrue([&] { return DumpsReceived(editor.program).empty(); },
                               "no program dump is sent", e2e::Milliseconds(600)));

    ASSERT_TRUE(e2e::Press(editor.window, managerId));
    EXPECT_TRUE(e2e::WaitForWindowOf(editor.program, {.className = "QX_SysEx"}));
}

const char notRespondingText[] =
    "Your Korg M1 doesn't seem to be responding.\n\nIf you'd like to wait some more, do so. (If "
    "things start to work, the Korg's LCD display will change.)\n\nIf something else is wrong, "
    "click OK immediately; you'll be returned to the librarian. Make sure of the following:\n\n"
    "you do have a Korg M1 or M1R\nthe librarian is set up to work with its programs (not "
    "combinations)\nthe Korg is set to program mode (red light on PROG button)\nthe librarian "
    "is actually working at the moment(if not, check port settings, cables, etc)";

TEST(EditorWindow, AnInstrumentThatDoesNotAnswerOrStopsAnsweringLeadsBackToTheLibrarian) {
    const struct {
        e2e::InstrumentSettings instrument;
        const char* caption;
        int listed; // entries in the list when the message shows
    } cases[] = {
        {{.mode = "silent"}, "Couldn't update program list", 0},
        // The 50th answer (program 49) is lost on the way.
        {{.mode = "m1", .dropEvery = 50}, "Program didn't arrive", 49},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        PresetSettings();
        Editor editor = StartEditor({.instrument = c.instrument});
        ASSERT_TRUE(editor.window);
        auto box = e2e::WaitForMessageBox(editor.program, c.caption);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->owner, editor.window);
        EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Exclamation);
        EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
        if (c.listed == 0)
            EXPECT_EQ(box->text, notRespondingText);
        else
            EXPECT_EQ(box->text.substr(0, 47), "Program 49 didn't arrive from your Korg M1, alt");
        EXPECT_EQ(e2e::ComboBoxItems(e2e::Control(editor.window, programBoxId)).size(),
                  static_cast<std::size_t>(c.listed));
        // Nothing more is asked, nothing was sent.
        const auto requests = LogEvents(editor.program, "recv").size();
        EXPECT_TRUE(
            e2e::StaysTrue([&] { return LogEvents(editor.program, "recv").size() == requests; },
                           "no further request", e2e::Milliseconds(300)));
        EXPECT_TRUE(DumpsReceived(editor.program).empty());
        ASSERT_TRUE(e2e::Answer(*box, IDOK));
        EXPECT_TRUE(librarian_entry::WaitForLibrarianWindow(editor.program));
    }
}

TEST(EditorWindow, ADefinitionForAnotherProgramSizeIsRefused) {
    std::string definition(2048, '\0');
    const std::int32_t channel = 1, rangeEnd = 99, programSize = 143;
    std::memcpy(definition.data(), &channel, 4);
    std::memcpy(definition.data() + 8, &rangeEnd, 4);
    std::memcpy(definition.data() + 16, &programSize, 4);
    PresetSettings();
    e2e::Program program;
    std::optional<e2e::MessageBoxInfo> box;
    {
        e2e::CtrlHeld ctrl;
        ASSERT_TRUE(ctrl.held);
        program = e2e::Launch({.arguments = "/librarian \"Korg M1 combis.QXInstrument\"",
                               .workFiles = {{"Korg M1 combis.QXInstrument", definition}},
                               .freshRegistry = false});
        ASSERT_TRUE(program);
        box = e2e::WaitForMessageBox(program, "Program Editor");
    }
    ASSERT_TRUE(box);
    EXPECT_EQ(box->icon, e2e::MessageBoxIcon::Stop);
    EXPECT_NE(box->text.find("its program size is 143 bytes"), std::string::npos) << box->text;
    EXPECT_TRUE(LogEvents(program, "recv").empty());
    ASSERT_TRUE(e2e::Answer(*box, IDOK));
    const HWND librarian = librarian_entry::WaitForLibrarianWindow(program);
    // The editor was never placed, so the Librarian stands where the last window stood.
    RECT place{};
    EXPECT_TRUE(GetWindowRect(librarian, &place) && place.left == 30 && place.top == 30);
}

} // namespace
