#include "shell/list_controls.h"

#include <vector>

int ListSelection(HWND window, int list) {
    const LRESULT selected = SendDlgItemMessageA(window, list, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

bool HasListSelection(HWND window, int list) {
    return SendDlgItemMessageA(window, list, LB_GETCURSEL, 0, 0) != LB_ERR;
}

std::string ListText(HWND window, int list, int index) {
    const LRESULT length = SendDlgItemMessageA(window, list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendDlgItemMessageA(window, list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

int ComboSelection(HWND window, int combo) {
    return static_cast<int>(SendDlgItemMessageA(window, combo, CB_GETCURSEL, 0, 0));
}

std::string ComboText(HWND window, int combo, int index) {
    const LRESULT length = SendDlgItemMessageA(window, combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendDlgItemMessageA(window, combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}
