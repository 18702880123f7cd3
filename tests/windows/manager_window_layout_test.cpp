// The dialogs of the Manager window and of its hex editor as they are compiled into
// Talvane95.dat: every control with its identifier, class, caption, style and place in dialog
// units, in tab order, and the dialogs' own captions, styles, sizes and font.
#include "support/windows_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The dialog description of the resource `name` in the built program.
std::vector<unsigned char> DialogResource(const char* name) {
    static const HMODULE program = LoadLibraryExA(
        (wintest::ProgramFolder() + "\\Talvane95.dat").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found = program ? FindResourceA(program, name, RT_DIALOG) : nullptr;
    if (!found)
        return {};
    const auto* data =
        static_cast<const unsigned char*>(LockResource(LoadResource(program, found)));
    return {data, data + SizeofResource(program, found)};
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

enum class Kind { groupBox, dropDownList, listBox, pushButton, defaultButton, text, edit };

struct Expected {
    int id; // -1: the control has no identifier of its own
    Kind kind;
    const char* caption;
    RECT place; // left, top, width, height in dialog units
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void CheckKind(HWND control, Kind kind) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const std::string name = ClassOf(control);
    switch (kind) {
    case Kind::groupBox:
        EXPECT_EQ(name, "Button");
        EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
        break;
    case Kind::dropDownList:
        EXPECT_EQ(name, "ComboBox");
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
        EXPECT_TRUE(style & WS_TABSTOP);
        break;
    case Kind::listBox:
        EXPECT_EQ(name, "ListBox");
        EXPECT_TRUE(style & LBS_NOTIFY);
        EXPECT_FALSE(style & LBS_SORT);
        // A dialog of this system draws a bordered control with a sunken edge instead.
        EXPECT_TRUE((style & WS_BORDER) ||
                    (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        break;
    case Kind::pushButton:
    case Kind::defaultButton:
        EXPECT_EQ(name, "Button");
        EXPECT_EQ(style & BS_TYPEMASK,
                  kind == Kind::defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        EXPECT_TRUE(style & WS_TABSTOP);
        break;
    case Kind::text:
        EXPECT_EQ(name, "Static");
        EXPECT_EQ(style & SS_TYPEMASK, SS_LEFT);
        break;
    case Kind::edit:
        EXPECT_EQ(name, "Edit");
        EXPECT_FALSE(style & ES_MULTILINE);
        EXPECT_TRUE(style & ES_AUTOHSCROLL);
        EXPECT_TRUE(style & ES_UPPERCASE);
        EXPECT_TRUE((style & WS_BORDER) ||
                    (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        EXPECT_TRUE(style & WS_TABSTOP);
        break;
    }
}

// Creates the dialog and compares it with the table, control by control in tab order.
void CheckDialog(const char* resource, const char* caption, SIZE size,
                 const std::vector<Expected>& controls, HWND* created) {
    const std::vector<unsigned char> description = DialogResource(resource);
    ASSERT_FALSE(description.empty()) << resource;
    const HWND dialog = CreateDialogIndirectParamA(
        GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(description.data()),
        nullptr, PlainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    *created = dialog;
    // The description names no class: the program writes its module's class into a copy.
    EXPECT_EQ(ClassOf(dialog), "#32770");
    EXPECT_EQ(TextOf(dialog), caption);

    RECT client{};
    GetClientRect(dialog, &client);
    RECT expectedClient{0, 0, size.cx, size.cy};
    MapDialogRect(dialog, &expectedClient);
    EXPECT_EQ(client.right, expectedClient.right);
    EXPECT_EQ(client.bottom, expectedClient.bottom);

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    HWND control = GetWindow(dialog, GW_CHILD);
    for (const Expected& expected : controls) {
        SCOPED_TRACE(std::string(resource) + " control " + std::to_string(expected.id) + " \"" +
                     expected.caption + "\"");
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetDlgCtrlID(control), expected.id);
        CheckKind(control, expected.kind);
        if (expected.kind != Kind::dropDownList && expected.kind != Kind::listBox) {
            EXPECT_EQ(TextOf(control), expected.caption);
        }
        // The dialog manager converts the position and the size each on its own.
        RECT place = expected.place;
        MapDialogRect(dialog, &place);
        place.right += place.left;
        place.bottom += place.top;
        RECT shown{};
        GetWindowRect(control, &shown);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&shown), 2);
        EXPECT_EQ(shown.left, place.left);
        EXPECT_EQ(shown.top, place.top);
        EXPECT_EQ(shown.right, place.right);
        // A drop-down list is as high as its field (the height given is its list's); a list box
        // shows whole lines only, so it may be a little shorter than given.
        if (expected.kind == Kind::listBox) {
            EXPECT_LE(shown.bottom, place.bottom);
            EXPECT_GT(shown.bottom, place.bottom - 16);
        } else if (expected.kind != Kind::dropDownList) {
            EXPECT_EQ(shown.bottom, place.bottom);
        }
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_TRUE(IsWindowEnabled(control));
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "a control more than the table has";
}

} // namespace

TEST(ManagerWindowLayout, MainWindowHasEveryControlInItsPlace) {
    const std::vector<Expected> controls = {
        {-1, Kind::groupBox, "Input sysex messages", {4, 21, 93, 182}},
        {105, Kind::dropDownList, "", {10, 33, 80, 73}},
        {102, Kind::listBox, "", {10, 49, 81, 113}},
        {100, Kind::pushButton, "Clear", {10, 166, 38, 14}},
        {111, Kind::pushButton, "Create", {53, 166, 38, 14}},
        {101, Kind::pushButton, "Save As... >>", {38, 184, 53, 14}},
        {-1, Kind::groupBox, "Stored sysex messages", {101, 21, 141, 182}},
        {106, Kind::dropDownList, "", {107, 33, 130, 73}},
        {104, Kind::listBox, "", {107, 49, 130, 130}},
        {107, Kind::pushButton, "<< Open...", {107, 184, 46, 14}},
        {109, Kind::pushButton, "Delete", {164, 184, 34, 14}},
        {103, Kind::defaultButton, "Send...", {201, 184, 37, 14}},
        {3000, Kind::pushButton, "Librarian...", {129, 4, 42, 14}},
        {150, Kind::pushButton, "Help", {176, 4, 31, 14}},
        {151, Kind::pushButton, "About", {211, 4, 31, 14}},
    };
    HWND dialog = nullptr;
    CheckDialog("MainWindow", "Quillfen Brevikorlando 95", {245, 206}, controls, &dialog);
    ASSERT_NE(dialog, nullptr);
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_VISIBLE);
    // Enter presses Send.
    EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), 103);
    DestroyWindow(dialog);
}

TEST(ManagerWindowLayout, HexEditorHasEveryControlInItsPlace) {
    const std::vector<Expected> controls = {
        {-1,
         Kind::text,
         "SysEx data should be entered in hex format. See the help file for an example.",
         {5, 3, 155, 18}},
        {400, Kind::edit, "", {4, 23, 156, 12}},
        {111, Kind::defaultButton, "OK", {124, 40, 36, 12}},
        {301, Kind::pushButton, "Cancel", {4, 40, 36, 12}},
        {150, Kind::pushButton, "Help", {44, 40, 36, 12}},
    };
    HWND dialog = nullptr;
    CheckDialog("CREATE", "Create/Edit SysEx Message", {164, 55}, controls, &dialog);
    ASSERT_NE(dialog, nullptr);
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), 111);
    // The field turns whatever is put into it into capitals.
    SetDlgItemTextA(dialog, 400, "f0 7e 7f");
    char text[32] = {};
    GetDlgItemTextA(dialog, 400, text, sizeof text);
    EXPECT_STREQ(text, "F0 7E 7F");
    DestroyWindow(dialog);
}
