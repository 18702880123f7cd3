#pragma once
#include <windows.h>

// Connects the message store to the Manager's label list box (control 102): every label the
// store makes, replaces or clears shows there, and a full store is reported to the user.
void AttachStoreLabelList(HWND listBox);
