#pragma once
// The instrument's own factory programs: 100 programs with plausible values for every
// parameter, names that all differ (printable, but for a few
// that hold zero bytes as real factory names do), the same on every run.
#include "tools/virtual-instrument/m1_dump.h"

#include <array>

namespace vi {

inline constexpr int kProgramCount = 100;

ProgramBytes MakeFactoryProgram(int number);
std::array<ProgramBytes, kProgramCount> MakeFactoryPrograms();

// Whether the M1 can run the two effect types together: the symphonic ensemble and the rotary
// speaker cannot share the unit with a modulation effect (chorus, flanger, phaser, tremolo and
// their delay combinations) or with each other.
bool EffectTypesCompatible(int effect1, int effect2);

} // namespace vi
