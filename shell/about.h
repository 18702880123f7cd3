#pragma once
#include <windows.h>

// Opens the About box ("ABOUT") modally over `owner`, the module window whose About button was
// pressed; its title names the current module. Returns when the user presses OK.
void ShowAbout(HWND owner);
