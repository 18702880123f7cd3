// The MIDI port lists, shared by every dialog that has them (the Manager window and the
// Librarian's instrument definition dialog): the code that fills and reads the lists finds them
// by these IDs in whichever dialog it is given. Only #defines: windres reads this file too.
#pragma once

#define IDC_PORTS_INPUT 105  // input port combo box
#define IDC_PORTS_OUTPUT 106 // output port combo box
