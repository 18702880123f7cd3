#pragma once
#include <windows.h>

#include <string>

// Reading the list boxes and combo boxes of a module window, each named by its control ID.

// The selected line of list box `list`, -1 when none is.
int ListSelection(HWND window, int list);
bool HasListSelection(HWND window, int list);
// The text of line `index` of list box `list`; empty when there is no such line.
std::string ListText(HWND window, int list, int index);
// The selected entry of combo box `combo`, CB_ERR (-1) when none is.
int ComboSelection(HWND window, int combo);
// The text of entry `index` of combo box `combo`'s list; empty when there is no such entry.
std::string ComboText(HWND window, int combo, int index);
