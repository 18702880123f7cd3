#include "midi/midi_hooks.h"
#include "midi/midi_state.h"

MidiState midi;
MidiHooks midiHooks;
