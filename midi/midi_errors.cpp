#include "midi/midi_errors.h"

#include "shell/message_box.h"
#include "shell/shell_state.h"

namespace {

constexpr UINT errorTextSize = 100;

} // namespace

void ReportMidiInError(const char* caption, MMRESULT code) {
    char text[errorTextSize] = {};
    midiInGetErrorTextA(code, text, errorTextSize);
    ShowMessageBox(shell.currentModuleWindow, text, caption, MB_OK);
}

void ReportMidiOutError(const char* caption, MMRESULT code) {
    char text[errorTextSize] = {};
    midiOutGetErrorTextA(code, text, errorTextSize);
    ShowMessageBox(shell.currentModuleWindow, text, caption, MB_OK);
}
