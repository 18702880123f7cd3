#include "editor/multisounds.h"

const std::array<const char*, multisoundCount> multisoundNames = {
    "Piano",        // 0
    "E. Piano 1",   // 1
    "E. Piano 2",   // 2
    "Clav",         // 3
    "Harpsicord",   // 4
    "Organ 1",      // 5
    "Organ 2",      // 6
    "MagicOrgan",   // 7
    "Guitar 1",     // 8
    "Guitar 2",     // 9
    "E. Guitar",    // 10
    "Sitar 1",      // 11
    "Sitar 2",      // 12
    "A. Bass",      // 13
    "Pick Bass",    // 14
    "E. Bass",      // 15
    "Fretless",     // 16
    "SynthBass 1",  // 17
    "SynthBass 2",  // 18
    "Vibes",        // 19
    "Bell",         // 20
    "Tubular",      // 21
    "Bell Ring",    // 22
    "Karimba",      // 23
    "Karimba NT",   // 24
    "SynMallet",    // 25
    "Flute",        // 26
    "PanFlute",     // 27
    "Bottles",      // 28
    "Voices",       // 29
    "Choir",        // 30
    "Strings",      // 31
    "Brass 1",      // 32
    "Brass 2",      // 33
    "Tenor Sax",    // 34
    "Mute TP",      // 35
    "Trumpet",      // 36
    "TubaFlugel",   // 37
    "DoubleReed",   // 38
    "Koto Trem",    // 39
    "Bamboo Trem",  // 40
    "Rhythm",       // 41
    "Lore",         // 42
    "Lore NT",      // 43
    "Flexatone",    // 44
    "Wind Bells",   // 45
    "Pole",         // 46
    "Pole NT",      // 47
    "Block",        // 48
    "Block NT",     // 49
    "Finger Snap",  // 50
    "Pop",          // 51
    "Drop",         // 52
    "Drop NT",      // 53
    "Breath",       // 54
    "Breath NT",    // 55
    "Pluck",        // 56
    "Pluck NT",     // 57
    "Vibe Hit",     // 58
    "VibeHit NT",   // 59
    "Hammer",       // 60
    "Metal Hit",    // 61
    "Metal Hit NT", // 62
    "Pick",         // 63
    "Distortion",   // 64
    "Dist NT",      // 65
    "Bass Thumb",   // 66
    "BasThumNT1",   // 67
    "BasThumNT2",   // 68
    "Wire",         // 69
    "Pan Wave",     // 70
    "Ping Wave",    // 71
    "Fv Wave",      // 72
    "Mv Wave",      // 73
    "Voice Wave",   // 74
    "VoiceWvNT 1",  // 75
    "VoiceWvNT2",   // 76
    "DWGS E. P. 1", // 77
    "DWGS E. P. 2", // 78
    "DWGS E.P. 3",  // 79
    "DWGS Piano",   // 80
    "DWGS Clav",    // 81
    "DWGS Vibe 1",  // 82
    "DWGS Bass 1",  // 83
    "DWGS Bass 2",  // 84
    "DWGS Bell 1",  // 85
    "DWGS Orgn 1",  // 86
    "DWGS Orgn 2",  // 87
    "DWGS Voice",   // 88
    "SquareWave",   // 89
    "Digital 1",    // 90
    "Saw Wave",     // 91
    "Digital 2",    // 92
    "25% Pulse",    // 93
    "10% Pulse",    // 94
    "Digital 3",    // 95
    "Digital 4",    // 96
    "Digital 5",    // 97
    "DWGS TRI",     // 98
    "DWGS Sine",    // 99
};
