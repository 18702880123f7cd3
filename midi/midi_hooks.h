#pragma once

// What the ports tell the work above them as they close. The ports know nothing of the message
// store or of a file being sent: the code that starts such work sets its hook as it starts it, so
// that a port closing under the work ends it. A hook not set has nothing to end.
struct MidiHooks {
    // The input is closing, after the buffers its reset returned have been handled: a message
    // received in part ends with the bytes that have arrived.
    void (*inputEnding)() = nullptr;
    // The output is closing, after its reset: a send in progress gets no further completion from
    // it and ends.
    void (*outputClosing)() = nullptr;
};

extern MidiHooks midiHooks;
