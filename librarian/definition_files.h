#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The definition files of the program's folder, as the definition dialog and the Librarian window
// use them. The record itself and the file formats are in instrument_definition.h and
// device_list.h.

// Asks for a new file name ("Save As"), writes the current record into a new file and makes that
// file's base name the instrument name. False when the user cancels, declines to overwrite an
// existing file, or the file cannot be written (which is reported).
bool CreateInstrumentDefinition();

// The device list section of the current definition's file ("<program folder>\<instrument
// name>.QXInstrument") to and from the Librarian's device program list box. The box shows one line
// per program of the range when loading starts; the saved lines replace those lines, the ones
// beyond the range are left out and the lines the file lacks stay. Loading leaves the list box as
// it is when the file has no section.
void LoadDeviceList(HWND list);
void SaveDeviceList(HWND list);

// The base names of the definition files of the program's folder, in directory order.
std::vector<std::string> ListInstrumentDefinitions();

inline constexpr const char* definitionCreateFailedText =
    "Couldn't update the instrument file!\n\nIf the file is in use by some other program, quit "
    "that program and then try again; or use some other filename.\n\nIf the program is running "
    "from a CD-ROM or floppy disk, quit, copy all program files onto a folder of your hard disk, "
    "and then try again.";
