#include "editor/input_messages.h"

#include <string>
#include <utility>

namespace {

const char* const correctInputCaption = "Please correct your input.";

InputMessage InputError(std::string text) {
    return {MessageStyle::inputError, correctInputCaption, std::move(text)};
}

} // namespace

InputMessage RangeMessage(int lo, int hi) {
    return InputError("You must choose a value between " + std::to_string(lo) + " and " +
                      std::to_string(hi) + " for this setting.");
}

InputMessage ReverbTimeMessage(int topTenths) {
    return InputError("You must choose a value between 0.2 and " + std::to_string(topTenths / 10) +
                      "." + std::to_string(topTenths % 10) +
                      " for this setting. The value must be entered in the exact form "
                      "<digit>.<digit>, i.e. 0.4 or 5.6. ");
}

InputMessage KeyNameMessage() {
    return InputError("To enter key names, you must use the format:\n\n<key letter> [optional # "
                      "sign] <octave>\n\nOnly keys in the range C-1 - G9 are valid. For example, "
                      "A#5, c3, f6, D#-1 are all valid; F#0 isn't, and nor are E-2 or G#10. ");
}

InputMessage OctaveMessage() {
    return InputError("For the oscillator's octave, you can choose from 4', 8', or 16' (don't "
                      "type  the '). No other numbers are available.");
}

InputMessage SpeedMessage() {
    return InputError(
        "You haven't entered this number correctly. A valid number contains at least one decimal "
        "point. After this point, there is at least one digit. In addition, the number must be "
        "between 0.03 and 30.0. For instance, 0.09, 0.8, 3.00, 3.0, and 16.0 are all valid. 8, "
        "0.01, and 31.03 are not.");
}

InputMessage WaveLetterMessage() {
    return InputError(
        "This edit box requires both a number to indicate a frequency, and a letter to indicate "
        "which type of wave to use. The last letter of the edit box must be either T (triangle) "
        "or S (sine), for this reason. If there is anything after this letter, delete it.");
}

InputMessage LowFcMessage() {
    return InputError("The EQ's low FC can only take the values 250, 500, or 1000 (Hz).");
}

InputMessage MidFcMessage() {
    return InputError("The EQ's mid-range FC can only take the values 500, 1000 or 2000 (Hz).");
}

InputMessage HighFcMessage() {
    return InputError("The EQ's high FC can only take the values 1000, 2000, or 4000 (Hz).");
}

InputMessage ProgramErrorMessage() {
    return {MessageStyle::programError, "debug", "Program error."};
}

InputMessage InvalidEffectKindMessage() {
    return {MessageStyle::fatal, "", "Invalid effect type"};
}
