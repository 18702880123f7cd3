#pragma once
#include <windows.h>

// The shell's file types: .syx (claimed only with the user's consent, the previous owner kept in
// OldSYXApp), instrument definitions and bank files. All keys live under HKEY_CLASSES_ROOT.

// How the start-up's .syx check ended: the program already owns .syx files from this very
// program file, or the associations (at least those of the library file types) must be written.
enum class SyxAssociation { inPlace, writeAssociations };

// Checks that .syx files belong to this program, asking the user before taking them from another
// program; sets settings.handlingSyxFiles. Receives the open machine settings key (or nullptr)
// and closes it.
SyxAssociation CheckSyxAssociation(HKEY machineSettingsKey);

// Writes the associations of instrument definition and bank files.
void RegisterLibraryFileTypes();

// The uninstall, in two steps around the deletion of the settings keys, failures ignored: gives
// .syx back to the program that owned it before (or deletes it) and deletes the library types'
// extensions, each only while it names the program's type; then deletes the program identifiers
// with everything under them.
void RemoveFileAssociations();
void RemoveProgramIdentifiers();

// The texts of the two consent boxes, caption "Talvane configuration".
extern const char associationCaption[];
extern const char syxRefusedText[];
extern const char syxOwnedText[];
