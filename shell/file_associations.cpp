#include "shell/file_associations.h"

// Claiming .syx files and registering the library file types are not built yet: until they
// are, the check touches nothing and answers that the associations must be written, and
// writing them does nothing.

SyxAssociation CheckSyxAssociation(HKEY machineSettingsKey) {
    if (machineSettingsKey)
        RegCloseKey(machineSettingsKey);
    return SyxAssociation::writeAssociations;
}

void RegisterLibraryFileTypes() {}
