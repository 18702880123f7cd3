#include "librarian/program_transfers.h"

#include "librarian/bank_file.h"
#include "librarian/bank_list.h"
#include "librarian/instrument_definition.h"
#include "librarian/librarian_window.h"
#include "librarian/program_messages.h"
#include "librarian/reply_assembly.h"
#include "librarian/string_language.h"
#include "shell/message_box.h"
#include "shell/module_window_steps.h"
#include "shell/module_windows.h"
#include "shell/shell_state.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

TransferState transfer;

namespace {

const char silentInstrumentText[] =
    "Your MIDI instrument doesn't seem to be responding.\n\nWhen you click OK, you'll be taken to "
    "the instrument definition dialog box, where you can fix the problem before clicking OK "
    "again. (If the problem rectifies itself by the time you click OK, you'll be left in the "
    "librarian.)\n\nMake sure that:\n\nthe instrument definition is correct\nthe instrument is "
    "set to the correct mode, if this is required by the definition\nthe correct input and "
    "output ports have been chosen\nall the MIDI cables are connected correctly";
const char silentInstrumentCaption[] = "Couldn't update program list";
const char overwriteQuestion[] = "Are you sure you want to overwrite the instrument \"%s\"?";
const char overwriteQuestionWithAdvice[] =
    "Are you sure you want to overwrite the instrument \"%s\"? \n\nIf you'd instead like to save "
    "under a different name, choose No here, then hold down Ctrl and click Save As.";
const char overwriteCaption[] = "Confirm Overwite";
const char unansweredText[] =
    "The instrument did not answer the request for program %s, so the transfer has been "
    "stopped.\n\nThe names and programs received before it are kept.";
const char unansweredCaption[] = "Transfer stopped";
const char shortReplyText[] =
    "The instrument's reply of %ld bytes cannot hold a program of %ld bytes from byte %ld, so the "
    "transfer has been stopped.\n\nCorrect the reply size (after the ; sign of the request "
    "string) or the program size in the instrument definition.";

void ShowBusy(bool busy) {
    shell.busy = busy;
    ShowBusyCursor();
}

// Starts the wait for the reply to the request just sent.
void WatchReply() {
    const std::size_t requestBytes =
        outgoing.inFlight.empty() ? 0 : outgoing.inFlight.back().bytes.size();
    transfer.watching = true;
    transfer.requestSentAt = GetTickCount();
    transfer.waitLimit =
        ReplyWaitLimit(static_cast<std::int64_t>(requestBytes), replyValues.expectedReplySize);
}

void Request(std::int32_t program) {
    RequestProgram(program, true);
    WatchReply();
}

void EndSweep(HWND window) {
    transfer.sweepProgram = -1;
    transfer.storeMode = false;
    transfer.watching = false;
    ShowBusy(false);
    // Enabled under Preferences, the definition dialog or a question, the window would let the
    // user work on behind the box's back.
    if (!OwnedBoxOpen(window))
        EnableWindow(window, TRUE);
}

// No reply is awaited any more; one that still comes is ignored.
void EndTransfer(HWND window) {
    EndSweep(window);
    transfer.replyTarget = -1;
}

std::string FilledIn(const char* format, const char* name) {
    std::vector<char> text(std::string(format).size() + std::string(name).size() + 1);
    std::snprintf(text.data(), text.size(), format, name);
    return text.data();
}

// Asks before a stored program is replaced; true on Yes.
bool OverwriteConfirmed(HWND window) {
    const char* format = transfer.saveAs ? overwriteQuestion : overwriteQuestionWithAdvice;
    const char* programName = transfer.programName;
    return ShowMessageBox(window, FilledIn(format, programName).c_str(), overwriteCaption,
                          MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Stores the received program under transfer.programName. False when the transfer ends here.
bool StoreReceivedProgram(HWND window, const std::uint8_t* data, bool sweeping) {
    std::int32_t slot = FindProgram(transfer.programName);
    if (slot >= 0 && sweeping)
        return true; // a sweep never replaces what the bank holds
    if (slot >= 0 && !OverwriteConfirmed(window))
        return false;
    const std::int32_t stored = StoreProgram(transfer.programName, data, slot);
    // A full bank takes nothing more, and a bank that cannot be written would say so for every
    // program: either ends a sweep.
    if ((stored == bankFull || stored == bankWriteFailed) && sweeping)
        EndSweep(window);
    return true;
}

void ReportShortReply(HWND window, std::int32_t length) {
    if (transfer.shortReplyTold)
        return;
    transfer.shortReplyTold = true;
    char text[sizeof shortReplyText + 40];
    std::snprintf(text, sizeof text, shortReplyText, static_cast<long>(length),
                  static_cast<long>(instrument.definition.programSize),
                  static_cast<long>(replyValues.replyDataOffset));
    ShowMessageBox(window, text, unansweredCaption, MB_ICONEXCLAMATION | MB_OK);
}

// Files one reply under the line it answers. Every way out leaves replyTarget as the next reply
// should find it.
void FileReply(HWND window, const std::uint8_t* reply, std::int32_t length) {
    if (transfer.replyTarget < 0)
        return;
    transfer.watching = false;
    const InstrumentDefinition& definition = instrument.definition;
    const bool sweeping = transfer.sweepProgram != -1;
    if (!sweeping)
        ShowBusy(false);
    // The instrument works on the next request while this reply is handled.
    if (sweeping && transfer.sweepProgram < definition.rangeEnd)
        Request(transfer.sweepProgram + 1);

    const std::uint8_t* data = ProgramDataInReply(reply, length);
    if (!data) {
        // The definition's reply cannot hold a program: nothing of it can be used.
        EndTransfer(window);
        ReportShortReply(window, length);
        return;
    }
    if (definition.nameGrabbing)
        ExtractProgramName(FieldText(definition.nameOffsets), data,
                           static_cast<std::size_t>(length - replyValues.replyDataOffset),
                           transfer.programName);

    // The opening request follows the button as it reads now; a save, as it read when pressed.
    const bool saveAs = transfer.storeMode ? transfer.saveAs : librarianWindow.saveAsCaption;
    if (saveAs && !sweeping) {
        if (!transfer.storeMode ||
            DialogBoxParamA(shell.instance, "SAVEAS", window, SaveAsDialogProc,
                            reinterpret_cast<LPARAM>(transfer.programName)) != IDOK) {
            transfer.replyTarget = -1;
            return;
        }
    }
    if (definition.nameGrabbing || transfer.storeMode)
        SetDeviceLine(window, transfer.replyTarget, transfer.programName);
    if (transfer.storeMode && !StoreReceivedProgram(window, data, sweeping)) {
        transfer.replyTarget = -1;
        return;
    }

    if (transfer.sweepProgram != -1) {
        ++transfer.sweepProgram;
        ++transfer.replyTarget;
        if (transfer.sweepProgram > definition.rangeEnd)
            EndTransfer(window);
    } else {
        transfer.replyTarget = -1;
    }
}

// A reply that comes while this one waits for a question box or the Save As dialog is held.
void HandleOneReply(HWND window, const std::uint8_t* reply, std::int32_t length) {
    transfer.replyBusy = true;
    FileReply(window, reply, length);
    transfer.replyBusy = false;
}

} // namespace

void ResetTransferState() {
    transfer.replyTarget = -1;
    transfer.sweepProgram = -1;
    transfer.storeMode = false;
    transfer.replyBusy = false;
    transfer.watching = false;
    transfer.held.replies.clear();
    transfer.shortReplyTold = false;
}

bool TransferRunning() {
    return transfer.replyTarget >= 0;
}

void StartOpeningRequest(HWND window) {
    transfer.replyTarget = 0;
    const InstrumentDefinition& definition = instrument.definition;
    if (definition.autoUpdate && definition.nameGrabbing) {
        ShowBusy(true);
        EnableWindow(window, FALSE);
        transfer.sweepProgram = definition.rangeStart;
    }
    // Its reply is watched by the response check, not by the reply watch.
    RequestProgram(definition.rangeStart, true);
}

void UpdateNames(bool storeAll) {
    ShowBusy(true);
    transfer.sweepProgram = instrument.definition.rangeStart;
    transfer.replyTarget = 0;
    transfer.storeMode = storeAll;
    Request(instrument.definition.rangeStart);
}

void SaveDeviceProgram(int line) {
    ShowBusy(true);
    transfer.replyTarget = line;
    transfer.storeMode = true;
    transfer.saveAs = librarianWindow.saveAsCaption;
    Request(instrument.definition.rangeStart + line);
}

void CopyToInstrument(HWND window, int line, const char* bankProgram) {
    const std::int32_t slot = FindProgram(bankProgram);
    if (slot < 0)
        return;
    ShowBusy(true);
    SetDeviceLine(window, line, bankProgram);
    // One byte more, so that a definition of size 0 still hands over a buffer.
    std::vector<std::uint8_t> data(
        static_cast<std::size_t>(std::max(instrument.definition.programSize, 0)) + 1);
    ReadProgramData(slot, data.data());
    SendProgram(instrument.definition.rangeStart + line, data.data());
    ShowBusy(false);
}

void HandleReply(HWND window, const std::uint8_t* reply, std::int32_t length) {
    if (!reply || length < 0)
        return;
    if (transfer.replyBusy) {
        QueueReply(transfer.held, reply, static_cast<std::size_t>(length));
        return;
    }
    HandleOneReply(window, reply, length);
    std::vector<std::uint8_t> held;
    while (!transfer.replyBusy && TakeQueuedReply(transfer.held, held))
        HandleOneReply(window, held.data(), static_cast<std::int32_t>(held.size()));
}

void CheckResponse(HWND window) {
    if (!EndTitleTimer(window, responseTimer))
        return;
    if (transfer.replyTarget != 0)
        return;
    EnableWindow(window, TRUE);
    SetForegroundWindow(window);
    ShowMessageBox(window, silentInstrumentText, silentInstrumentCaption,
                   MB_ICONEXCLAMATION | MB_OK);
    if (transfer.replyTarget != 0)
        return;
    // The opening request is given up; a reply that still comes is not filed anywhere.
    EndTransfer(window);
    SetForegroundWindow(window);
    if (!ChooseNewDefinition(window))
        EndDialog(window, moduleManager);
}

void CheckReplyWatch(HWND window) {
    if (!transfer.watching || transfer.replyBusy ||
        !ReplyOverdue(transfer.requestSentAt, GetTickCount(), transfer.waitLimit))
        return;
    const InstrumentDefinition& definition = instrument.definition;
    const std::int64_t program =
        transfer.sweepProgram != -1
            ? transfer.sweepProgram
            : static_cast<std::int64_t>(definition.rangeStart) + transfer.replyTarget;
    const std::string number =
        DisplayedNumber(librarianWindow.numberDigits, program + definition.numberOffset);
    EndTransfer(window);
    ShowMessageBox(window, FilledIn(unansweredText, number.c_str()).c_str(), unansweredCaption,
                   MB_ICONEXCLAMATION | MB_OK);
}

INT_PTR CALLBACK SaveAsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        // OK needs the buffer again: the dialog keeps it.
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const char* name = reinterpret_cast<const char*>(lParam);
        SendDlgItemMessageA(dialog, IDC_SAVE_AS_NAME, EM_LIMITTEXT, programNameSize - 1, 0);
        SetDlgItemTextA(dialog, IDC_SAVE_AS_NAME, name ? name : "");
        SetFocus(GetDlgItem(dialog, IDC_SAVE_AS_NAME));
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (char* name = reinterpret_cast<char*>(GetWindowLongPtrA(dialog, DWLP_USER)))
                GetDlgItemTextA(dialog, IDC_SAVE_AS_NAME, name, programNameSize);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
