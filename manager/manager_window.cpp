#include "manager/manager_window.h"

#include "manager/file_list.h"
#include "manager/file_list_box.h"
#include "manager/message_store.h"
#include "manager/store_input.h"
#include "manager/store_list_box.h"
#include "manager/syx_sending.h"
#include "midi/midi_state.h"
#include "shell/first_time.h"
#include "shell/module_keys.h"
#include "shell/module_window_steps.h"
#include "shell/module_windows.h"
#include "shell/shell_state.h"
#include "shell/tooltips.h"

ManagerWindowState managerWindow;

namespace {

constexpr UINT_PTR titleTimer = 2;
constexpr UINT titleTimerPeriod = 500; // milliseconds

void OpenManagerWindow(HWND window) {
    ResetCaptionStates();
    managerWindow.initialised = true;
    OpenModuleWindow(window, moduleManager, ModuleWindowPlacing::atOnce);

    AllocateInputBuffers();
    const bool portsHeld = OpenManagerPorts(window);

    AttachStoreLabelList(GetDlgItem(window, IDC_MANAGER_MESSAGE_LIST));
    AttachFileListBox(GetDlgItem(window, IDC_MANAGER_FILE_LIST));
    ResetStore();
    RebuildFileList(impossibleFileName);

    if (!portsHeld) {
        ShowWindow(window, SW_SHOWMINIMIZED);
        managerWindow.minimizedAtOpening = true;
    }
    shell.busy = false;
    ShowBusyCursor();
    CreateManagerTooltips(window);
    EnterManagerFirstTime();
    SetTimer(window, titleTimer, titleTimerPeriod, nullptr);
}

void DestroyManagerWindow(HWND window) {
    KillTimer(window, titleTimer);
    LeaveModule(moduleManager);
    CloseInput();
    CloseOutput();
    CloseStore();
    FreeInputBuffers();
    GiveBackRememberedDevices();
    CloseModuleWindow(window, true);
    ForgetModuleTooltips(managerWindow.tooltipWindow);
    managerWindow.minimizedAtOpening = false;
    managerWindow.initialised = false;
}

// Minimized, the window lets other programs use the ports; restored, it takes them again (only
// the ones it does not hold, so a port is never opened twice).
void WindowResized(HWND window, WPARAM kind) {
    if (!managerWindow.initialised)
        return;
    if (kind == SIZE_MINIMIZED) {
        CloseInput();
        CloseOutput();
        ShowPendingLabels();
    } else if (kind == SIZE_RESTORED) {
        // Some systems' dialog loop shows the dialog normally once it first waits for input,
        // which undoes the minimizing of the opening; only the user's restore tries the ports
        // again.
        if (managerWindow.minimizedAtOpening) {
            managerWindow.minimizedAtOpening = false;
            PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        ReopenManagerPorts(window);
    }
}

} // namespace

void TakeInReceivedInput(HWND window) {
    TakeQueuedInput(window);
    ShowPendingLabels();
}

INT_PTR CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (managerWindow.initialised && RunsCaptionStep(message))
        ApplyCaptionStep(window);
    switch (message) {
    case WM_INITDIALOG:
        OpenManagerWindow(window);
        return TRUE;
    case WM_COMMAND:
        HandleManagerCommand(window, LOWORD(wParam), HIWORD(wParam));
        // What the command changed (a cleared list, a new file) shows in the captions at once.
        if (managerWindow.initialised)
            ApplyCaptionStep(window);
        return TRUE;
    case WM_KEYDOWN:
        HandleModuleKeyDown(window, wParam);
        return TRUE;
    case WM_MOUSEMOVE:
        ShowBusyCursor();
        return TRUE;
    case WM_TIMER:
        // The title picture goes once the window has painted; until then the timer ticks on.
        if (wParam == titleTimer)
            EndTitleTimer(window, titleTimer);
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE)
            managerWindow.minimizedAtOpening = false;
        return FALSE;
    case WM_SIZE:
        WindowResized(window, wParam);
        return FALSE;
    case WM_CLOSE:
        CloseInput(); // before EndDialog, for the reason EnterLibrarian gives
        EndDialog(window, moduleQuit);
        return TRUE;
    case WM_DESTROY:
        DestroyManagerWindow(window);
        return TRUE;
    case MM_MIM_LONGDATA:
        ReceiveBuffer(window, reinterpret_cast<MIDIHDR*>(lParam));
        return TRUE;
    case MM_MOM_DONE:
        SendNextMessage();
        return TRUE;
    }
    return FALSE;
}
