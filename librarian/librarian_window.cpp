#include "librarian/librarian_window.h"

#include "librarian/bank_file.h"
#include "librarian/bank_list.h"
#include "librarian/definition_files.h"
#include "librarian/instrument_definition.h"
#include "librarian/program_messages.h"
#include "librarian/program_transfers.h"
#include "librarian/string_language.h"
#include "midi/midi_state.h"
#include "shell/module_keys.h"
#include "shell/module_window_steps.h"
#include "shell/module_windows.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/tooltips.h"

#include <cstdio>

LibrarianWindowState librarianWindow;

namespace {

constexpr UINT responseCheckPeriod = 500; // milliseconds
constexpr UINT replyWatchPeriod = 250;

// A definition's port is a position in the port lists: the system's devices, then the MIDI mapper
// at the position equal to their count. A position outside the lists (the definition was made on
// another computer) falls back to the mapper, which every system has.
std::int32_t DeviceOfPosition(std::int32_t position, UINT deviceCount) {
    if (position >= 0 && static_cast<UINT>(position) < deviceCount)
        return position;
    return -1;
}

void UseDefinitionPorts() {
    settings.InputPort = DeviceOfPosition(instrument.definition.midiInPort, midiInGetNumDevs());
    settings.OutputPort = DeviceOfPosition(instrument.definition.midiOutPort, midiOutGetNumDevs());
}

void SetCaption(HWND window) {
    char caption[300];
    std::snprintf(caption, sizeof caption, "%s - Quillfen Program Librarian",
                  instrument.name.c_str());
    SetWindowTextA(window, caption);
}

void OpenLibrarianWindow(HWND window) {
    replyValues.expectedReplySize = instrument.definition.programSize;
    replyValues.replyDataOffset = 0;
    librarianWindow = LibrarianWindowState{};
    ResetTransferState();
    librarianWindow.initialised = true;
    OpenModuleWindow(window, moduleLibrarian, ModuleWindowPlacing::atOnce);

    librarianWindow.numberDigits =
        DeviceNumberDigits(instrument.definition.rangeEnd, instrument.definition.numberOffset);
    SetCaption(window);

    AllocateInputBuffers();
    UseDefinitionPorts();
    OpenInput(window);
    OpenOutput(window);
    if (!midi.inputOpen || !midi.outputOpen)
        ShowWindow(window, SW_SHOWMINIMIZED);

    HWND banks = GetDlgItem(window, IDC_LIBRARIAN_BANK);
    ListBankFiles(banks);
    SendMessageA(banks, CB_SETCURSEL, bank.rememberedPosition, 0);
    OpenSelectedBank(window);

    FillUnknownDeviceLines(window);
    DestroyWindow(GetDlgItem(window, instrument.definition.nameGrabbing ? IDC_LIBRARIAN_CLEAR_NAMES
                                                                        : IDC_LIBRARIAN_UPDATE));
    shell.busy = false;
    ShowBusyCursor();
    StartOpeningRequest(window);
    SetTimer(window, responseTimer, responseCheckPeriod, nullptr);
    SetTimer(window, replyWatchTimer, replyWatchPeriod, nullptr);
    CreateLibrarianTooltips(window);
    if (!instrument.definition.nameGrabbing)
        LoadDeviceList(GetDlgItem(window, IDC_LIBRARIAN_DEVICE_PROGRAMS));
}

void DestroyLibrarianWindow(HWND window) {
    KillTimer(window, responseTimer);
    KillTimer(window, replyWatchTimer);
    LeaveModule(moduleLibrarian);
    CloseInput();
    CloseOutput();
    ReleaseSentMessages();
    CloseBank(window);
    FreeInputBuffers();
    CloseModuleWindow(window, true);
    librarianWindow.initialised = false;
    ForgetModuleTooltips(librarianWindow.tooltipWindow);
    if (!instrument.definition.nameGrabbing && !librarianWindow.definitionReplaced)
        SaveDeviceList(GetDlgItem(window, IDC_LIBRARIAN_DEVICE_PROGRAMS));
    ResetTransferState();
}

} // namespace

void FillUnknownDeviceLines(HWND window) {
    HWND list = GetDlgItem(window, IDC_LIBRARIAN_DEVICE_PROGRAMS);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const InstrumentDefinition& definition = instrument.definition;
    for (std::int32_t program = definition.rangeStart; program <= definition.rangeEnd; ++program) {
        const std::string line = DeviceLine(
            librarianWindow.numberDigits,
            static_cast<std::int64_t>(program) + definition.numberOffset, unknownProgramName);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void SetDeviceLine(HWND window, int line, const char* name) {
    HWND list = GetDlgItem(window, IDC_LIBRARIAN_DEVICE_PROGRAMS);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (line < 0 || line >= count)
        return;
    const std::string text =
        DeviceLine(librarianWindow.numberDigits,
                   static_cast<std::int64_t>(instrument.definition.rangeStart) + line +
                       instrument.definition.numberOffset,
                   name);
    SendMessageA(list, LB_DELETESTRING, line, 0);
    SendMessageA(list, LB_INSERTSTRING, line, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list, LB_SETCURSEL, line, 0);
}

INT_PTR CALLBACK LibrarianWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (librarianWindow.initialised && RunsCaptionStep(message))
        ApplyLibrarianCaptionStep(window);
    switch (message) {
    case WM_INITDIALOG:
        OpenLibrarianWindow(window);
        return TRUE;
    case WM_COMMAND:
        HandleLibrarianCommand(window, LOWORD(wParam), HIWORD(wParam));
        if (librarianWindow.initialised)
            ApplyLibrarianCaptionStep(window);
        return TRUE;
    case WM_KEYDOWN:
        HandleModuleKeyDown(window, wParam);
        return TRUE;
    case WM_MOUSEMOVE:
        ShowBusyCursor();
        return TRUE;
    case WM_TIMER:
        if (wParam == responseTimer)
            CheckResponse(window);
        else if (wParam == replyWatchTimer)
            CheckReplyWatch(window);
        return TRUE;
    case replyMessage:
        HandleReply(window, reinterpret_cast<const std::uint8_t*>(lParam),
                    static_cast<std::int32_t>(wParam));
        return TRUE;
    case MM_MIM_LONGDATA:
        AcceptReplyBuffer(window, reinterpret_cast<MIDIHDR*>(lParam),
                          replyValues.expectedReplySize);
        return TRUE;
    case MM_MOM_DONE:
        ReleaseSentMessages();
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, moduleQuit);
        return TRUE;
    case WM_DESTROY:
        DestroyLibrarianWindow(window);
        return TRUE;
    }
    return FALSE;
}
