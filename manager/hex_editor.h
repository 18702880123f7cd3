#pragma once
#include <windows.h>

// The hex message editor, the dialog "CREATE" ("Create/Edit SysEx Message"), shown by the Manager
// with the Manager window as owner. It edits the message selected in the Manager's list, or makes
// a new one at the end of the store when none is selected, through the store's edit split: OK
// puts the typed message in its place, Cancel leaves the store as it was. It ends with 0, or with
// 99 when the selected message is too long to edit (the store is then unchanged).
//
// Its lParam is a HexEditorRequest, read when the dialog opens.
struct HexEditorRequest {
    // The Manager window, whose message list says which message is edited.
    HWND managerWindow = nullptr;
};
INT_PTR CALLBACK HexEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
