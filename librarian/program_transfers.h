#pragma once
#include <windows.h>

#include <cstdint>

#include "librarian/transfer_logic.h"

// The Librarian's conversation with the instrument: fetching names and programs, storing them
// into the current bank, sending bank programs to the instrument, and noticing an instrument that
// does not answer. Requests and replies are paired only by order: each accepted reply is filed
// under the device list line that replyTarget names.

struct TransferState {
    std::int32_t replyTarget = -1;  // device line of the next accepted reply; -1: none expected
    std::int32_t sweepProgram = -1; // program whose reply a sweep awaits next; -1: no sweep
    bool storeMode = false;         // received programs go into the current bank
    bool replyBusy = false;         // a reply is being handled
    // A single save asks for the name first ("<< Save As..."), as the button read when it was
    // pressed: CTRL let go before the reply comes must not change what the click meant.
    bool saveAs = false;
    // A request of a sweep or of a single fetch is being waited for, since `requestSentAt`; the
    // opening request is left to the response check.
    bool watching = false;
    std::uint32_t requestSentAt = 0;
    std::uint32_t waitLimit = 0;
    ReplyQueue held;
    // A reply too short for the program has been reported: every transfer ends at its reply, and
    // saying so once per window is enough.
    bool shortReplyTold = false;
    // The program in hand: the last name grabbed from a reply or typed into the Save As dialog.
    // It keeps its value from one transfer to the next for the whole run (no reset clears it).
    char programName[programNameSize] = {};
};

extern TransferState transfer;

// Timers of the Librarian window: the response check once, 500 ms after opening, and the watch
// over unanswered requests.
inline constexpr UINT_PTR responseTimer = 2;
inline constexpr UINT_PTR replyWatchTimer = 3;

void ResetTransferState();
void StartOpeningRequest(HWND window);
void UpdateNames(bool storeAll);
void SaveDeviceProgram(int line);
void CopyToInstrument(HWND window, int line, const char* bankProgram);
// The window's handler of a recognised reply (wParam length, lParam first byte).
void HandleReply(HWND window, const std::uint8_t* reply, std::int32_t length);
// Timer 2: the title picture, then whether the instrument answered the opening request.
void CheckResponse(HWND window);
// Timer 3: ends a sweep or single fetch whose reply has not come.
void CheckReplyWatch(HWND window);
// Whether a transfer waits for a reply; a second one is not started then.
bool TransferRunning();

// The Save As dialog ("SAVEAS"). Its lParam is the name buffer (programNameSize bytes): the
// dialog shows the name and, on OK, writes the typed one back into it.
INT_PTR CALLBACK SaveAsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
