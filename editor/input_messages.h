#pragma once
#include "editor/control_state.h"

// Every message the parameter rules show, in one place.

// "You must choose a value between lo and hi for this setting."
InputMessage RangeMessage(int lo, int hi);
// The reverb time range, 0.2 to top / 10 "." top % 10, and its typed form.
InputMessage ReverbTimeMessage(int topTenths);
InputMessage KeyNameMessage();
InputMessage OctaveMessage();
InputMessage SpeedMessage();
InputMessage WaveLetterMessage();
InputMessage LowFcMessage();
InputMessage MidFcMessage();
InputMessage HighFcMessage();
// A table names a kind that no rule knows.
InputMessage ProgramErrorMessage();
InputMessage InvalidEffectKindMessage();
