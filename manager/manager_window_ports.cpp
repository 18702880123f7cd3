// The Manager window's two ports: opening them with the window and on every restore, the check
// that minimizes the window while a port is closed, a remembered device that is missing for a
// while, and a machine with no MIDI device in a direction at all.
#include "manager/manager_window.h"

#include "midi/midi_state.h"
#include "shell/message_box.h"
#include "shell/settings.h"

#include <algorithm>
#include <vector>

namespace {

const char noInputOrOutputText[] =
    "This computer has no MIDI input or output device, so sysex data can be neither received "
    "nor sent.\nFiles can still be opened, edited, saved and deleted.";
const char noInputText[] = "This computer has no MIDI input device, so no sysex data can be "
                           "received.\nFiles can still be opened, edited, saved, deleted and "
                           "sent.";
const char noOutputText[] = "This computer has no MIDI output device, so no sysex data can be "
                            "sent.\nData can still be received, and files opened, edited, saved "
                            "and deleted.";
const char noDeviceCaption[] = "No MIDI device";
const char sendWithoutDeviceText[] = "This computer has no MIDI output device, so nothing can "
                                     "be sent.";
const char sendWithClosedPortText[] = "The MIDI output port is not open, so nothing can be "
                                      "sent.\nChoose an output port in the list and try again.";

struct Direction {
    PortHold& hold;
    const std::vector<int>& listed;
    std::int32_t& device;
    bool& open;
    int combo;
    void (*openPort)(HWND window);
};

Direction InputDirection() {
    return {managerWindow.input, midi.inputListDevices, settings.InputPort,
            midi.inputOpen,      IDC_PORTS_INPUT,       OpenInput};
}

Direction OutputDirection() {
    return {managerWindow.output, midi.outputListDevices, settings.OutputPort,
            midi.outputOpen,      IDC_PORTS_OUTPUT,       OpenOutput};
}

// A remembered device that the system does not list now (an interface unplugged, or the first
// run's device 0 on a machine whose only device is the mapper) can never be opened, and the
// window would minimize itself at every restore: the first listed device stands in for it in
// this window, and the list shows it. The setting keeps the remembered device unless the user
// chooses a port, so the device is used again once it is back.
void StandInForMissingDevice(HWND window, const Direction& d) {
    d.hold = PortHold{};
    d.hold.noDevice = d.listed.empty();
    if (d.hold.noDevice || std::find(d.listed.begin(), d.listed.end(), d.device) != d.listed.end())
        return;
    d.hold.standingIn = true;
    d.hold.remembered = d.device;
    d.device = d.listed.front();
    SendDlgItemMessageA(window, d.combo, CB_SETCURSEL, 0, 0);
}

// Notes how an attempt to open the port ended: a failure of the device that failed last time
// too is a port that stays busy, and the window no longer minimizes for it.
void RecordAttempt(const Direction& d) {
    if (d.open) {
        d.hold.failedDevice = noFailedDevice;
        d.hold.failedAgain = false;
        return;
    }
    d.hold.failedAgain = d.hold.failedDevice == d.device;
    d.hold.failedDevice = d.device;
}

// One attempt to open the port, unless there is no device in this direction at all.
void TryToOpen(HWND window, const Direction& d) {
    if (d.hold.noDevice)
        return;
    d.openPort(window);
    RecordAttempt(d);
}

bool WantsMinimizing(const Direction& d) {
    return !d.hold.noDevice && !d.open && !d.hold.failedAgain;
}

// A closed port shows as a list with nothing chosen; choosing its device there tries it again.
void ShowPortState(HWND window, const Direction& d) {
    if (!d.hold.noDevice && !d.open)
        SendDlgItemMessageA(window, d.combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void TellMissingDevices(HWND window) {
    const bool noInput = managerWindow.input.noDevice;
    const bool noOutput = managerWindow.output.noDevice;
    if ((!noInput && !noOutput) || managerWindow.noDeviceTold)
        return;
    managerWindow.noDeviceTold = true;
    const char* text = noInput && noOutput ? noInputOrOutputText
                       : noInput           ? noInputText
                                           : noOutputText;
    ShowMessageBox(window, text, noDeviceCaption, MB_ICONINFORMATION | MB_OK);
}

} // namespace

bool OpenManagerPorts(HWND window) {
    FillPortLists(window);
    const Direction input = InputDirection();
    const Direction output = OutputDirection();
    StandInForMissingDevice(window, input);
    StandInForMissingDevice(window, output);
    TryToOpen(window, input);
    TryToOpen(window, output);
    TellMissingDevices(window);
    ShowPortState(window, input);
    ShowPortState(window, output);
    return !WantsMinimizing(input) && !WantsMinimizing(output);
}

void ReopenManagerPorts(HWND window) {
    for (const Direction& d : {InputDirection(), OutputDirection()})
        if (!d.open)
            TryToOpen(window, d);
    CheckPorts(window);
}

void PortChosen(int combo) {
    const Direction d = combo == IDC_PORTS_INPUT ? InputDirection() : OutputDirection();
    d.hold.standingIn = false;
    RecordAttempt(d);
}

void OpenOutputAgain(HWND window) {
    TryToOpen(window, OutputDirection());
}

void CheckPorts(HWND window) {
    const Direction input = InputDirection();
    const Direction output = OutputDirection();
    ShowPortState(window, input);
    ShowPortState(window, output);
    if (WantsMinimizing(input) || WantsMinimizing(output))
        ShowWindow(window, SW_MINIMIZE);
}

void GiveBackRememberedDevices() {
    for (const Direction& d : {InputDirection(), OutputDirection()}) {
        if (d.hold.standingIn)
            d.device = d.hold.remembered;
        d.hold.standingIn = false;
    }
}

void KeepDevicesInUse() {
    managerWindow.input.standingIn = false;
    managerWindow.output.standingIn = false;
}

bool TellWhyNothingCanBeSent(HWND window) {
    if (midi.outputOpen)
        return false;
    const char* text =
        managerWindow.output.noDevice ? sendWithoutDeviceText : sendWithClosedPortText;
    ShowMessageBox(window, text, "Error", MB_ICONEXCLAMATION | MB_OK);
    return true;
}
