#pragma once

// The user-interface thread's get-message hook: mouse messages go on to the current tooltip
// window (tools are not subclassed, so tips show over every control), and every key pressed in
// any child control also reaches the current module window (its CTRL keys and CTRL captions
// depend on that).
void InstallMessageHook();
void RemoveMessageHook();
// Under Wine every message the hook sees costs round trips to the server. Code that takes only
// messages the hook ignores (MIDI notices) may set it aside meanwhile; anything that runs a message
// loop in between (a message box) resumes it first.
void PauseMessageHook();
void ResumeMessageHook();
