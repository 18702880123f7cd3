#include "librarian/instrument_definition.h"

#include <algorithm>
#include <cstdio>

CurrentInstrument instrument;

std::string DefinitionPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += pathSeparator;
    path += name;
    path += definitionExtension;
    return path;
}

std::string BaseNameOf(std::string_view path) {
    std::size_t separator = path.find_last_of("\\/");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string CompleteExtension(std::string_view path, std::string_view shortExtension,
                              std::string_view rest) {
    std::string completed(path);
    if (path.size() >= shortExtension.size() &&
        path.substr(path.size() - shortExtension.size()) == shortExtension)
        completed += rest;
    return completed;
}

template <std::size_t N>
static void TerminateField(char (&field)[N]) {
    field[N - 1] = '\0';
}

void SanitizeDefinition(InstrumentDefinition& definition) {
    definition.channel = std::clamp(definition.channel, 1, 16);
    definition.rangeStart = std::clamp(definition.rangeStart, 0, highestProgramNumber);
    definition.rangeEnd =
        std::clamp(definition.rangeEnd, definition.rangeStart, highestProgramNumber);
    definition.programSize = std::clamp(definition.programSize, 0, largestProgramSize);
    definition.nameGrabbing = definition.nameGrabbing != 0 ? 1 : 0;
    definition.autoUpdate = definition.autoUpdate != 0 ? 1 : 0;
    definition.midiInPort = std::max(definition.midiInPort, -1);
    definition.midiOutPort = std::max(definition.midiOutPort, -1);
    TerminateField(definition.requestString);
    TerminateField(definition.sendString);
    TerminateField(definition.nameOffsets);
    TerminateField(definition.notes);
}

bool LoadInstrumentDefinition(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    InstrumentDefinition loaded = instrument.definition;
    std::fread(&loaded, 1, sizeof loaded, file);
    std::fclose(file);
    SanitizeDefinition(loaded);
    instrument.definition = loaded;
    instrument.name = BaseNameOf(path);
    return true;
}

bool SaveInstrumentDefinition(const std::string& path) {
    instrument.name = BaseNameOf(path);
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return false;
    bool written = std::fwrite(&instrument.definition, 1, sizeof instrument.definition, file) ==
                   sizeof instrument.definition;
    return std::fclose(file) == 0 && written;
}
