#pragma once

// The user-interface thread's get-message hook: every key pressed in any child control also
// reaches the current module window (its CTRL keys and CTRL captions depend on that).
void InstallMessageHook();
void RemoveMessageHook();
