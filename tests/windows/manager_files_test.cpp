// The Manager's file layer under Wine: the file list box filled from the current folder, reading
// a file into the store with the messages the user sees, the Save As and Open dialogs, and the
// notice of a full store.
#include "support/windows_test_support.h"

#include "manager/file_list.h"
#include "manager/file_list_box.h"
#include "manager/message_store.h"
#include "manager/store_list_box.h"
#include "manager/syx_files.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace wintest;

namespace {

constexpr int labelList = 102;
constexpr int fileListId = 104;

class ManagerFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { boxes = new MessageBoxWatch; }
    static void TearDownTestSuite() { delete boxes; }

    void SetUp() override {
        folder = TestScratchFolder("talvane-files-") + "\\";
        GetCurrentDirectoryA(MAX_PATH, startFolder);
        SetCurrentDirectoryA(folder.c_str());
        window = CreateStandInWindow("manager stand-in", nullptr,
                                     {{"LISTBOX", labelList}, {"LISTBOX", fileListId, LBS_NOTIFY}});
        shell.currentModuleWindow = window;
        AttachStoreLabelList(GetDlgItem(window, labelList));
        AttachFileListBox(GetDlgItem(window, fileListId));
        BuildScratchFileNames(folder + "scratch\\");
        CreateDirectoryA((folder + "scratch").c_str(), nullptr);
        ResetStore();
        boxes->Take();
    }

    void TearDown() override {
        CloseStore();
        shell.currentModuleWindow = nullptr;
        DestroyWindow(window);
        fileList.names.clear();
        SetCurrentDirectoryA(startFolder);
        RemoveFolder(folder);
        EXPECT_TRUE(boxes->Take().empty()) << "an unexpected message box was shown";
    }

    HWND Labels() const { return GetDlgItem(window, labelList); }
    HWND Files() const { return GetDlgItem(window, fileListId); }
    int SelectedFile() const { return static_cast<int>(SendMessageA(Files(), LB_GETCURSEL, 0, 0)); }

    void AddMessage(const Bytes& m) {
        AppendMessageBytes(m.data(), static_cast<std::int64_t>(m.size()));
        CommitMessage(static_cast<std::int32_t>(m.size()), m.size() > 1 ? m[1] : 0,
                      LabelForm::received);
    }

    static MessageBoxWatch* boxes;
    std::string folder;
    char startFolder[MAX_PATH] = {};
    HWND window = nullptr;
};

MessageBoxWatch* ManagerFiles::boxes = nullptr;

const Bytes roland = {0xF0, 0x41, 0x10, 0x16, 0x12, 0xF7};
const Bytes korg = {0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7};

} // namespace

TEST_F(ManagerFiles, FileListShowsTheSyxFilesOfTheCurrentFolder) {
    WriteBytes(folder + "bank.syx", TaggedSyxFile('-', "My bank", {roland}));
    WriteBytes(folder + "Tagged.syx", TaggedSyxFile('+', "ignored", {roland, korg}));
    WriteBytes(folder + "plain.syx", roland);
    WriteBytes(folder + "~temp.syx", roland);
    WriteBytes(folder + "notes.txt", roland);
    CreateDirectoryA((folder + "folder.syx").c_str(), nullptr);

    RebuildFileList("TAGGED.SYX");
    std::vector<std::pair<std::string, std::string>> entries;
    const auto labels = ListBoxLines(Files());
    ASSERT_EQ(labels.size(), 3u);
    ASSERT_EQ(FileListCount(), 3);
    for (int i = 0; i < 3; ++i)
        entries.emplace_back(FileListName(i), labels[static_cast<std::size_t>(i)]);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries,
              (std::vector<std::pair<std::string, std::string>>{{"Tagged.syx", "* Tagged.syx"},
                                                                {"bank.syx", "- My bank"},
                                                                {"plain.syx", "plain.syx"}}));
    ASSERT_GE(SelectedFile(), 0);
    EXPECT_EQ(FileListName(SelectedFile()), "Tagged.syx");

    RebuildFileList(impossibleFileName);
    EXPECT_EQ(ListBoxLines(Files()).size(), 3u);
    EXPECT_EQ(SelectedFile(), LB_ERR);

    RemoveFileListEntry(0);
    EXPECT_EQ(ListBoxLines(Files()).size(), 2u);
    EXPECT_EQ(FileListCount(), 2);
}

TEST_F(ManagerFiles, ReadingAFileFillsTheLabelListWithTheBusyCursorOn) {
    WriteBytes(folder + "two.syx", TaggedSyxFile('+', "two", {roland, korg}));
    shell.busy = false;
    ReadFileIntoStore((folder + "two.syx").c_str());
    EXPECT_TRUE(shell.busy);
    shell.busy = false;
    EXPECT_EQ(ListBoxLines(Labels()),
              (std::vector<std::string>{"6 bytes [Roland]", "6 bytes [Korg]"}));
}

TEST_F(ManagerFiles, DamagedAndMissingFilesAreReportedAndAddNothing) {
    AddMessage(roland);
    Bytes damaged = TaggedSyxFile('+', "cut", {roland, korg});
    damaged.pop_back();
    WriteBytes(folder + "cut.syx", damaged);
    ReadFileIntoStore((folder + "cut.syx").c_str());
    ReadFileIntoStore((folder + "absent.syx").c_str());
    Sleep(300);
    const auto shown = boxes->Take();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_NE(shown[0].text.find("cut.syx\" is damaged or incomplete"), std::string::npos)
        << shown[0].text;
    EXPECT_NE(shown[1].text.find("Couldn't open the file"), std::string::npos) << shown[1].text;
    EXPECT_EQ(MessageCount(), 1);
    EXPECT_EQ(ListBoxLines(Labels()), std::vector<std::string>{"6 bytes [Roland]"});
    shell.busy = false;
}

TEST_F(ManagerFiles, LongStandardFileIsStoredCutShortWithTheWarning) {
    Bytes big(500000, 0x01);
    big[0] = 0xF0;
    big[1] = 0x43;
    WriteBytes(folder + "big.syx", big);
    ReadFileIntoStore((folder + "big.syx").c_str());
    Sleep(300);
    const auto shown = boxes->Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Oops...");
    EXPECT_EQ(shown[0].text.rfind("Out of memory for single sysex message! This program can only "
                                  "handle messages under 512Kb in size. \n\n"
                                  "Please report",
                                  0),
              0u)
        << shown[0].text;
    EXPECT_NE(shown[0].text.find("\n\n(Things aren't going to work since the message was cut "
                                 "short.)"),
              std::string::npos);
    EXPECT_EQ(ListBoxLines(Labels()), std::vector<std::string>{"448014 bytes [Yamaha]"});
    shell.busy = false;
}

TEST_F(ManagerFiles, SaveAsWritesTheChosenFormatAndListsTheFile) {
    AddMessage(roland);
    AddMessage(korg);
    RebuildFileList(impossibleFileName);
    DialogAnswers user({{"Save As", EnterFileName(folder + "bank.syx", 3)}});
    EXPECT_EQ(SaveStoreAs(), 1);
    user.Finish();
    const Bytes written = ReadBytes(folder + "bank.syx");
    Bytes description = {'b', 'a', 'n', 'k', 0, 's', 'y', 'x', 0};
    description.resize(100, 0xCD);
    Bytes expected;
    const std::string tag = "Brevikorlando-";
    expected.insert(expected.end(), tag.begin(), tag.end());
    expected.insert(expected.end(), description.begin(), description.end());
    expected.insert(expected.end(), {2, 0, 6, 0, 0, 0, 6, 0, 0, 0});
    expected.insert(expected.end(), roland.begin(), roland.end());
    expected.insert(expected.end(), korg.begin(), korg.end());
    EXPECT_EQ(written, expected);
    // Added at the end of the file list with its full path, selected, labelled as a rebuild
    // labels it.
    const auto labels = ListBoxLines(Files());
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.back(), "- bank");
    EXPECT_EQ(SelectedFile(), static_cast<int>(labels.size()) - 1);
    EXPECT_TRUE(SameFileName(FileListName(SelectedFile()), folder + "bank.syx"))
        << FileListName(SelectedFile());
    RebuildFileList("bank.syx");
    EXPECT_EQ(ListBoxLines(Files()), std::vector<std::string>{"- bank"});
    // The position chosen is offered at the next Save As.
    EXPECT_EQ(fileList.saveFilterPosition, 3);

    ResetStore();
    AddMessage(korg);
    DialogAnswers againUser({{"Save As", EnterFileName(folder + "plain.syx", 2)}});
    EXPECT_EQ(SaveStoreAs(), 1);
    againUser.Finish();
    EXPECT_EQ(ReadBytes(folder + "plain.syx"), korg);
    EXPECT_EQ(ListBoxLines(Files()).back(), "plain.syx");
}

TEST_F(ManagerFiles, CancelledSaveAsWritesNothing) {
    AddMessage(roland);
    DialogAnswers user({{"Save As", PressButton(IDCANCEL)}});
    EXPECT_EQ(SaveStoreAs(), 0);
    user.Finish();
    EXPECT_EQ(MessageCount(), 1);
    EXPECT_TRUE(ListBoxLines(Files()).empty());
}

TEST_F(ManagerFiles, ChosenFileInAnotherFolderBecomesTheListedFolder) {
    const std::string other = folder + "other\\";
    CreateDirectoryA(other.c_str(), nullptr);
    WriteBytes(other + "a.syx", roland);
    WriteBytes(other + "b.syx", TaggedSyxFile('+', "b", {korg}));
    DialogAnswers user({{"Send", EnterFileName(other + "b.syx")}});
    EXPECT_EQ(ChooseFile("Send"), 0);
    user.Finish();
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_TRUE(SameFileName(std::string(current) + "\\", other)) << current;
    EXPECT_EQ(ListBoxLines(Files()).size(), 2u);
    ASSERT_GE(SelectedFile(), 0);
    EXPECT_EQ(FileListName(SelectedFile()), "b.syx");

    DialogAnswers againUser({{"Open", PressButton(IDCANCEL)}});
    EXPECT_EQ(ChooseFile("Open"), 1);
    againUser.Finish();
    EXPECT_EQ(FileListName(SelectedFile()), "b.syx");
}

TEST_F(ManagerFiles, FullStoreIsReportedOnce) {
    store.labelHook = nullptr; // the list box need not hold 32,767 labels for this
    for (int i = 0; i < maxStoreMessages; ++i)
        AddMessage(roland);
    AttachStoreLabelList(Labels());
    AddMessage(korg);
    AddMessage(korg);
    Sleep(300);
    const auto shown = boxes->Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_NE(shown[0].text.find("32,767"), std::string::npos) << shown[0].text;
    EXPECT_EQ(MessageCount(), maxStoreMessages);
    EXPECT_TRUE(ListBoxLines(Labels()).empty());
}

TEST_F(ManagerFiles, EditSplitAndJoinWorkOnWindowsFiles) {
    std::vector<Bytes> messages;
    for (unsigned char i = 0; i < 5; ++i) {
        messages.push_back({0xF0, 0x41, i, static_cast<unsigned char>(i * 3), 0xF7});
        AddMessage(messages.back());
    }
    const Bytes typed = {0xF0, 0x42, 0x01, 0xF7};
    Bytes old;
    ASSERT_EQ(SplitForEdit(2, 10000, old), SplitOutcome::split);
    EXPECT_EQ(old, messages[2]);
    EXPECT_EQ(ReadBytes(store.files.beforeLengths), (Bytes{5, 0, 0, 0, 5, 0, 0, 0}));
    EXPECT_EQ(ReadBytes(store.files.afterData).size(), 10u);
    CommitEdit(typed.data(), 4);
    messages[2] = typed;
    ASSERT_EQ(SplitForEdit(4, 10000, old), SplitOutcome::split);
    CancelEdit();
    ASSERT_EQ(SplitForEdit(5, 10000, old), SplitOutcome::split);
    CommitEdit(typed.data(), 4);
    messages.push_back(typed);

    store.dataFile.Flush();
    store.lengthFile.Flush();
    Bytes data;
    Bytes lengths;
    for (const Bytes& m : messages) {
        data.insert(data.end(), m.begin(), m.end());
        lengths.insert(lengths.end(), {static_cast<unsigned char>(m.size()), 0, 0, 0});
    }
    EXPECT_EQ(ReadBytes(store.files.data), data);
    EXPECT_EQ(ReadBytes(store.files.lengths), lengths);
    EXPECT_EQ(ListBoxLines(Labels()),
              (std::vector<std::string>{"5 bytes [Roland]", "5 bytes [Roland]", "4 user [Korg]",
                                        "5 bytes [Roland]", "5 bytes [Roland]", "4 user [Korg]"}));
    for (const std::string& split : {store.files.beforeData, store.files.beforeLengths,
                                     store.files.afterData, store.files.afterLengths})
        EXPECT_EQ(GetFileAttributesA(split.c_str()), INVALID_FILE_ATTRIBUTES) << split;
}
