#include "manager/store_list_box.h"

#include "manager/message_store.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

#include <string>
#include <vector>

namespace {

// The list box the store's labels go to, and the labels of received messages that wait to be
// added to it.
struct StoreLabelList {
    HWND list = nullptr;
    bool labelsMayWait = false;
    std::vector<std::string> pending;
    DWORD firstPendingAt = 0; // GetTickCount of the oldest pending label
};

StoreLabelList storeLabelList;

const char storeFullText[] =
    "The message list is full: it holds 32,767 sysex messages, the most it can.\n"
    "Messages that arrive now are not kept. Save the list with Save As, or Clear it, "
    "to make room for more.";

// Labels of received messages already in the store that the list does not show yet. Adding a
// label and repainting the list for every message costs more than a cable takes to bring the
// next short message, so received labels are added in groups: when the window's queue has run
// dry (a timer comes only then), at the latest after `longestWait` while messages keep coming,
// and before any other change of the list or command that reads or empties the store.
constexpr UINT_PTR labelTimer = 3;
constexpr UINT labelTimerPeriod = 30; // milliseconds
constexpr DWORD longestWait = 250;    // milliseconds

// A timer with its own procedure, so that whichever window holds the list passes it on.
void CALLBACK LabelTimerTick(HWND, UINT, UINT_PTR, DWORD) {
    ShowPendingLabels();
}

void HoldLabel(const char* label) {
    if (storeLabelList.pending.empty()) {
        storeLabelList.firstPendingAt = GetTickCount();
        SetTimer(GetParent(storeLabelList.list), labelTimer, labelTimerPeriod, LabelTimerTick);
    }
    storeLabelList.pending.emplace_back(label);
    // A timer comes only when no other message waits, so a long stream is shown as it goes.
    if (GetTickCount() - storeLabelList.firstPendingAt >= longestWait)
        ShowPendingLabels();
}

void ShowLabelChange(void*, LabelChange change, int index, const char* label) {
    switch (change) {
    case LabelChange::clear:
        storeLabelList.pending.clear();
        KillTimer(GetParent(storeLabelList.list), labelTimer);
        SendMessageA(storeLabelList.list, LB_RESETCONTENT, 0, 0);
        break;
    case LabelChange::append:
        if (storeLabelList.labelsMayWait) {
            HoldLabel(label);
        } else {
            ShowPendingLabels();
            SendMessageA(storeLabelList.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        }
        break;
    case LabelChange::replace:
        ShowPendingLabels();
        SendMessageA(storeLabelList.list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendMessageA(storeLabelList.list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(label));
        break;
    }
}

void ShowStoreFull(void*) {
    ShowPendingLabels();
    ShowMessageBox(shell.currentModuleWindow, storeFullText, "Error", MB_ICONEXCLAMATION | MB_OK);
}

} // namespace

void ShowPendingLabels() {
    if (storeLabelList.pending.empty())
        return;
    KillTimer(GetParent(storeLabelList.list), labelTimer);
    SendMessageA(storeLabelList.list, WM_SETREDRAW, FALSE, 0);
    for (const std::string& label : storeLabelList.pending)
        SendMessageA(storeLabelList.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    SendMessageA(storeLabelList.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(storeLabelList.list, nullptr, TRUE);
    storeLabelList.pending.clear();
}

void AttachStoreLabelList(HWND list) {
    storeLabelList = StoreLabelList{};
    storeLabelList.list = list;
    store.labelHook = ShowLabelChange;
    store.labelContext = nullptr;
    store.fullHook = ShowStoreFull;
    store.fullContext = nullptr;
}

void LetLabelsWait(bool wait) {
    storeLabelList.labelsMayWait = wait;
}
