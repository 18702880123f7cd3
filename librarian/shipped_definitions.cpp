#include "librarian/shipped_definitions.h"

namespace {

// Each entry follows the instrument's published MIDI implementation (docs/instruments.md names
// the documents). A reply section keeps the program's bytes only where the reply carries no
// program number, so that a program copied to another place is stored unchanged.
constexpr ShippedDefinition shippedDefinitions[] = {
    {"Korg M1", 0, 99, 0, 170, true,
     // Select the program, then ask for the program parameter dump of what is now selected; the
     // answer is the 170-byte dump, kept whole from its F0.
     "C! # F0 42 3! 19 10 F7 ;170,0",
     // Select the program, load the stored dump into the edit buffer, then write the edit buffer
     // into that program.
     "C! # % F0 42 3! 19 11 00 # F7",
     // The ten name characters are program bytes 0-9; in the 7-bit packed dump program byte i
     // travels in message byte 5 + 8 * (i / 7) + i % 7 + 1.
     "6 7 8 9 10 11 12 14 15 16 ",
     "Korg M1 and M1R, programs 00 to 99. The instrument must be in program mode and listen on "
     "the channel set here (1 as shipped); to store programs, turn its memory protection off.\r\n"
     "Request: a program change selects the program, then the program parameter dump request "
     "(F0 42 3n 19 10 F7) asks for it; the instrument answers with its 170-byte program dump, "
     "which the bank stores whole.\r\n"
     "Send: a program change selects the program, the stored dump goes into the edit buffer, and "
     "the program write request (F0 42 3n 19 11 00 pp F7) stores it in that program.\r\n"
     "Names are read from the dump (message bytes 6-12 and 14-16)."},
    {"Yamaha TX7", 0, 31, 1, 155, true,
     // The voice dump request sends the edit buffer, so a program change loads the voice first.
     "C! # F0 43 2! 00 F7 ;163,6", "C! # F0 43 0! 00 01 1B % [$8-162] F7",
     "145 146 147 148 149 150 151 152 153 154 ",
     "Yamaha TX7, voices 1 to 32. Set SYS INFO AVAIL on and the receive channel to the channel "
     "set here.\r\n"
     "Request: a program change selects the voice, then the single voice dump request "
     "(F0 43 2n 00 F7) asks for the edit buffer; the answer is the 163-byte voice dump, of which "
     "the bank keeps the 155 voice bytes.\r\n"
     "Send: a program change selects the voice and a single voice dump (with a new checksum) "
     "replaces the edit buffer. It is not written into memory: store it on the instrument.\r\n"
     "Names: voice bytes 145-154."},
    {"Korg DW-8000", 0, 63, 0, 51, false,
     // The data save request sends the sound being played: select the program first.
     "C! # F0 42 3! 03 10 F7 ;57,5", "F0 42 3! 03 40 % F7 F0 42 3! 03 11 # F7", "",
     "Korg DW-8000, programs 0 to 63 (the panel shows them as 11 to 88: 0 is 11, 8 "
     "is 21, 63 is 88). Set the exclusive channel (parameter 84) to the channel set here and "
     "the rear WRITE switch to ENABLE.\r\n"
     "Request: a program change selects the program, then the data save request "
     "(F0 42 3n 03 10 F7) asks for it; the 57-byte data dump carries its 51 data bytes.\r\n"
     "Send: a data dump loads the program into the sound being played, and the write request "
     "(F0 42 3n 03 11 pp F7) writes it into program pp, replacing what was there.\r\n"
     "The instrument keeps no program names."},
    {"E-mu Proteus 1", 64, 127, 0, 257, true,
     // The preset number goes low 7 bits first; the checksum covers the parameter bytes only,
     // so it travels with them.
     "F0 18 04 0! 00 [#27+0] F7 ;265,7", "F0 18 04 0! 01 [#27+0] % F7",
     "0 2 4 6 8 10 12 14 16 18 20 22 ",
     "E-mu Proteus/1, user presets 64 to 127. Set the channel here to the "
     "instrument's device ID plus one (ID 0: channel 1).\r\n"
     "Request: the preset data request (F0 18 04 dd 00 ll mm F7) asks for the preset; the "
     "265-byte answer carries 128 two-byte parameters and a checksum after the number.\r\n"
     "Send: the preset data (F0 18 04 dd 01 ll mm ... F7) replaces the user preset.\r\n"
     "Names: the first 12 parameters, one character each."},
    {"E-mu Proteus 2", 64, 127, 0, 257, true, "F0 18 04 0! 00 [#27+0] F7 ;265,7",
     "F0 18 04 0! 01 [#27+0] % F7", "0 2 4 6 8 10 12 14 16 18 20 22 ",
     "E-mu Proteus/2, user presets 64 to 127. Set the channel here to the "
     "instrument's device ID plus one (ID 0: channel 1).\r\n"
     "Request: the preset data request (F0 18 04 dd 00 ll mm F7) asks for the preset; the "
     "265-byte answer carries 128 two-byte parameters and a checksum after the number.\r\n"
     "Send: the preset data (F0 18 04 dd 01 ll mm ... F7) replaces the user preset.\r\n"
     "Names: the first 12 parameters, one character each."},
    {"DSI Mopho", 0, 127, 1, 293, true, "F0 01 25 05 00 # F7 ;300,6", "F0 01 25 02 00 # % F7",
     // Name characters are program bytes 184-199, packed seven at a time behind a byte of their
     // high bits: byte i travels at 8 * (i / 7) + i % 7 + 1.
     "211 212 213 214 215 217 218 219 220 221 222 223 225 226 227 228 ",
     "Dave Smith Instruments Mopho, programs 1 to 128 of bank 1 (for bank 2 or 3 change the 00 "
     "after 05 and after 02 into 01 or 02).\r\n"
     "Request: the program dump request (F0 01 25 05 bank program F7); the 300-byte answer "
     "carries the program in 293 packed bytes.\r\n"
     "Send: the program data dump (F0 01 25 02 bank program ... F7) replaces the program.\r\n"
     "Names: program bytes 184-199."},
    {"DSI Prophet 08", 0, 127, 1, 439, true, "F0 01 23 05 00 # F7 ;446,6", "F0 01 23 02 00 # % F7",
     "211 212 213 214 215 217 218 219 220 221 222 223 225 226 227 228 ",
     "Dave Smith Instruments Prophet '08, programs 1 to 128 of bank 1 (for bank 2 change the 00 "
     "after 05 and after 02 into 01).\r\n"
     "Request: the program dump request (F0 01 23 05 bank program F7); the 446-byte answer "
     "carries the program in 439 packed bytes.\r\n"
     "Send: the program data dump (F0 01 23 02 bank program ... F7) replaces the program.\r\n"
     "Names: program bytes 184-199 (layer A)."},
    {"DSI Tetra", 0, 127, 1, 439, true, "F0 01 26 05 00 # F7 ;446,6", "F0 01 26 02 00 # % F7",
     "211 212 213 214 215 217 218 219 220 221 222 223 225 226 227 228 ",
     "Dave Smith Instruments Tetra, programs 1 to 128 of bank 1 (for banks 2 to 4 change the 00 "
     "after 05 and after 02 into 01 to 03).\r\n"
     "Request: the program dump request (F0 01 26 05 bank program F7); the 446-byte answer "
     "carries the program in 439 packed bytes.\r\n"
     "Send: the program data dump (F0 01 26 02 bank program ... F7) replaces the program.\r\n"
     "Names: program bytes 184-199 (layer A)."},
    {"DSI Evolver", 0, 127, 1, 220, false, "F0 01 20 01 05 00 # F7 ;228,7",
     "F0 01 20 01 02 00 # % F7", "",
     "Dave Smith Instruments Evolver (desktop), programs 1 to 128 of bank 1 (for banks 2 to 4 "
     "change the 00 after 05 and after 02 into 01 to 03).\r\n"
     "Request: the program dump request (F0 01 20 01 05 bank program F7); the 228-byte answer "
     "carries the program and its sequence in 220 packed bytes.\r\n"
     "Send: the program data dump (F0 01 20 01 02 bank program ... F7) replaces the program.\r\n"
     "The program data holds no name (the instrument sends names in a message of their own)."},
};

} // namespace

std::span<const ShippedDefinition> ShippedDefinitions() {
    return shippedDefinitions;
}

InstrumentDefinition MakeDefinition(const ShippedDefinition& shipped) {
    InstrumentDefinition definition{};
    definition.channel = 1;
    definition.rangeStart = shipped.rangeStart;
    definition.rangeEnd = shipped.rangeEnd;
    definition.numberOffset = shipped.numberOffset;
    definition.programSize = shipped.programSize;
    definition.nameGrabbing = shipped.nameGrabbing ? 1 : 0;
    definition.autoUpdate = 0;
    definition.midiInPort = 0;
    definition.midiOutPort = 0;
    SetFieldText(definition.requestString, shipped.request);
    SetFieldText(definition.sendString, shipped.send);
    SetFieldText(definition.nameOffsets, shipped.nameOffsets);
    SetFieldText(definition.notes, shipped.notes);
    return definition;
}

std::optional<InstrumentDefinition> FindShippedDefinition(std::string_view name) {
    for (const ShippedDefinition& shipped : shippedDefinitions)
        if (name == shipped.name)
            return MakeDefinition(shipped);
    return std::nullopt;
}
