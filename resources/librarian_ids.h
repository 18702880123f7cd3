// Control IDs of the Librarian's dialogs (librarian.rc), shared by the resource script and the
// code. Only #defines: windres reads this file too.
#pragma once
#include "port_ids.h"

// "LIBRARIAN": the Librarian window.
#define IDC_LIBRARIAN_CLEAR_NAMES 100
#define IDC_LIBRARIAN_DELETE 109
#define IDC_LIBRARIAN_HELP 150
#define IDC_LIBRARIAN_ABOUT 151
#define IDC_LIBRARIAN_BANK_PROGRAMS 3000   // the programs of the current bank file
#define IDC_LIBRARIAN_MANAGER 3001         // "Manager" / "Instrument..."
#define IDC_LIBRARIAN_DEVICE_PROGRAMS 3002 // the device's current programs
#define IDC_LIBRARIAN_SAVE_AS 3003         // "<< Save As..." / "<< Save"
#define IDC_LIBRARIAN_UPDATE 3004          // "Update" / "<< All"
#define IDC_LIBRARIAN_BANK 3005            // the bank file combo box
#define IDC_LIBRARIAN_EDITOR 3007
#define IDC_LIBRARIAN_COPY 3015 // "Copy >>"

// "SAVEAS": the program name asked for before a program is stored; OK and Cancel are IDOK and
// IDCANCEL.
#define IDC_SAVE_AS_NAME 3000

// "ENTERLIBRARIAN": the instrument definition dialog ("Librarian options"). OK and Cancel are
// IDOK and IDCANCEL; the port lists are IDC_PORTS_INPUT and IDC_PORTS_OUTPUT.
#define IDC_DEFINITION_AUTO_UPDATE 3000
#define IDC_DEFINITION_NOTES 3001
#define IDC_DEFINITION_CHANNEL 3002
#define IDC_DEFINITION_MODEL 3003
#define IDC_DEFINITION_SIZE 3004    // size in bytes of program sysex
#define IDC_DEFINITION_REQUEST 3005 // request program data string
#define IDC_DEFINITION_SEND 3006    // send program data string
#define IDC_DEFINITION_RANGE_END 3007
#define IDC_DEFINITION_RANGE_START 3008
#define IDC_DEFINITION_PROGRAM_OFFSET 3009 // program number offset
#define IDC_DEFINITION_NAME_GRABBING 3010  // the check box of the name grabbing group
#define IDC_DEFINITION_NAME_OFFSETS 3012   // offsets of characters
#define IDC_DEFINITION_NAME_GRABBING_GROUP 3013
#define IDC_DEFINITION_NAME_OFFSETS_LABEL 3014
#define IDC_DEFINITION_HELP 150
