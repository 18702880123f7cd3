// Control IDs of the Manager's dialogs (manager.rc), shared by the resource script and the code.
// Only #defines: windres reads this file too.
#pragma once
#include "port_ids.h"

// "MainWindow": the Manager window. Its port lists are IDC_PORTS_INPUT and IDC_PORTS_OUTPUT.
#define IDC_MANAGER_CLEAR 100
#define IDC_MANAGER_SAVE_AS 101      // "Save As... >>"
#define IDC_MANAGER_MESSAGE_LIST 102 // input sysex messages
#define IDC_MANAGER_SEND 103
#define IDC_MANAGER_FILE_LIST 104 // stored sysex messages
#define IDC_MANAGER_OPEN 107      // "<< Open..."
#define IDC_MANAGER_DELETE 109
#define IDC_MANAGER_CREATE_EDIT 111 // "Create" / "Edit"
#define IDC_MANAGER_HELP 150
#define IDC_MANAGER_ABOUT 151
#define IDC_MANAGER_LIBRARIAN 3000

// "CREATE": the hex message editor.
#define IDC_HEX_EDITOR_TEXT 400
#define IDC_HEX_EDITOR_OK 111
#define IDC_HEX_EDITOR_CANCEL 301
#define IDC_HEX_EDITOR_HELP 150
