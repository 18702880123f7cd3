#pragma once

// From the start until the first module window paints, every dialog and message box the program
// opens closes the title window first: the title stays on top of everything and would hide it.
void WatchStartupBoxes();
// Ends that watch; the first paint of a module window ends it (the title closes then anyway),
// and so does closing the title.
void StopWatchingStartupBoxes();
