// Messages received from the instrument go through Save As in each of the three formats and come
// back whole when the saved files are opened; the file list labels each file by its format.
#include "manager_e2e.h"

#include <string>
#include <vector>

namespace {

using namespace manager_e2e;

const std::vector<Bytes> threeMessages = {
    {0xF0, 0x41, 0x10, 0x16, 0x12, 0x00, 0x01, 0x02, 0x03, 0xF7},
    Message(300, 0x43, 1),
    {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},
};
const std::vector<std::string> threeLabels = {"10 bytes [Roland]", "300 bytes [Yamaha]",
                                              "6 bytes [7e]"};

std::string Concatenated(const std::vector<Bytes>& messages) {
    std::string all;
    for (const Bytes& message : messages)
        all += AsText(message);
    return all;
}

// Save As through the system's dialog: the file type offered first is `offered`.
void SaveAs(const Manager& manager, const std::string& path, int typePosition, int offered) {
    ASSERT_TRUE(e2e::Press(manager.window, saveAsId));
    const HWND dialog = WaitForFileDialog(manager.program, "Save As");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(FileTypePosition(dialog), offered);
    ASSERT_TRUE(ChooseInFileDialog(dialog, path, typePosition));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
}

TEST(ManagerFiles, ReceivedMessagesSurviveEachFormatByteForByte) {
    ASSERT_NO_FATAL_FAILURE(PresetSettings());
    Manager manager =
        StartManager({.workFiles = {{"three.syx", TaggedFile('+', "three", threeMessages)}}});
    ASSERT_TRUE(manager.window);
    const HWND files = e2e::Control(manager.window, filesId);
    const std::string work = manager.program.workFolder;
    const struct {
        int type;
        const char* name;
        const char* label;
    } formats[] = {{1, "b1.syx", "* b1.syx"}, {2, "b2.syx", "b2.syx"}, {3, "b3.syx", "- b3"}};

    int offered = 1; // the first Save As offers the program's own format
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        // The file from the list goes to the instrument, which sends it back (a loopback cable).
        ASSERT_TRUE(SelectFile(manager.window, "* three.syx"));
        ASSERT_TRUE(e2e::Press(manager.window, sendId));
        ASSERT_TRUE(WaitForMessageLabels(manager.window, threeLabels));
        ASSERT_NO_FATAL_FAILURE(
            SaveAs(manager, e2e::JoinPath(work, format.name), format.type, offered));
        offered = format.type;
        // The saved file is added to the list and selected; the store is empty again.
        ASSERT_TRUE(e2e::WaitUntil([&] { return FileEntry(manager.window, format.label) >= 0; },
                                   "the saved file is listed"));
        EXPECT_EQ(e2e::ListBoxSelection(files), FileEntry(manager.window, format.label));
        EXPECT_TRUE(WaitForMessageLabels(manager.window, {}));
    }
    const auto log = e2e::ReadInstrumentLog(manager.program.instrumentLog);
    EXPECT_EQ(e2e::EventsNamed(log.entries, "recv").size(), 9u);

    const auto b1 = ReadTagged(e2e::ReadFileBytes(e2e::JoinPath(work, "b1.syx")).value_or(""));
    EXPECT_EQ(b1.tag, "Brevikorlando+");
    EXPECT_EQ(b1.description, "b1");
    EXPECT_EQ(b1.messages, threeMessages);
    EXPECT_TRUE(b1.whole);
    EXPECT_EQ(e2e::ReadFileBytes(e2e::JoinPath(work, "b2.syx")), Concatenated(threeMessages));
    const auto b3 = ReadTagged(e2e::ReadFileBytes(e2e::JoinPath(work, "b3.syx")).value_or(""));
    EXPECT_EQ(b3.tag, "Brevikorlando-");
    EXPECT_EQ(b3.description, "b3");
    EXPECT_EQ(b3.messages, threeMessages);
    EXPECT_TRUE(b3.whole);

    // Opened again, each file gives back what was received; the standard format holds one
    // message.
    ASSERT_TRUE(e2e::Press(manager.window, clearId));
    EXPECT_TRUE(MessageLabels(manager.window).empty());
    ASSERT_TRUE(SelectFile(manager.window, "* b1.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, openId));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, threeLabels));
    ASSERT_TRUE(SelectFile(manager.window, "b2.syx"));
    ASSERT_TRUE(e2e::Press(manager.window, openId));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, {"316 bytes [Roland]"}));

    // CTRL+Open chooses the file in the dialog; the list is then made anew from the folder and
    // shows every saved file as it did right after its save.
    {
        e2e::CtrlHeld ctrl(manager.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(manager.window, openId));
    }
    const HWND open = WaitForFileDialog(manager.program, "Open");
    ASSERT_TRUE(open);
    ASSERT_TRUE(ChooseInFileDialog(open, e2e::JoinPath(work, "b3.syx")));
    EXPECT_TRUE(WaitForMessageLabels(manager.window, threeLabels));
    for (const auto& format : formats)
        EXPECT_GE(FileEntry(manager.window, format.label), 0) << format.label;
    EXPECT_EQ(e2e::ListBoxSelection(files), FileEntry(manager.window, "- b3"));

    // What was opened is the store, byte for byte: saved once more, it is the same three
    // messages.
    ASSERT_NO_FATAL_FAILURE(SaveAs(manager, e2e::JoinPath(work, "again.syx"), 1, 3));
    ASSERT_TRUE(e2e::WaitUntil([&] { return FileEntry(manager.window, "* again.syx") >= 0; },
                               "the saved file is listed"));
    const auto again =
        ReadTagged(e2e::ReadFileBytes(e2e::JoinPath(work, "again.syx")).value_or(""));
    EXPECT_EQ(again.messages, threeMessages);
    EXPECT_TRUE(again.whole);

    e2e::Close(manager.window);
    EXPECT_EQ(e2e::WaitForExit(manager.program), 0u);
}

} // namespace
