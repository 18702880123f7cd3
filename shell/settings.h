#pragma once
#include <cstdint>

// The program's persistent choices, one record for the whole process: loaded once at start-up,
// written back at exit (a few values are written at the moment they change). The numeric fields
// keep the names of their registry values.
struct Settings {
    std::int32_t InputPort = 0;
    std::int32_t OutputPort = 0;
    std::int32_t WindowX = 0;
    std::int32_t WindowY = 0;
    std::int32_t GraphX = 0;
    std::int32_t GraphY = 0;
    std::int32_t GraphW = 100;
    std::int32_t GraphH = 100;
    std::int32_t GraphAmp1 = 0;
    std::int32_t GraphAmp2 = 0;
    std::int32_t GraphPitch1 = 0;
    std::int32_t GraphPitch2 = 0;
    std::int32_t GraphCutoff1 = 0;
    std::int32_t GraphCutoff2 = 0;
    std::int32_t ToolTips = 0;
    std::int32_t LibrarianInstrument = -1;

    bool titlePictureOn = false;
    bool titleSoundOn = false;
    bool handlingSyxFiles = false;
    bool firstEntry[3] = {false, false, false}; // Manager, Librarian, Program Editor
};

extern Settings settings;
