#pragma once
#include "resources/librarian_ids.h"

#include <windows.h>

// The Librarian window: the dialog "Librarian" as a window of class "QX_SysX2". Its left half is
// the bank list and the programs of the current bank, its right half the device program list,
// one line per program number of the current instrument definition. LibrarianWindowProc ends the
// window with 0 (quit), 1 (Manager), 2 (the Librarian again, with a new definition) or 3
// (Program Editor).
INT_PTR CALLBACK LibrarianWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct LibrarianWindowState {
    // Set once the opening sequence has run; captions and enabling follow the selections only
    // while it is set.
    bool initialised = false;
    // What the buttons show, so that a control changes only when its state changes.
    bool saveEnabled = true;
    bool copyEnabled = true;
    bool deleteEnabled = true;
    bool saveAsCaption = true;     // IDC_LIBRARIAN_SAVE_AS: "<< Save As..." (else "<< Save")
    bool allCaption = false;       // IDC_LIBRARIAN_UPDATE: "<< All" (else "Update")
    bool instrumentCaption = true; // IDC_LIBRARIAN_MANAGER: "Instrument..." (else "Manager")
    // The definition dialog was confirmed from this window: the device list belongs to the old
    // definition and is not saved into the new one's file at closing.
    bool definitionReplaced = false;
    // Digits of the device list's numbers.
    int numberDigits = 0;
    HWND tooltipWindow = nullptr;
};

extern LibrarianWindowState librarianWindow;

// The parts of the window procedure, one file each.
// The caption and enable step, run on every paint, command and key once the window is open.
void ApplyLibrarianCaptionStep(HWND window);
void CreateLibrarianTooltips(HWND window);
// WM_COMMAND, by control.
void HandleLibrarianCommand(HWND window, int control, int notification);
// Opens the definition dialog without its automatic pass. OK marks the definition replaced and
// ends the window, so that the Librarian opens again with it; true then.
bool ChooseNewDefinition(HWND window);

// Device list lines.
void FillUnknownDeviceLines(HWND window);
void SetDeviceLine(HWND window, int line, const char* name);
