#include "midi/midi_state.h"

MidiState midi;
