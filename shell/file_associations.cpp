#include "shell/file_associations.h"

#include "shell/file_associations_values.h"
#include "shell/message_box.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <string>

const char associationCaption[] = "Talvane configuration";
const char syxRefusedText[] =
    "Talvane is being refused access to the configuration entry for .SYX files. Some other "
    "program is using this entry, which determines what happens when you click on a .SYX file.\n\n"
    "If you'd like Talvane to handle these files, click Yes now, and uninstall the other program "
    "before you next run Talvane. If you'd like to continue using the other program to handle "
    ".SYX files, click No.\n\n"
    "Would you like to try again next time?";
const char syxOwnedText[] =
    "Some other program is currently handling .SYX files.Unless this changes, Talvane won't get "
    "to deal with double-clicks or right-button clicks on these files (which represent standard "
    "System Exclusive data).\n\n"
    "If you'd like Talvane to handle these files, click Yes now (recommended). If you'd like to "
    "continue using the other program to handle .SYX files, click No.\n\n"
    "Would you like Talvane to handle .SYX files?";

namespace {

// Program identifiers are short; a string longer than this is not one.
constexpr DWORD stringCapacity = 4096;

HKEY CreateClassKey(const char* name, DWORD* disposition = nullptr) {
    std::string keyClass = associationKeyClass; // the call wants it writable
    HKEY key = nullptr;
    DWORD created = 0;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, name, 0, keyClass.data(), REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &created) != ERROR_SUCCESS)
        return nullptr;
    if (disposition)
        *disposition = created;
    return key;
}

// A REG_SZ value with its terminating zero; a null name writes the default value.
void SetString(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

// A string value (REG_SZ, or REG_EXPAND_SZ as some programs write them); an empty name reads the
// default value. Anything else, or more than stringCapacity bytes, reads as absent. A stored string
// need not end in a zero: it ends at its first zero or at its size.
bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

bool ReadString(HKEY key, const char* name, std::string* text) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        !IsString(type) || size > stringCapacity)
        return false;
    std::string buffer(size, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS ||
        !IsString(type) || size > buffer.size())
        return false;
    buffer.resize(size);
    *text = std::string(buffer.c_str());
    return true;
}

bool ReadClassDefault(const char* keyName, std::string* text) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool read = ReadString(key, nullptr, text);
    RegCloseKey(key);
    return read;
}

void WriteEntries(const std::vector<AssociationEntry>& entries) {
    for (const AssociationEntry& entry : entries) {
        HKEY key = CreateClassKey(entry.key.c_str());
        if (!key)
            continue;
        SetString(key, nullptr, entry.defaultValue);
        RegCloseKey(key);
    }
}

void SetClassDefault(const char* keyName, const std::string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    SetString(key, nullptr, text);
    RegCloseKey(key);
}

// An extension key is shared with the shell and other programs, which keep lists of their own
// under it: with those it stays, naming no program.
void RemoveExtension(const char* extension) {
    if (RegDeleteKeyA(HKEY_CLASSES_ROOT, extension) == ERROR_SUCCESS)
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
}

void DeclineSyx(HKEY machineSettingsKey) {
    RegSetValueExA(machineSettingsKey, "DisableExtensions", 0, REG_NONE, nullptr, 0);
}

// The consent boxes come before any window, so they have no owner; the title picture goes first
// (ShowMessageBox sees to it), or it would hide the question.
int AskUser(const char* text) {
    return ShowMessageBox(nullptr, text, associationCaption, MB_YESNO | MB_ICONEXCLAMATION);
}

// Writes the whole .syx association and closes `syxKey`; `previousOwner` (when not null) is kept
// as OldSYXApp.
void WriteSyxAssociation(HKEY syxKey, const std::string* previousOwner) {
    const auto entries = SyxAssociationEntries(shell.programPath, shell.programFolder);
    SetString(syxKey, nullptr, entries.front().defaultValue);
    RegCloseKey(syxKey);
    if (previousOwner) {
        if (HKEY programKey = CreateClassKey(syxProgramId)) {
            SetString(programKey, previousSyxOwnerValue, *previousOwner);
            RegCloseKey(programKey);
        }
    }
    WriteEntries({entries.begin() + 1, entries.end()});
}

bool IconEntryIsOurs() {
    std::string icon;
    const std::string iconKey = std::string(syxProgramId) + "\\DefaultIcon";
    return ReadClassDefault(iconKey.c_str(), &icon) && icon == SyxIconEntry(shell.programPath);
}

// The check without the machine settings key's closing. Every way that leaves .syx to another
// program clears handlingSyxFiles.
SyxAssociation CheckSyxKey(HKEY machineSettingsKey) {
    if (machineSettingsKey && RegQueryValueExA(machineSettingsKey, "DisableExtensions", nullptr,
                                               nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        settings.handlingSyxFiles = false;
        return SyxAssociation::writeAssociations;
    }

    DWORD disposition = 0;
    HKEY syxKey = CreateClassKey(".syx", &disposition);
    if (!syxKey) {
        if (AskUser(syxRefusedText) == IDNO && machineSettingsKey)
            DeclineSyx(machineSettingsKey);
        settings.handlingSyxFiles = false;
        return SyxAssociation::writeAssociations;
    }

    std::string owner;
    // A .syx key that names no program (a partial write, say) belongs to nobody: it is taken
    // without asking, as a free .syx is.
    if (disposition != REG_OPENED_EXISTING_KEY || !ReadString(syxKey, nullptr, &owner) ||
        owner.empty()) {
        WriteSyxAssociation(syxKey, nullptr);
        return SyxAssociation::writeAssociations;
    }
    if (owner == syxProgramId) {
        if (IconEntryIsOurs()) {
            RegCloseKey(syxKey);
            return SyxAssociation::inPlace;
        }
        // The program has moved: rewrite everything, keeping any earlier OldSYXApp.
        WriteSyxAssociation(syxKey, nullptr);
        return SyxAssociation::writeAssociations;
    }

    RegCloseKey(syxKey);
    if (AskUser(syxOwnedText) != IDYES) {
        if (machineSettingsKey)
            DeclineSyx(machineSettingsKey);
        settings.handlingSyxFiles = false;
        return SyxAssociation::writeAssociations;
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".syx");
    if (HKEY freshKey = CreateClassKey(".syx"))
        WriteSyxAssociation(freshKey, &owner);
    return SyxAssociation::writeAssociations;
}

} // namespace

SyxAssociation CheckSyxAssociation(HKEY machineSettingsKey) {
    settings.handlingSyxFiles = true;
    const SyxAssociation result = CheckSyxKey(machineSettingsKey);
    if (machineSettingsKey)
        RegCloseKey(machineSettingsKey);
    return result;
}

void RegisterLibraryFileTypes() {
    WriteEntries(LibraryTypeEntries(shell.programPath, shell.programFolder));
}

void RemoveFileAssociations() {
    // .syx goes back to its previous owner, or away when it had none; only while it names the
    // program, since another program may have taken it since or never given it up.
    std::string owner;
    if (ReadClassDefault(".syx", &owner) && owner == syxProgramId) {
        std::string previousOwner;
        HKEY programKey = nullptr;
        bool hadOwner = false;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, syxProgramId, 0, KEY_READ, &programKey) ==
            ERROR_SUCCESS) {
            hadOwner = ReadString(programKey, previousSyxOwnerValue, &previousOwner);
            RegCloseKey(programKey);
        }
        if (hadOwner)
            SetClassDefault(".syx", previousOwner);
        else
            RemoveExtension(".syx");
    }
    for (const AssociationEntry& entry : LibraryTypeEntries("", "")) {
        if (entry.key.front() == '.' && ReadClassDefault(entry.key.c_str(), &owner) &&
            owner == entry.defaultValue)
            RemoveExtension(entry.key.c_str());
    }
}

// RegDeleteKeyA refuses a key with subkeys, and the shell's own deletion of a whole tree lives
// in a DLL the program would need for nothing else: subkeys go first, the last one each time, so
// that the enumeration's indexes stay valid.
static void DeleteKeyTree(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
        DWORD subkeys = 0;
        if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            char child[256];
            while (subkeys > 0) {
                DWORD length = sizeof child;
                if (RegEnumKeyExA(key, --subkeys, child, &length, nullptr, nullptr, nullptr,
                                  nullptr) == ERROR_SUCCESS)
                    DeleteKeyTree(key, child);
            }
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(parent, name);
}

void RemoveProgramIdentifiers() {
    for (const char* id : programIdentifiers)
        DeleteKeyTree(HKEY_CLASSES_ROOT, id);
}
