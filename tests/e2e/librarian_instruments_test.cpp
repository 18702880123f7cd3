// Each shipped definition (the M1's has tests of its own) as the build writes it, against the
// virtual instrument playing that instrument from a real dump: "Update", "<< All", Save As and
// Copy as a user does them (instruments without names have no "Update").
#include "librarian/shipped_definitions.h"
#include "librarian/string_language.h"
#include "librarian_e2e.h"
#include "tools/virtual-instrument/dump_instruments.h"

#include <algorithm>

namespace {

using namespace librarian_e2e;
using vi::DumpModel;

struct InstrumentCase {
    const char* name; // of the definition file
    const char* mode; // TALVANE_VI_MODE
    DumpModel model;
    bool writesMemory; // Copy stores into the program, not only into the edit buffer
    int acksPerCopy;   // messages the instrument answers a copy with
};

const InstrumentCase instruments[] = {
    {"Yamaha TX7", "tx7", DumpModel::Tx7, false, 0},
    {"Korg DW-8000", "dw8000", DumpModel::Dw8000, true, 1},
    {"E-mu Proteus 1", "proteus1", DumpModel::Proteus1, true, 0},
    {"E-mu Proteus 2", "proteus2", DumpModel::Proteus2, true, 0},
    {"DSI Mopho", "mopho", DumpModel::Mopho, true, 0},
    {"DSI Prophet 08", "prophet08", DumpModel::Prophet08, true, 0},
    {"DSI Tetra", "tetra", DumpModel::Tetra, true, 0},
    {"DSI Evolver", "evolver", DumpModel::Evolver, true, 0},
};

std::int32_t CountOf(const InstrumentDefinition& d) {
    return d.rangeEnd - d.rangeStart + 1;
}

// The device list line for a program, numbered as the definition shows it.
std::string LineOf(const InstrumentDefinition& s, int program, const std::string& name) {
    const std::string last = std::to_string(s.rangeEnd + s.numberOffset);
    char number[16];
    std::snprintf(number, sizeof number, "%0*d ", static_cast<int>(last.size()),
                  program + s.numberOffset);
    return number + name;
}

std::string BankPath() {
    return e2e::JoinPath(ProgramFolder(), "Mine.QXBank");
}

// The stored bytes of the bank program of that name.
std::string StoredData(const InstrumentDefinition& s, const std::string& name) {
    const std::string file = FileText(BankPath());
    const std::size_t record = 30 + static_cast<std::size_t>(s.programSize);
    for (std::size_t slot = 0; slot < 32000; ++slot) {
        const std::size_t at = 32004 + slot * record;
        if (file.size() >= at + record && file[4 + slot] && file.c_str() + at == name)
            return file.substr(at + 30, static_cast<std::size_t>(s.programSize));
    }
    return {};
}

// What the instrument holds for the program, where its reply carries the program's bytes.
std::string InstrumentData(const InstrumentCase& c, const InstrumentDefinition& s, int program) {
    vi::DumpMemory memory = vi::MakeDumpMemory(c.model);
    const vi::Bytes reply = vi::DumpProgramReply(c.model, memory, 1, program);
    BuildRequestMessage(s, program); // the reply section's offset
    return std::string(reply.begin(), reply.end())
        .substr(static_cast<std::size_t>(replyValues.replyDataOffset),
                static_cast<std::size_t>(s.programSize));
}

// Save As (with CTRL, which instruments without names need not) of a device line.
void SaveAs(const Librarian& librarian, int line, const std::string& name) {
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(librarian.window, deviceListId), line));
    {
        e2e::CtrlHeld ctrl(librarian.window);
        ASSERT_TRUE(ctrl.held);
        ASSERT_TRUE(e2e::Press(librarian.window, saveId));
    }
    HWND dialog =
        e2e::WaitForWindowOf(librarian.program, {.className = "#32770", .caption = "Save As..."});
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(e2e::SetText(e2e::Control(dialog, 3000), name));
    ASSERT_TRUE(e2e::Press(dialog, IDOK));
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
}

void UserStory(const InstrumentCase& c, const InstrumentDefinition& s, const Librarian& librarian) {
    vi::DumpMemory memory = vi::MakeDumpMemory(c.model);
    const int last = CountOf(s) - 1;
    std::vector<std::string> names, lines;
    for (int i = 0; i < CountOf(s); ++i) {
        names.push_back(vi::DumpProgramName(c.model, memory, s.rangeStart + i));
        lines.push_back(LineOf(s, s.rangeStart + i, names.back()));
    }
    // The opening request names the first line, where the instrument has names.
    std::vector<std::string> opened(lines.size());
    for (int i = 0; i < CountOf(s); ++i)
        opened[i] = LineOf(s, s.rangeStart + i, i == 0 && s.nameGrabbing ? names[0] : "<Unknown>");
    ASSERT_TRUE(DeviceLinesAfter(librarian, 1, opened));
    std::size_t replies = 1;
    if (s.nameGrabbing) {
        ASSERT_TRUE(e2e::Press(librarian.window, updateId));
        replies += names.size();
        ASSERT_TRUE(DeviceLinesAfter(librarian, replies, lines));
        {
            e2e::CtrlHeld ctrl(librarian.window);
            ASSERT_TRUE(ctrl.held);
            ASSERT_TRUE(e2e::Press(librarian.window, updateId)); // "<< All"
        }
        replies += names.size();
        ASSERT_TRUE(WaitForReplies(librarian, replies));
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_TRUE(e2e::WaitUntil([&] { return BankNames(BankPath()).size() == names.size(); },
                                   "every program stored"));
        std::vector<std::string> stored = BankNames(BankPath());
        std::sort(stored.begin(), stored.end());
        EXPECT_EQ(stored, sorted);
        EXPECT_EQ(StoredData(s, names[last]), InstrumentData(c, s, s.rangeStart + last));
    } else {
        EXPECT_EQ(GetDlgItem(librarian.window, updateId), nullptr);
    }

    ASSERT_NO_FATAL_FAILURE(SaveAs(librarian, 2, "Third"));
    ASSERT_TRUE(WaitForReplies(librarian, ++replies));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !StoredData(s, "Third").empty(); }, "saved"));
    EXPECT_EQ(StoredData(s, "Third"), InstrumentData(c, s, s.rangeStart + 2));
    EXPECT_EQ(DeviceLines(librarian.window)[2], LineOf(s, s.rangeStart + 2, "Third"));

    // Copy onto the last place; what the instrument then holds there, saved back.
    const int index = IndexOf(BankPrograms(librarian.window), "Third");
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(librarian.window, bankProgramsId), index));
    ASSERT_TRUE(e2e::SelectListBoxItem(e2e::Control(librarian.window, deviceListId), last));
    ASSERT_TRUE(e2e::Press(librarian.window, copyId));
    EXPECT_EQ(DeviceLines(librarian.window)[last], LineOf(s, s.rangeStart + last, "Third"));
    replies += static_cast<std::size_t>(c.acksPerCopy);
    ASSERT_TRUE(WaitForReplies(librarian, replies));
    ASSERT_NO_FATAL_FAILURE(SaveAs(librarian, last, "Last"));
    ASSERT_TRUE(WaitForReplies(librarian, ++replies));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !StoredData(s, "Last").empty(); }, "saved"));
    EXPECT_EQ(StoredData(s, "Last"),
              c.writesMemory ? StoredData(s, "Third") : InstrumentData(c, s, s.rangeStart + last));
}

TEST(LibrarianInstruments, EveryShippedDefinitionWithItsInstrument) {
    for (const InstrumentCase& c : instruments) {
        SCOPED_TRACE(c.name);
        const InstrumentDefinition s = *FindShippedDefinition(c.name);
        const std::string file =
            FileText(e2e::JoinPath(e2e::BinFolder(), std::string(c.name) + definitionExtension));
        ASSERT_EQ(file, std::string(reinterpret_cast<const char*>(&s), sizeof s))
            << "the build writes the definition beside the program";
        ASSERT_NO_FATAL_FAILURE(PresetSettings());
        const std::string definition = std::string(c.name) + ".QXInstrument";
        Librarian librarian;
        librarian.program = e2e::Launch(
            {.arguments = "/librarian \"" + e2e::JoinPath(ProgramFolder(), definition) + "\"",
             .programFiles = {{definition, file}, {"Mine.QXBank", BankFile({}, s.programSize)}},
             .freshRegistry = false,
             .instrument = {.mode = c.mode}});
        ASSERT_TRUE(librarian.program);
        librarian.window = e2e::WaitForWindowOf(librarian.program, {.className = "QX_SysX2"});
        ASSERT_TRUE(librarian.window);
        EXPECT_EQ(e2e::Text(librarian.window),
                  std::string(c.name) + " - Quillfen Program Librarian");
        ASSERT_NO_FATAL_FAILURE(UserStory(c, s, librarian));
        e2e::Close(librarian.window);
        EXPECT_EQ(e2e::WaitForExit(librarian.program), 0u);
    }
}

} // namespace
