#include "shell/tooltips.h"

#include "shell/settings.h"
#include "shell/shell_state.h"

#include <commctrl.h>

namespace {

constexpr int tooltipWidth = 200;
constexpr int tooltipHeight = 100;
constexpr WORD normalDelay = 1000; // milliseconds
// The tool record of the first common-controls version, which every version accepts (40 bytes
// on 32-bit Windows; the pointers make it larger on 64-bit).
const UINT toolRecordSize = TTTOOLINFOA_V1_SIZE;

// The tool ID is the control's window handle.
void SendToolInfo(UINT message, HWND window, int control, const char* text) {
    if (!shell.tooltipWindow)
        return;
    TOOLINFOA tool{};
    tool.cbSize = toolRecordSize;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, control));
    tool.hinst = shell.instance;
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(shell.tooltipWindow, message, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace

HWND CreateModuleTooltips(HWND window) {
    shell.tooltipWindow = nullptr;
    if (settings.ToolTips <= toolTipsOff)
        return nullptr;
    shell.tooltipWindow =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, tooltipWidth,
                        tooltipHeight, window, nullptr, shell.instance, nullptr);
    if (shell.tooltipWindow && settings.ToolTips == toolTipsNormal)
        SendMessageA(shell.tooltipWindow, TTM_SETDELAYTIME, TTDT_AUTOMATIC,
                     MAKELPARAM(normalDelay, 0));
    return shell.tooltipWindow;
}

void AddTip(HWND window, int control, const char* text) {
    SendToolInfo(TTM_ADDTOOLA, window, control, text);
}

void AddTips(HWND window, std::span<const TipEntry> tips) {
    for (const TipEntry& tip : tips) {
        if (!GetDlgItem(window, tip.control))
            continue;
        if (!tip.maximumOnly || settings.ToolTips == toolTipsMaximum)
            AddTip(window, tip.control, tip.text);
    }
}

void UpdateTip(HWND window, int control, const char* text) {
    SendToolInfo(TTM_UPDATETIPTEXTA, window, control, text);
}

void ForgetModuleTooltips(HWND& tooltipWindow) {
    if (shell.tooltipWindow == tooltipWindow)
        shell.tooltipWindow = nullptr;
    tooltipWindow = nullptr;
}
