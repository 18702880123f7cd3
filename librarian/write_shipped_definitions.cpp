// Writes every shipped definition as "<name>.QXInstrument" into the folder given; the build runs
// it so that the definitions land beside the program.
#include <cstdio>
#include <string>

#include "librarian/shipped_definitions.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_shipped_definitions <folder>\n");
        return 2;
    }
    for (const ShippedDefinition& shipped : ShippedDefinitions()) {
        const InstrumentDefinition definition = MakeDefinition(shipped);
        const std::string path = std::string(argv[1]) + "/" + shipped.name + definitionExtension;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(&definition, sizeof definition, 1, file) != 1) {
            std::perror(path.c_str());
            if (file)
                std::fclose(file);
            return 1;
        }
        if (std::fclose(file) != 0)
            return 1;
    }
    return 0;
}
