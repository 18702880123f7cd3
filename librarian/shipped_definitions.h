#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "librarian/instrument_definition.h"

// The instrument definitions that ship with the program, one table for all: the build writes
// each as "<name>.QXInstrument" beside the program (write_shipped_definitions). Every one talks
// to its instrument on MIDI channel 1 through the first ports; the user changes that in the
// definition dialog.
struct ShippedDefinition {
    const char* name; // the file's base name, shown as the instrument's name
    std::int32_t rangeStart;
    std::int32_t rangeEnd;
    std::int32_t numberOffset;
    std::int32_t programSize;
    bool nameGrabbing;
    const char* request;
    const char* send;
    const char* nameOffsets; // ends with a space, as the definition dialog leaves it
    const char* notes;
};

std::span<const ShippedDefinition> ShippedDefinitions();

InstrumentDefinition MakeDefinition(const ShippedDefinition& shipped);

// The shipped definition of that name, if there is one.
std::optional<InstrumentDefinition> FindShippedDefinition(std::string_view name);
