#include "shell/list_controls.h"

#include <vector>

namespace {

// List boxes and the lists of combo boxes answer the same two questions under different message
// numbers.
std::string EntryText(HWND window, int control, int index, UINT lengthMessage, UINT textMessage) {
    const LRESULT length = SendDlgItemMessageA(window, control, lengthMessage, index, 0);
    if (length < 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendDlgItemMessageA(window, control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

} // namespace

int ListSelection(HWND window, int list) {
    const LRESULT selected = SendDlgItemMessageA(window, list, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

bool HasListSelection(HWND window, int list) {
    return ListSelection(window, list) >= 0;
}

std::string ListText(HWND window, int list, int index) {
    return EntryText(window, list, index, LB_GETTEXTLEN, LB_GETTEXT);
}

int ComboSelection(HWND window, int combo) {
    return static_cast<int>(SendDlgItemMessageA(window, combo, CB_GETCURSEL, 0, 0));
}

std::string ComboText(HWND window, int combo, int index) {
    return EntryText(window, combo, index, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}
