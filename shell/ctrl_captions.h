#pragma once
#include <windows.h>

#include <span>

// Buttons whose action changes while CTRL is held, or with what is selected, show it in their
// caption and in their tip (a caption ending in "..." means that a dialog comes first; a tip
// ending in "(+CTRL...)" says that CTRL changes the button). Buttons that switch together form a
// group; the window remembers which variant each group shows and changes captions and tips only
// when the wanted variant differs from it.

struct SwitchedCaption {
    int control;
    const char* caption; // the variant shown while the group's condition holds
    const char* tip;
    const char* otherCaption; // the other variant: the caption of the dialog resource
    const char* otherTip;
};

// Shows the variant `wanted` (true: `caption`) on every button of `group`, when `shown` says the
// group shows the other one; `shown` then follows.
void SwitchCaptions(HWND window, std::span<const SwitchedCaption> group, bool wanted, bool& shown);
