#pragma once

// What the title loader (Talvane95.exe) and the main program (Talvane95.dat) agree on. The loader
// includes nothing else of the main program, so this header holds names and numbers only.

// Posted by the title loader to the first module window it finds; wParam is its title window.
inline constexpr unsigned int titleWindowMessage = 0x22A5;

// The title loader's window class, which the main program looks for to close the title.
inline constexpr char loaderWindowClass[] = "QX_Loader";

// The classes of the three module windows, which the loader looks for to announce its title.
inline constexpr char managerWindowClass[] = "QX_SysEx";
inline constexpr char librarianWindowClass[] = "QX_SysX2";
inline constexpr char editorWindowClass[] = "QX_SysX3";
