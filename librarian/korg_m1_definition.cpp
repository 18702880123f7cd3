#include "librarian/korg_m1_definition.h"

InstrumentDefinition KorgM1Definition() {
    InstrumentDefinition definition{};
    definition.channel = 1;
    definition.rangeStart = 0;
    definition.rangeEnd = 99;
    definition.numberOffset = 0;
    definition.programSize = 170;
    definition.nameGrabbing = 1;
    definition.autoUpdate = 0;
    definition.midiInPort = 0;
    definition.midiOutPort = 0;
    // Select the program, then ask for the program parameter dump of what is now selected; the
    // answer is the 170-byte dump, kept whole from its F0.
    SetFieldText(definition.requestString, "C! # F0 42 3! 19 10 F7 ;170,0");
    // Select the program, load the stored dump into the edit buffer, then write the edit buffer
    // into that program.
    SetFieldText(definition.sendString, "C! # % F0 42 3! 19 11 00 # F7");
    // The ten name characters are program bytes 0-9; in the 7-bit packed dump program byte i
    // travels in message byte 5 + 8 * (i / 7) + i % 7 + 1.
    SetFieldText(definition.nameOffsets, "6 7 8 9 10 11 12 14 15 16 ");
    SetFieldText(definition.notes,
                 "Korg M1 and M1R, programs 00 to 99. The instrument must be in program mode and "
                 "listen on the channel set here (1 as shipped); to store programs, turn its "
                 "memory protection off.\r\n"
                 "Request: a program change selects the program, then the program parameter dump "
                 "request (F0 42 3n 19 10 F7) asks for it; the instrument answers with its "
                 "170-byte program dump, which the bank stores whole.\r\n"
                 "Send: a program change selects the program, the stored dump goes into the edit "
                 "buffer, and the program write request (F0 42 3n 19 11 00 pp F7) stores it in "
                 "that program.\r\n"
                 "Names are read from the dump (message bytes 6-12 and 14-16).");
    return definition;
}
