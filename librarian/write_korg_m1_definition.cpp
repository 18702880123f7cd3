// Writes the shipped "Korg M1.QXInstrument" from KorgM1Definition(); the file in this folder is
// its output, and a unit test keeps the two equal.
#include <cstdio>

#include "librarian/korg_m1_definition.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_korg_m1_definition <file>\n");
        return 2;
    }
    InstrumentDefinition definition = KorgM1Definition();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(&definition, sizeof definition, 1, file) != 1) {
        std::perror(argv[1]);
        return 1;
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
