// The file list: labels by format, scratch files left out, selection by name.
#include "manager/file_list.h"

#include "manager_store_fixture.h"

namespace {

struct ListBoxDouble {
    std::vector<std::string> labels;
    int selected = -1;
};

void RecordFileListChange(void* context, FileListChange change, int index, const char* label) {
    auto& box = *static_cast<ListBoxDouble*>(context);
    switch (change) {
    case FileListChange::clear:
        box.labels.clear();
        box.selected = -1;
        break;
    case FileListChange::append:
        EXPECT_EQ(index, static_cast<int>(box.labels.size()));
        box.labels.push_back(label);
        break;
    case FileListChange::select:
        box.selected = index;
        break;
    case FileListChange::remove:
        box.labels.erase(box.labels.begin() + index);
        if (box.selected == index)
            box.selected = -1;
        else if (box.selected > index)
            --box.selected;
        break;
    }
}

class FileListTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        fileList.hook = RecordFileListChange;
        fileList.context = &box;
    }
    void TearDown() override {
        fileList.hook = nullptr;
        fileList.names.clear();
        StoreTest::TearDown();
    }

    // Saves a one-message store under `name` in `format`, as Save As does.
    void SaveAs(const std::string& name, SyxFormat format) {
        AddMessage(MakeMessage(10, 0x41));
        unsigned char block[32500];
        ASSERT_TRUE(WriteStoreToFile(Path(name), format, MakeDescription(name.c_str()), block,
                                     sizeof block));
        ResetStore();
    }

    std::string Folder() const { return folder.string() + "/"; }

    ListBoxDouble box;
};

} // namespace

TEST_F(FileListTest, EachFormatHasItsLabel) {
    SaveAs("bank.syx", SyxFormat::brevikorlando10);
    SaveAs("tagged.syx", SyxFormat::brevikorlando);
    SaveAs("plain.syx", SyxFormat::standard);
    FillFileList(Folder(), {"bank.syx", "tagged.syx", "plain.syx"}, impossibleFileName);
    EXPECT_EQ(box.labels, (std::vector<std::string>{"- bank", "* tagged.syx", "plain.syx"}));
    EXPECT_EQ(fileList.names, (std::vector<std::string>{"bank.syx", "tagged.syx", "plain.syx"}));
    EXPECT_EQ(box.selected, -1);
}

TEST_F(FileListTest, LabelsAfterSaveAreTheLabelsOfTheListing) {
    const auto description = MakeDescription("bank.syx");
    EXPECT_EQ(FileListLabel(SyxFormat::brevikorlando10, "bank.syx", description.data(), 98),
              "- bank");
    EXPECT_EQ(FileListLabel(SyxFormat::brevikorlando, "bank.syx", nullptr, 0), "* bank.syx");
    EXPECT_EQ(FileListLabel(SyxFormat::standard, "bank.syx", nullptr, 0), "bank.syx");
}

TEST_F(FileListTest, LongNamesAndDescriptionsAreCut) {
    const std::string longName(120, 'n');
    EXPECT_EQ(FileListLabel(SyxFormat::standard, longName, nullptr, 0), std::string(100, 'n'));
    EXPECT_EQ(FileListLabel(SyxFormat::brevikorlando, longName, nullptr, 0), "* " + longName);
    // A description without a NUL shows its first 98 bytes.
    const auto description = MakeDescription((longName + ".syx").c_str());
    EXPECT_EQ(FileListLabel(SyxFormat::brevikorlando10, "x.syx", description.data(), 100),
              "- " + std::string(98, 'n'));
    // A Brevikorlando 1.0 file cut short in its description shows what is there.
    WriteWholeFile(Path("cut.syx"), Bytes{'B', 'r', 'e', 'v', 'i', 'k', 'o', 'r', 'l', 'a', 'n',
                                          'd', 'o', '-', 'a', 'b'});
    EXPECT_EQ(FileListLabelOf(Path("cut.syx"), "cut.syx"), "- ab");
    // A file that cannot be read is listed as a standard-format file.
    EXPECT_EQ(FileListLabelOf(Path("gone.syx"), "gone.syx"), "gone.syx");
}

TEST_F(FileListTest, ScratchFilesAreNeverListed) {
    SaveAs("~mine.syx", SyxFormat::standard);
    SaveAs("a.syx", SyxFormat::standard);
    FillFileList(Folder(), {"~mine.syx", "a.syx", "~x.syx"}, "~mine.syx");
    EXPECT_EQ(box.labels, std::vector<std::string>{"a.syx"});
    EXPECT_EQ(fileList.names, std::vector<std::string>{"a.syx"});
    EXPECT_EQ(box.selected, -1);
}

TEST_F(FileListTest, SelectionFollowsTheNameWithoutRegardToCase) {
    SaveAs("One.syx", SyxFormat::standard);
    SaveAs("Two.SYX", SyxFormat::brevikorlando);
    FillFileList(Folder(), {"One.syx", "Two.SYX"}, "two.syx");
    EXPECT_EQ(box.selected, 1);
    EXPECT_EQ(FileListName(box.selected), "Two.SYX");
    // Rebuilding empties the list first.
    FillFileList(Folder(), {"One.syx"}, impossibleFileName);
    EXPECT_EQ(box.labels, std::vector<std::string>{"One.syx"});
    EXPECT_EQ(box.selected, -1);
}

TEST_F(FileListTest, EntriesAreAddedAndRemovedInStepWithTheNames) {
    AddFileListEntry("a.syx", "a.syx", false);
    AddFileListEntry("* b.syx", "C:\\music\\b.syx", true);
    AddFileListEntry("c.syx", "c.syx", false);
    EXPECT_EQ(box.selected, 1);
    EXPECT_EQ(FileListName(1), "C:\\music\\b.syx");
    RemoveFileListEntry(0);
    EXPECT_EQ(box.labels, (std::vector<std::string>{"* b.syx", "c.syx"}));
    EXPECT_EQ(FileListName(0), "C:\\music\\b.syx");
    EXPECT_EQ(FileListName(1), "c.syx");
    RemoveFileListEntry(5);
    RemoveFileListEntry(-1);
    EXPECT_EQ(FileListCount(), 2);
    EXPECT_EQ(FileListName(2), "");
    EXPECT_EQ(FileListName(-1), "");
}

TEST(FileName, ComparisonIgnoresCaseOnly) {
    EXPECT_TRUE(SameFileName("BANK.SYX", "bank.syx"));
    EXPECT_FALSE(SameFileName("bank.syx", "bank.syx "));
    EXPECT_FALSE(SameFileName("bank.syx", impossibleFileName));
    EXPECT_FALSE(IsListedFileName("~tempbefore.syx"));
    EXPECT_TRUE(IsListedFileName("a~.syx"));
}
