#pragma once

// Closes the help viewer at exit, through the window that last opened the help file (nothing when
// help was never opened).
void CloseHelp();
