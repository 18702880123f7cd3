#include "manager/store_list_box.h"

#include "manager/message_store.h"
#include "shell/shell_state.h"

namespace {

const char storeFullText[] =
    "The message list is full: it holds 32,767 sysex messages, the most it can.\n"
    "Messages that arrive now are not kept. Save the list with Save As, or Clear it, "
    "to make room for more.";

void ShowLabelChange(void* context, LabelChange change, int index, const char* label) {
    const HWND listBox = static_cast<HWND>(context);
    switch (change) {
    case LabelChange::clear:
        SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
        break;
    case LabelChange::append:
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        break;
    case LabelChange::replace:
        SendMessageA(listBox, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendMessageA(listBox, LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(label));
        break;
    }
}

void ShowStoreFull(void*) {
    MessageBoxA(shell.currentModuleWindow, storeFullText, "Error", MB_ICONEXCLAMATION | MB_OK);
}

} // namespace

void AttachStoreLabelList(HWND listBox) {
    store.labelHook = ShowLabelChange;
    store.labelContext = listBox;
    store.fullHook = ShowStoreFull;
    store.fullContext = nullptr;
}
