#include "shell/dialog_template.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Word(Bytes& b, std::uint16_t w) {
    b.push_back(static_cast<std::uint8_t>(w));
    b.push_back(static_cast<std::uint8_t>(w >> 8));
}
void Dword(Bytes& b, std::uint32_t d) {
    Word(b, static_cast<std::uint16_t>(d));
    Word(b, static_cast<std::uint16_t>(d >> 16));
}
void Text(Bytes& b, const std::string& s) {
    for (char c : s)
        Word(b, static_cast<std::uint8_t>(c));
    Word(b, 0);
}
void Align(Bytes& b) {
    while (b.size() % 4)
        b.push_back(0);
}

constexpr std::uint32_t setFont = 0x40;

// A DIALOGEX description as the resource compiler lays it out: header, no menu, the given class
// field, title, font, then two controls, each on a 4-byte boundary.
Bytes ExtendedDialog(const Bytes& classField, std::uint32_t style = setFont | 0x80000000u) {
    Bytes b;
    Word(b, 1);
    Word(b, 0xFFFF);
    Dword(b, 0);     // help ID
    Dword(b, 0);     // extended style
    Dword(b, style); // style
    Word(b, 2);      // controls
    for (std::uint16_t v : {0, 0, 300, 200})
        Word(b, v);
    Word(b, 0); // menu
    b.insert(b.end(), classField.begin(), classField.end());
    Text(b, "Talvane 95");
    if (style & setFont) {
        Word(b, 8);
        Word(b, 400);
        b.push_back(0);
        b.push_back(1);
        Text(b, "MS Sans Serif");
    }
    for (int control = 0; control < 2; ++control) {
        Align(b);
        Dword(b, 0);
        Dword(b, 0);
        Dword(b, 0x50010000u);
        for (std::uint16_t v : {10, 10, 50, 14})
            Word(b, v);
        Dword(b, 100u + control);
        Word(b, 0xFFFF);
        Word(b, 0x0080); // button
        Text(b, control ? "Cancel" : "A");
        Word(b, 0); // no creation data
    }
    return b;
}

Bytes NoClass() {
    Bytes b;
    Word(b, 0);
    return b;
}

// Where the controls start: behind the font, on a 4-byte boundary.
std::size_t ControlsOffset(const Bytes& dialog) {
    std::size_t offset = 26;
    for (int field = 0; field < 2; ++field) { // menu, class
        if (dialog[offset] == 0xFF && dialog[offset + 1] == 0xFF) {
            offset += 4;
            continue;
        }
        while (dialog[offset] || dialog[offset + 1])
            offset += 2;
        offset += 2;
    }
    while (dialog[offset] || dialog[offset + 1]) // title
        offset += 2;
    offset += 2 + 6;
    while (dialog[offset] || dialog[offset + 1]) // typeface
        offset += 2;
    offset += 2;
    return (offset + 3) & ~std::size_t(3);
}

std::string ClassOf(const Bytes& dialog, std::size_t at) {
    std::string name;
    while (dialog.at(at) || dialog.at(at + 1)) {
        name += static_cast<char>(dialog[at]);
        at += 2;
    }
    return name;
}

TEST(ShellDialogTemplate, TheClassIsWrittenIntoACopy116BytesLarger) {
    Bytes original = ExtendedDialog(NoClass());
    for (const char* name : {"QX_SysEx", "QX_SysX2", "QX_SysX3", "Q", "QX_LongerClass"}) {
        Bytes copy = CopyDialogWithClass(original.data(), original.size(), name);
        ASSERT_EQ(copy.size(), original.size() + 116) << name;
        EXPECT_EQ(ClassOf(copy, 28), name);
        // Header and menu unchanged, title and font kept, controls identical and aligned.
        EXPECT_TRUE(std::equal(original.begin(), original.begin() + 28, copy.begin()));
        std::size_t from = ControlsOffset(original);
        std::size_t to = ControlsOffset(copy);
        EXPECT_EQ(to % 4, 0u);
        EXPECT_TRUE(std::equal(original.begin() + from, original.end(), copy.begin() + to));
        std::size_t titleAt = 28 + 2 * (std::string(name).size() + 1);
        EXPECT_EQ(ClassOf(copy, titleAt), "Talvane 95");
    }
}

TEST(ShellDialogTemplate, AnExistingClassNameOrOrdinalIsReplaced) {
    Bytes named;
    Text(named, "SomethingElse");
    Bytes ordinal;
    Word(ordinal, 0xFFFF);
    Word(ordinal, 0x0081);
    for (const Bytes& field : {named, ordinal}) {
        Bytes original = ExtendedDialog(field);
        Bytes copy = CopyDialogWithClass(original.data(), original.size(), "QX_SysX2");
        ASSERT_FALSE(copy.empty());
        EXPECT_EQ(ClassOf(copy, 28), "QX_SysX2");
        std::size_t from = ControlsOffset(original);
        EXPECT_TRUE(std::equal(original.begin() + from, original.end(),
                               copy.begin() + ControlsOffset(copy)));
    }
}

TEST(ShellDialogTemplate, PlainDialogDescriptionsWithoutFont) {
    Bytes b;
    Dword(b, 0x80000000u); // style without a font
    Dword(b, 0);
    Word(b, 0); // no controls
    for (std::uint16_t v : {0, 0, 100, 50})
        Word(b, v);
    Word(b, 0);
    Word(b, 0);
    Text(b, "T");
    Bytes copy = CopyDialogWithClass(b.data(), b.size(), "QX_SysX3");
    ASSERT_EQ(copy.size(), b.size() + 116);
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 20, copy.begin()));
    EXPECT_EQ(ClassOf(copy, 20), "QX_SysX3");
    EXPECT_EQ(ClassOf(copy, 38), "T");
}

TEST(ShellDialogTemplate, DamagedDescriptionsAreRefusedWithoutReadingPastTheirEnd) {
    Bytes original = ExtendedDialog(NoClass());
    std::size_t controls = ControlsOffset(original);
    for (std::size_t size = 0; size < original.size(); ++size) {
        // A private copy of exactly this size, so the sanitizer sees any read beyond it.
        std::vector<std::uint8_t> cut(original.begin(), original.begin() + size);
        Bytes copy = CopyDialogWithClass(cut.data(), cut.size(), "QX_SysEx");
        if (size < controls - 2) // the header, its strings or the font are incomplete
            EXPECT_TRUE(copy.empty()) << size;
        else
            EXPECT_EQ(copy.size(), size + 116) << size;
    }
    // A title without its terminating zero.
    Bytes unterminated(original.begin(), original.begin() + 30);
    unterminated.push_back('T');
    unterminated.push_back(0);
    EXPECT_TRUE(CopyDialogWithClass(unterminated.data(), unterminated.size(), "X").empty());
}

TEST(ShellDialogTemplate, ClassNamesMustBePlainText) {
    Bytes original = ExtendedDialog(NoClass());
    EXPECT_TRUE(
        CopyDialogWithClass(original.data(), original.size(), std::string("A\0B", 3)).empty());
    EXPECT_TRUE(CopyDialogWithClass(original.data(), original.size(), "Caf\xe9").empty());
    // A name too long for the room the copy has.
    EXPECT_TRUE(
        CopyDialogWithClass(original.data(), original.size(), std::string(80, 'Q')).empty());
}

} // namespace
