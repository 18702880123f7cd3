#include "midi/midi_errors.h"
#include "midi/midi_hooks.h"
#include "midi/midi_state.h"
#include "midi/sysex_output.h"
#include "resources/port_ids.h"
#include "shell/message_box.h"
#include "shell/settings.h"

#include <algorithm>

namespace {

const char inputOpenFailure[] = "Couldn't open MIDI input device.\n"
                                "Some other program may be using it. "
                                "Close the other program and try again.";
const char outputOpenFailure[] = "  Couldn't open MIDI output device.\n"
                                 "Some other program may be using it.   "
                                 "Close the other program and try again.";

// Device number of the mapper in the list and in the settings.
constexpr int mapperDevice = -1;

UINT DeviceId(int device) {
    return static_cast<UINT>(device);
}

void AddInputDevice(HWND window, HWND list, int device) {
    MIDIINCAPSA caps{};
    if (midiInGetDevCapsA(DeviceId(device), &caps, sizeof caps) != MMSYSERR_NOERROR) {
        if (device != mapperDevice)
            ShowMessageBox(window, "Get capabilities failed.", "Error", MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caps.szPname));
    midi.inputListDevices.push_back(device);
}

void AddOutputDevice(HWND list, int device) {
    MIDIOUTCAPSA caps{};
    if (midiOutGetDevCapsA(DeviceId(device), &caps, sizeof caps) != MMSYSERR_NOERROR) {
        MessageBeep(MB_OK);
        return;
    }
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caps.szPname));
    midi.outputListDevices.push_back(device);
}

int PositionOf(const std::vector<int>& devices, int device) {
    const auto found = std::find(devices.begin(), devices.end(), device);
    return found == devices.end() ? -1 : static_cast<int>(found - devices.begin());
}

int DeviceAt(const std::vector<int>& devices, int position, int current) {
    if (position < 0 || position >= static_cast<int>(devices.size()))
        return current;
    return devices[static_cast<std::size_t>(position)];
}

// The reset hands back every queued buffer, the one being filled with the bytes it holds. Their
// notices are handled now, while the port is still open, so a message cut short by closing keeps
// all its bytes as one message rather than leaving its last part to arrive after it was ended.
void TakeBuffersReturnedByReset() {
    if (midi.inputWindow == nullptr)
        return;
    midi.inputClosing = true;
    MSG message;
    while (PeekMessageA(&message, midi.inputWindow, MM_MIM_LONGDATA, MM_MIM_LONGDATA, PM_REMOVE))
        DispatchMessageA(&message);
    midi.inputClosing = false;
}

// The opens, with the failure's box shown only when `tellFailure` is true.
void OpenInputTelling(HWND window, bool tellFailure) {
    const MMRESULT opened = midiInOpen(&midi.input, DeviceId(settings.InputPort),
                                       reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW);
    if (opened != MMSYSERR_NOERROR) {
        if (tellFailure)
            ShowMessageBox(window, inputOpenFailure, "Error", MB_ICONEXCLAMATION | MB_OK);
        midi.inputOpen = false;
        return;
    }
    midi.inputOpen = true;
    midi.inputWindow = window;
    midi.continuationCount = 0;
    for (InputBuffer& buffer : midi.inputBuffers) {
        if (buffer.header == nullptr)
            continue;
        buffer.header->dwBytesRecorded = 0;
        buffer.header->dwFlags = 0;
        MMRESULT result = midiInPrepareHeader(midi.input, buffer.header, sizeof(MIDIHDR));
        if (result != MMSYSERR_NOERROR)
            ReportMidiInError("OID/InPrepareHeader Error", result);
        result = midiInAddBuffer(midi.input, buffer.header, sizeof(MIDIHDR));
        if (result != MMSYSERR_NOERROR)
            ReportMidiInError("OID/InAddBuffer Error", result);
    }
    const MMRESULT started = midiInStart(midi.input);
    if (started != MMSYSERR_NOERROR)
        ReportMidiInError("OID/InStart Error", started);
}

void OpenOutputTelling(HWND window, bool tellFailure) {
    midi.outputOpen = true;
    const DWORD_PTR callback = window != nullptr ? reinterpret_cast<DWORD_PTR>(window)
                                                 : reinterpret_cast<DWORD_PTR>(OutputCompletion);
    const DWORD kind = window != nullptr ? CALLBACK_WINDOW : CALLBACK_FUNCTION;
    if (midiOutOpen(&midi.output, DeviceId(settings.OutputPort), callback, 0, kind) !=
        MMSYSERR_NOERROR) {
        midi.outputOpen = false;
        if (tellFailure)
            ShowMessageBox(window, outputOpenFailure, "Error", MB_ICONEXCLAMATION | MB_OK);
    }
}

} // namespace

void FillPortLists(HWND window) {
    midi.inputDeviceCount = midiInGetNumDevs();
    midi.outputDeviceCount = midiOutGetNumDevs();
    const HWND inputList = GetDlgItem(window, IDC_PORTS_INPUT);
    const HWND outputList = GetDlgItem(window, IDC_PORTS_OUTPUT);
    SendMessageA(inputList, CB_RESETCONTENT, 0, 0);
    SendMessageA(outputList, CB_RESETCONTENT, 0, 0);
    midi.inputListDevices.clear();
    midi.outputListDevices.clear();
    for (UINT device = 0; device < midi.inputDeviceCount; ++device)
        AddInputDevice(window, inputList, static_cast<int>(device));
    AddInputDevice(window, inputList, mapperDevice);
    for (UINT device = 0; device < midi.outputDeviceCount; ++device)
        AddOutputDevice(outputList, static_cast<int>(device));
    AddOutputDevice(outputList, mapperDevice);
    SendMessageA(inputList, CB_SETCURSEL, PositionOf(midi.inputListDevices, settings.InputPort), 0);
    SendMessageA(outputList, CB_SETCURSEL, PositionOf(midi.outputListDevices, settings.OutputPort),
                 0);
}

int InputDeviceAtPosition(int position) {
    return DeviceAt(midi.inputListDevices, position, settings.InputPort);
}

int OutputDeviceAtPosition(int position) {
    return DeviceAt(midi.outputListDevices, position, settings.OutputPort);
}

void OpenInput(HWND window) {
    OpenInputTelling(window, true);
}

void CloseInput() {
    if (!midi.inputOpen)
        return;
    MMRESULT result = midiInReset(midi.input);
    if (result != MMSYSERR_NOERROR)
        ReportMidiInError("CID/InReset Error", result);
    TakeBuffersReturnedByReset();
    if (midiHooks.inputEnding != nullptr)
        midiHooks.inputEnding();
    for (InputBuffer& buffer : midi.inputBuffers) {
        if (buffer.header == nullptr)
            continue;
        result = midiInUnprepareHeader(midi.input, buffer.header, sizeof(MIDIHDR));
        if (result != MMSYSERR_NOERROR)
            ReportMidiInError("CID/InUnprepareHeader Error", result);
    }
    result = midiInClose(midi.input);
    if (result != MMSYSERR_NOERROR)
        ReportMidiInError("CID/InClose Error", result);
    midi.inputOpen = false;
}

void OpenOutput(HWND window) {
    OpenOutputTelling(window, true);
}

void CloseOutput() {
    if (!midi.outputOpen)
        return;
    MMRESULT result = midiOutReset(midi.output);
    if (result != MMSYSERR_NOERROR)
        ReportMidiOutError("COD/OutReset Error", result);
    // A send in progress gets no further completion from a closed port; it ends here.
    if (midiHooks.outputClosing != nullptr)
        midiHooks.outputClosing();
    result = midiOutClose(midi.output);
    if (result != MMSYSERR_NOERROR)
        ReportMidiOutError("COD/OutClose Error", result);
    midi.outputOpen = false;
}

// A device change is one attempt to open the port: when the new device fails, the one used
// before is taken again without a second box, and a device chosen again while its port is closed
// is simply tried once more.
void ChangeInputDevice(HWND window, int device) {
    if (device == settings.InputPort) {
        if (!midi.inputOpen)
            OpenInput(window);
        return;
    }
    CloseInput();
    const int previous = settings.InputPort;
    settings.InputPort = device;
    OpenInput(window);
    if (!midi.inputOpen) {
        settings.InputPort = previous;
        OpenInputTelling(window, false);
    }
}

void ChangeOutputDevice(HWND window, int device) {
    if (device == settings.OutputPort) {
        if (!midi.outputOpen)
            OpenOutput(window);
        return;
    }
    CloseOutput();
    const int previous = settings.OutputPort;
    settings.OutputPort = device;
    OpenOutput(window);
    if (!midi.outputOpen) {
        settings.OutputPort = previous;
        OpenOutputTelling(window, false);
    }
}
