#pragma once
#include <windows.h>

// How the start-up's .syx check ended: the program already owns .syx files from this very
// program file, or the associations (at least those of the library file types) must be written.
enum class SyxAssociation { inPlace, writeAssociations };

// Checks that .syx files belong to this program; receives the open machine settings key (or
// nullptr) and closes it.
SyxAssociation CheckSyxAssociation(HKEY machineSettingsKey);

// Writes the associations of instrument definition and bank files.
void RegisterLibraryFileTypes();
