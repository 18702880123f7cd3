#pragma once
#include "librarian/instrument_definition.h"

// The definition shipped with the program as "Korg M1.QXInstrument": programs 00 to 99 of a Korg
// M1 or M1R in program mode on MIDI channel 1, each stored as the instrument's whole 170-byte
// program dump.
InstrumentDefinition KorgM1Definition();

inline constexpr const char* korgM1DefinitionName = "Korg M1";
