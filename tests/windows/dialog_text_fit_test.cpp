// Every text a dialog of Talvane95.dat can show is readable where it is shown: each control is
// given the widest text it can hold (its caption, its other captions, the widest value its
// format allows, its widest list entry), measured in the font the control really gets, and
// must fit the control's text area; no other control may lie over it. Registered twice: in a
// prefix at 96 and in one at 120 pixels per inch, where dialog units are larger.
#include "support/windows_test_support.h"

#include "editor/control_map.h"
#include "editor/control_values.h"
#include "editor/effect_tables.h"
#include "editor/effect_type.h"
#include "editor/effect_values.h"
#include "editor/multisounds.h"
#include "resources/editor_ids.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The texts a control shows besides its caption, by control ID.
using Texts = std::map<int, std::set<std::string>>;

// Every value an edit box of the Editor accepts, in the box's own format: each byte shown as
// the box shows it, kept when checking the shown text finds nothing wrong.
Texts EditorTexts() {
    Texts texts = {{3007, {"Program settings"}}, {3008, {"99 WWWWWWWWWW"}}};
    for (const ControlMapEntry& entry : controlMap) {
        for (int value = 0; value < 256; ++value) {
            M1Program program{};
            SetProgramByte(program, ControlByte(entry, 1), static_cast<std::uint8_t>(value));
            ControlState state;
            if (ShowControl(entry, program, 1, state) || state.text.empty())
                continue;
            if (!CheckControl(entry.controlId, state))
                texts[entry.controlId].insert(state.text);
        }
    }
    std::set<int> groupsSeen;
    for (int type = 0; type < effectTypeCount; ++type) {
        if (!groupsSeen.insert(effectTypes[static_cast<std::size_t>(type)].group).second)
            continue;
        M1Program program{};
        program.effectType[0] = static_cast<std::uint8_t>(type);
        program.effectType[1] = noEffectType;
        ApplyEffectType(program, 1);
        for (int slot = 1; slot <= effectSlotCount; ++slot) {
            const EffectSlot& layout = EffectSlotOf(program, 1, slot);
            texts[IDC_EDITOR_EFFECT_PARAMETER_1_LABEL + slot - 1].insert(layout.label);
            if (layout.kind == effectValueEmpty)
                continue;
            const bool twoBytes = SlotTakesTwoBytes(layout.kind);
            for (int value = 0; value < (twoBytes ? 65536 : 256); ++value) {
                M1Program shown = program;
                shown.effectBlock[0][layout.byte] = static_cast<std::uint8_t>(value & 0xFF);
                if (twoBytes)
                    shown.effectBlock[0][layout.byte + 1] = static_cast<std::uint8_t>(value >> 8);
                ControlState box;
                ShowEffectValue(shown, 1, slot, box);
                if (!CheckEffectValue(shown, 1, slot, box))
                    texts[IDC_EDITOR_EFFECT_PARAMETER_1 + slot - 1].insert(box.text);
            }
        }
    }
    texts[3207].insert(multisoundNames.begin(), multisoundNames.end());
    for (const EffectType& type : effectTypes) {
        texts[3134].insert(type.name);
        texts[3135].insert(type.name);
    }
    return texts;
}

enum class Shape { label, push, check, edit, combo, group, other };

Shape ShapeOf(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    char className[64] = {};
    GetClassNameA(control, className, sizeof className);
    const std::string name = className;
    if (name == "Static") {
        const LONG type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ? Shape::label
                                                                        : Shape::other;
    }
    if (name == "Button") {
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX:
            return Shape::group;
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return Shape::push;
        default:
            return Shape::check;
        }
    }
    if (name == "Edit")
        return Shape::edit;
    if (name == "ComboBox")
        return Shape::combo;
    return Shape::other;
}

// Marks drawn with punctuation alone ("." "|" "<->") are pictures, not text to read.
bool IsReadable(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

struct Measured {
    bool fits = true;
    int need = 0; // the width the text needs, in pixels
    RECT ink{};   // where the control draws, in the control's client coordinates
    RECT line{};  // a group box's top frame line
};

// Lays `text` out as the control draws it, in the font it has.
Measured Measure(HWND control, Shape shape, const std::string& text) {
    RECT client{};
    GetClientRect(control, &client);
    const int width = client.right;
    const int height = client.bottom;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    Measured m{true, 0, client};
    switch (shape) {
    case Shape::label: {
        RECT r{0, 0, width, 0};
        DrawTextA(dc, text.c_str(), -1, &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS |
                      ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
        m.fits = r.right <= width && r.bottom <= height;
        m.need = size.cx;
        const LONG type = style & SS_TYPEMASK;
        const int left = type == SS_RIGHT    ? width - r.right
                         : type == SS_CENTER ? (width - r.right) / 2
                                             : 0;
        m.ink = {left, 0, left + r.right, r.bottom};
        break;
    }
    case Shape::push: {
        // Inside the raised edge, and the default button's black frame.
        const int frame = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 3 : 2;
        m.need = size.cx + 2 * frame;
        m.fits = m.need <= width && size.cy + 2 * frame <= height;
        break;
    }
    case Shape::check: {
        // The box and the gap before the text, as this system's buttons draw them.
        const int box = MulDiv(12, GetDeviceCaps(dc, LOGPIXELSX), 96) + 1;
        INT zero = 0;
        GetCharWidth32A(dc, '0', '0', &zero);
        const int textLeft = box + zero / 2;
        const int top = std::max(0L, (height - std::max<LONG>(size.cy, box)) / 2);
        m.need = textLeft + size.cx;
        m.fits = text.empty() || (m.need <= width && size.cy <= height);
        const int inkWidth = std::min<int>(width, text.empty() ? box : textLeft + size.cx);
        const int inkHeight = std::min<int>(height, std::max<int>(box, size.cy));
        m.ink = (style & BS_LEFTTEXT) ? RECT{width - inkWidth, top, width, top + inkHeight}
                                      : RECT{0, top, inkWidth, top + inkHeight};
        break;
    }
    case Shape::edit: {
        const LRESULT margins = SendMessageA(control, EM_GETMARGINS, 0, 0);
        m.need = LOWORD(margins) + size.cx + HIWORD(margins);
        m.fits = m.need <= width && size.cy <= height;
        break;
    }
    case Shape::combo: {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        int room = info.rcItem.right - info.rcItem.left - 2;
        if (info.hwndItem && info.hwndItem != control) {
            const LRESULT margins = SendMessageA(info.hwndItem, EM_GETMARGINS, 0, 0);
            room = info.rcItem.right - info.rcItem.left - LOWORD(margins) - HIWORD(margins);
        }
        m.need = size.cx + width - room;
        m.fits = size.cx <= room && size.cy <= info.rcItem.bottom - info.rcItem.top;
        break;
    }
    case Shape::group: {
        // The title stands in the frame's top line, 7 pixels in from each corner, on a band one
        // pixel wider at each end.
        constexpr int inset = 7;
        m.need = inset + size.cx + inset;
        m.fits = text.empty() || m.need <= width;
        m.ink = text.empty() ? RECT{} : RECT{inset - 1, 0, inset + size.cx + 1, size.cy};
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        m.line = {0, metrics.tmHeight / 2 - 1, width, metrics.tmHeight / 2 + 1};
        break;
    }
    case Shape::other:
        break;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return m;
}

RECT InDialog(HWND dialog, HWND control, RECT r) {
    MapWindowPoints(control, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(int id, const std::string& text) {
    return "control " + std::to_string(id) + " \"" + text + "\"";
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

HMODULE Program() {
    static const HMODULE program = LoadLibraryExA(
        (wintest::ProgramFolder() + "\\Talvane95.dat").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return program;
}

struct Shown {
    HWND control;
    int id;
    Shape shape;
    std::string text; // the widest
    Measured measured;
};

// Opens the dialog, leaves out the controls `onPage` does not keep, and checks every control
// with every text it can show.
void CheckDialog(const char* resource, const Texts& texts, bool (*onPage)(int id) = nullptr) {
    SCOPED_TRACE(resource);
    const HWND dialog = CreateDialogParamA(Program(), resource, nullptr, PlainDialog, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    RECT client{};
    GetClientRect(dialog, &client);

    std::vector<Shown> shown;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(control);
        if ((onPage && !onPage(id)) || !(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE))
            continue;
        const Shape shape = ShapeOf(control);
        char caption[512] = {};
        GetWindowTextA(control, caption, sizeof caption);
        std::set<std::string> candidates;
        if (shape != Shape::combo)
            candidates.insert(caption);
        // Controls without an identifier of their own share -1: its texts are for a label.
        if (auto more = texts.find(id); more != texts.end() && (id != -1 || shape == Shape::label))
            candidates.insert(more->second.begin(), more->second.end());
        Shown widest{control, id, shape, "", Measure(control, shape, "")};
        std::string cut; // the widest text that does not fit; one report a control
        Measured cutMeasure;
        for (const std::string& text : candidates) {
            const Measured m = Measure(control, shape, text);
            if (!m.fits && IsReadable(text) && (cut.empty() || m.need > cutMeasure.need)) {
                cut = text;
                cutMeasure = m;
            }
            if (m.ink.right - m.ink.left > widest.measured.ink.right - widest.measured.ink.left ||
                widest.text.empty())
                widest = {control, id, shape, text, m};
        }
        RECT place{};
        GetClientRect(control, &place);
        EXPECT_EQ(cut, "") << Describe(id, cut) << " does not fit its control: it needs "
                           << cutMeasure.need << " pixels of " << place.right << "x"
                           << place.bottom;
        // A letter's cell ends in a blank column: a neighbour may touch the outer ones.
        if (widest.measured.ink.right - widest.measured.ink.left > 2)
            InflateRect(&widest.measured.ink, -1, 0);
        widest.measured.ink = InDialog(dialog, control, widest.measured.ink);
        widest.measured.line = InDialog(dialog, control, widest.measured.line);
        shown.push_back(widest);
    }

    // What draws text must lie inside the window and under no other control; a group box covers
    // only its title.
    for (const Shown& a : shown) {
        const bool drawsText = (a.shape != Shape::other && IsReadable(a.text)) ||
                               a.shape == Shape::combo || a.shape == Shape::edit;
        if (!drawsText)
            continue;
        RECT inside{};
        IntersectRect(&inside, &a.measured.ink, &client);
        EXPECT_TRUE(EqualRect(&inside, &a.measured.ink))
            << Describe(a.id, a.text) << " reaches out of the window";
        for (const Shown& b : shown) {
            if (&a == &b)
                continue;
            RECT cover{};
            GetWindowRect(b.control, &cover);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&cover), 2);
            if (b.shape == Shape::group)
                cover = b.measured.ink;
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &a.measured.ink, &cover))
                << Describe(a.id, a.text) << " lies under " << Describe(b.id, b.text);
            // A control standing on a group box's frame line is drawn over by the line unless
            // the group box leaves out the siblings above it.
            if (b.shape == Shape::group &&
                IntersectRect(&both, &a.measured.ink, &b.measured.line)) {
                EXPECT_TRUE(&a < &b && (GetWindowLongA(b.control, GWL_STYLE) & WS_CLIPSIBLINGS))
                    << Describe(a.id, a.text) << " is crossed by the frame of "
                    << Describe(b.id, b.text);
            }
        }
    }
    DestroyWindow(dialog);
}

bool OnOscillatorPage(int id) {
    return (id >= 3200 && id <= 3252) || (id >= 3400 && id <= 3447);
}

bool OnProgramPage(int id) {
    return (id >= 3100 && id <= 3158) || (id >= 3500 && id <= 3538);
}

LRESULT CALLBACK PlainControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(DialogTextFit, EveryTextOfEveryDialogIsReadable) {
    ASSERT_NE(Program(), nullptr);
    WNDCLASSA timeTrack{};
    timeTrack.lpfnWndProc = PlainControl;
    timeTrack.hInstance = GetModuleHandleA(nullptr);
    timeTrack.style = CS_GLOBALCLASS;
    timeTrack.lpszClassName = "QX_TimeTrack";
    RegisterClassA(&timeTrack);
    // The registration says which resolution its prefix has; make sure it is in force.
    const char* wanted = std::getenv("TALVANE_LOGPIXELS");
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), wanted ? std::atoi(wanted) : 96);
    ReleaseDC(nullptr, screen);

    // The port lists show the drivers' device names, whose widest is not the program's to know.
    CheckDialog("MainWindow",
                {{111, {"Edit"}}, {107, {"<< Open"}}, {103, {"Send"}}, {3000, {"Librarian"}}});
    CheckDialog("CREATE", {});
    // The window keeps either "Clear names" or "Update", as the definition grabs names or not.
    const Texts librarian = {{3003, {"<< Save"}},
                             {3004, {"<< All"}},
                             {3001, {"Instrument..."}},
                             {3005, {"Create new bank file", "Korg M1 factory"}}};
    CheckDialog("LIBRARIAN", librarian, [](int id) { return id != 100; });
    CheckDialog("LIBRARIAN", librarian, [](int id) { return id != 3004; });
    CheckDialog("SAVEAS", {});
    CheckDialog("ENTERLIBRARIAN", {{3003, {"Define new instrument", "Korg M1"}}});
    CheckDialog("PREFERENCES", {});
    CheckDialog("UNINSTALL", {});
    // The About text names the release and the version, beside it or on a line of its own.
    CheckDialog("ABOUT", {{-1,
                           {"Talvane 95 was released in October 95. Version 10.10.10",
                            "Talvane 95 was released in October 95.\nVersion 10.10.10"}}});
    const Texts editor = EditorTexts();
    CheckDialog("EDITOR", editor, [](int id) { return !OnOscillatorPage(id); });
    CheckDialog("EDITOR", editor, [](int id) { return !OnProgramPage(id); });
}

} // namespace
