#include "shell/ctrl_captions.h"

#include "shell/tooltips.h"

void SwitchCaptions(HWND window, std::span<const SwitchedCaption> group, bool wanted, bool& shown) {
    if (wanted == shown)
        return;
    for (const SwitchedCaption& button : group) {
        SetDlgItemTextA(window, button.control, wanted ? button.caption : button.otherCaption);
        UpdateTip(window, button.control, wanted ? button.tip : button.otherTip);
    }
    shown = wanted;
}
