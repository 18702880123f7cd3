// Bursts of short messages through the loopback: at the speed of a real cable every one of them
// arrives, in order, each with its own label; and a burst cut into by Clear, an input port change
// or the way to the Librarian leaves the list, the count and the store files in agreement.
// CTest runs this program alone: thirty buffers are only about 77 ms of slack at cable speed.
#include "manager_input_e2e.h"
#include "librarian_entry.h"

#include <utility>

namespace {

using namespace manager_e2e;
using namespace manager_input_e2e;

constexpr int kBurst = 3000;
// Long enough that the program, taking a message in about a seventh of a millisecond, is still
// receiving when the cut comes.
constexpr int kCutBurst = 12000;
const std::string kRoland = "8 bytes [Roland]";

TEST(ManagerInput, ThreeThousandShortMessagesAtCableSpeedAllArriveInOrder) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager = StartManager({.workFiles = {{"burst.syx", NumberedFile(kBurst)}},
                                    .instrument = {.mode = "loopback", .wireSpeed = true}});
    ASSERT_TRUE(manager.window);
    ASSERT_TRUE(SelectFile(manager.window, "burst.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, sendId));

    // 24,000 bytes at 320 microseconds take 7.7 s; a loaded machine gets a generous margin.
    const std::string& logPath = manager.program.instrumentLog;
    ASSERT_TRUE(WaitQuietly(
        [&] {
            const auto log = e2e::ReadInstrumentLog(logPath);
            return EventCount(log, "send") == kBurst || !LostInputNotes(log).empty();
        },
        "the whole burst to come back", e2e::Milliseconds(90000)));
    const auto log = e2e::ReadInstrumentLog(logPath);
    EXPECT_EQ(LostInputNotes(log), std::vector<std::string>{});
    const auto sent = e2e::EventsNamed(log.entries, "send");
    ASSERT_EQ(sent.size(), std::size_t{kBurst});
    // The burst really came at the cable's pace: one message every 2.56 ms.
    EXPECT_GE(sent.back().ms - sent.front().ms, (kBurst - 1) * 2.56 * 0.8);

    ASSERT_TRUE(WaitQuietly([&] { return LabelCount(manager.window) == kBurst; },
                            "every message to be listed", e2e::Milliseconds(30000)))
        << LabelCount(manager.window) << " listed";
    const auto labels = MessageLabels(manager.window);
    EXPECT_EQ(std::count(labels.begin(), labels.end(), kRoland), kBurst);

    const auto saved = SaveStandardFile(manager, "received.syx");
    ASSERT_TRUE(saved);
    const auto numbers = NumbersIn(*saved);
    ASSERT_TRUE(numbers) << "the saved file holds other bytes than the messages sent";
    EXPECT_TRUE(RunsFromTo(*numbers, 0, kBurst - 1));

    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

enum class CutBy { clear, inputPortChange, librarian };

TEST(ManagerInput, ABurstCutByClearPortChangeOrLibrarianLeavesListCountAndFilesInAgreement) {
    for (const CutBy cut : {CutBy::clear, CutBy::inputPortChange, CutBy::librarian}) {
        SCOPED_TRACE(static_cast<int>(cut));
        ASSERT_NO_FATAL_FAILURE(PresetSettings(/*librarianInstrument=*/0));
        ASSERT_TRUE(e2e::WriteDword(HKEY_LOCAL_MACHINE, e2e::kSettingsKey, "FirstTime1", 1));
        // The instrument hands over each message as soon as a buffer is free: the burst goes as
        // fast as the program takes it, and nothing is lost for want of a buffer.
        Manager manager = StartManager({.workFiles = {{"burst.syx", NumberedFile(kCutBurst)}},
                                        .programFiles = {ShippedM1Definition()},
                                        .instrument = {.mode = "loopback"},
                                        .environment = {{"TALVANE_VI_WIRE_SPEED", "buffer"}}});
        ASSERT_TRUE(manager.window);
        ASSERT_TRUE(SelectFile(manager.window, "burst.syx"));
        ASSERT_TRUE(e2e::Press(manager.window, sendId));
        ASSERT_TRUE(WaitQuietly([&] { return LabelCount(manager.window) >= 100; },
                                "the burst to arrive", e2e::Milliseconds(30000)));

        const std::string& logPath = manager.program.instrumentLog;
        if (cut == CutBy::librarian) {
            ASSERT_TRUE(e2e::Press(manager.window, librarianId));
            ASSERT_TRUE(e2e::WaitUntilGone(manager.window));
            const HWND librarian = librarian_entry::WaitForLibrarianWindow(manager.program);
            ASSERT_TRUE(librarian);
            // The store files hold whole messages, the first ones of the burst, with nothing
            // received left out of them.
            const StoreFiles files = ReadStoreFiles();
            EXPECT_TRUE(files.whole);
            const auto numbers = NumbersIn(files.data);
            ASSERT_TRUE(numbers);
            EXPECT_GE(numbers->size(), 100u);
            EXPECT_TRUE(RunsFromTo(*numbers, 0, static_cast<int>(numbers->size()) - 1));
            EXPECT_EQ(files.lengths.size(), numbers->size());
            e2e::Close(librarian);
            EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
            continue;
        }
        if (cut == CutBy::clear)
            ASSERT_TRUE(e2e::Press(manager.window, clearId));
        else
            ASSERT_TRUE(e2e::SelectComboBoxItem(e2e::Control(manager.window, inputPortId), 0));
        ASSERT_TRUE(WaitQuietly(
            [&] { return EventCount(e2e::ReadInstrumentLog(logPath), "send") == kCutBurst; },
            "the rest of the burst", e2e::Milliseconds(60000)));
        int before = -1;
        ASSERT_TRUE(
            WaitQuietly([&] { return std::exchange(before, LabelCount(manager.window)) == before; },
                        "the list to take in the last messages", e2e::Milliseconds(30000)));
        // What came after the cut is listed, and saved, as the last messages of the burst.
        const auto labels = MessageLabels(manager.window);
        EXPECT_GT(labels.size(), 0u);
        EXPECT_LT(labels.size(), std::size_t{kCutBurst} - 100);
        EXPECT_EQ(std::count(labels.begin(), labels.end(), kRoland),
                  static_cast<std::ptrdiff_t>(labels.size()));
        // One work folder serves every cut: each saves a file of its own.
        const auto saved =
            SaveStandardFile(manager, "after-" + std::to_string(static_cast<int>(cut)) + ".syx");
        ASSERT_TRUE(saved);
        const auto numbers = NumbersIn(*saved);
        ASSERT_TRUE(numbers);
        EXPECT_TRUE(
            RunsFromTo(*numbers, kCutBurst - static_cast<int>(labels.size()), kCutBurst - 1));
        e2e::Close(manager.window);
        EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
    }
}

} // namespace
