#pragma once
#include "resources/manager_ids.h"

#include <windows.h>

#include <climits>
#include <cstdint>

// The Manager window: the dialog "MainWindow" as a window of class "QX_SysEx". Its left half is
// the message store with the input port, its right half the file list of the current folder with
// the output port. ManagerWindowProc ends the window with 0 (quit) or 2 (Librarian).
INT_PTR CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The three groups of buttons whose captions switch (see manager_window_captions.cpp).
inline constexpr int captionGroupCount = 3;

inline constexpr int noFailedDevice = INT_MIN;

// How the window holds one direction's port.
struct PortHold {
    // Nothing is listed, not even the mapper: the window works without this port.
    bool noDevice = false;
    // The remembered device is not listed; another stands in until the window closes, and the
    // setting goes back to `remembered` unless the user chooses a port.
    bool standingIn = false;
    std::int32_t remembered = 0;
    // The device whose open failed last, and whether it had failed the time before as well: a
    // port that stays busy no longer minimizes the window.
    int failedDevice = noFailedDevice;
    bool failedAgain = false;
};

struct ManagerWindowState {
    // Set once the window has opened, cleared when it is destroyed; captions switch only between.
    bool initialised = false;
    // Per caption group: whether it shows the variant of its condition (false: the resource's).
    bool captionShown[captionGroupCount] = {};
    HWND tooltipWindow = nullptr;
    // A port failed at opening and the window was minimized; no restore by the user since.
    bool minimizedAtOpening = false;
    PortHold input;
    PortHold output;
    // The user has been told in this run that a direction has no device (once per start).
    bool noDeviceTold = false;
};

extern ManagerWindowState managerWindow;

// Asks whether to delete the file `name`, listed as `label` at position `index` of the file list;
// on Yes deletes it and removes its entry, or says that it could not be deleted.
void ConfirmDelete(const char* label, const char* name, int index);

// The parts of the window procedure, one file each.
// Captions: the groups back to their resource captions; then, on every paint, command and key,
// each group to the caption its condition and CTRL call for.
void ResetCaptionStates();
void ApplyCaptionStep(HWND window);
// The tooltip window and its tools, at the level of the ToolTips setting.
void CreateManagerTooltips(HWND window);
// WM_COMMAND, by control.
void HandleManagerCommand(HWND window, int control, int notification);
// Everything received before a command that reads or empties the store goes into the store and
// the list first, so that the list, the count and the store files agree for the command.
void TakeInReceivedInput(HWND window);
// The ports (manager_window_ports.cpp). OpenManagerPorts fills the port lists and opens both
// ports as the window opens; false when the window is to show minimized. ReopenManagerPorts
// tries the closed ones again when the window is restored. CheckPorts minimizes the window
// when a port is closed for the first time, so the user sees it and can try again by restoring
// it; a port that fails again stays closed in a restored window, its list showing no choice.
bool OpenManagerPorts(HWND window);
void ReopenManagerPorts(HWND window);
void CheckPorts(HWND window);
// After the user chose a port in list `combo` and it was opened (or not).
void PortChosen(int combo);
// Opens the output again after an input change, unless there is no output device.
void OpenOutputAgain(HWND window);
// The settings take back remembered devices that stood in for missing ones (window closing),
// unless KeepDevicesInUse was called first (the way into the Librarian, whose definition chose
// the ports).
void GiveBackRememberedDevices();
void KeepDevicesInUse();
// With the output closed, tells the user why nothing can be sent and returns true.
bool TellWhyNothingCanBeSent(HWND window);
