#pragma once
// The instrument's behaviour, chosen from outside the program under test: environment
// variables, or NAME=value lines of midimap.ini beside the driver for those not set.
#include "tools/virtual-instrument/instrument.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vi {

// The values of TALVANE_VI_MODE.
inline constexpr std::pair<const char*, InstrumentMode> instrumentModeNames[] = {
    {"m1", InstrumentMode::M1},
    {"loopback", InstrumentMode::Loopback},
    {"silent", InstrumentMode::Silent},
    {"tx7", InstrumentMode::Tx7},
    {"dw8000", InstrumentMode::Dw8000},
    {"proteus1", InstrumentMode::Proteus1},
    {"proteus2", InstrumentMode::Proteus2},
    {"mopho", InstrumentMode::Mopho},
    {"prophet08", InstrumentMode::Prophet08},
    {"tetra", InstrumentMode::Tetra},
    {"evolver", InstrumentMode::Evolver},
};

struct Settings {
    InstrumentMode mode = InstrumentMode::M1; // TALVANE_VI_MODE: see instrumentModeNames
    int channel = 1;                          // TALVANE_VI_CHANNEL = 1..16
    int dropEvery = 0;                        // TALVANE_VI_DROP_EVERY = N (0 = none)
    bool failOpenIn = false;                  // TALVANE_VI_FAIL_OPEN = in | out | both
    bool failOpenOut = false;
    // TALVANE_VI_WIRE_SPEED = N: the cables run at N times 31,250 baud (0 = bytes pass at once);
    // = buffer: bytes pass at once, but the input hands over nothing while the program has no
    // buffer queued, so a burst goes exactly as fast as the program takes it.
    int wireSpeed = 0;
    bool waitForBuffer = false;
    std::string logPath; // TALVANE_VI_LOG; empty: no log
    // One text per value that could not be used (the default stands in for it).
    std::vector<std::string> problems;
};

// Looks a name up; nothing when it is not set (or set to an empty text).
using SettingSource = std::function<std::optional<std::string>(const std::string& name)>;

Settings ReadSettings(const SettingSource& environment, std::string_view iniText);

// The value of NAME in NAME=value lines (names ignore case; blank lines and lines starting with
// ';' or '#' are skipped; spaces around names and values are dropped).
std::optional<std::string> IniValue(std::string_view iniText, std::string_view name);

} // namespace vi
