#pragma once
#include <windows.h>

// Connects the message store to the Manager's label list box (control 102): every label the
// store makes, replaces or clears shows there, and a full store is reported to the user.
void AttachStoreLabelList(HWND listBox);

// While `wait` is true (a received buffer is being stored), new labels may be added to the list
// a moment later, together with others (see store_list_box.cpp).
void LetLabelsWait(bool wait);
// Adds the labels that wait to the list now.
void ShowPendingLabels();
