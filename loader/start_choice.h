#pragma once
// What the loader reads from its command line and how it marks the module that will open. The
// main program makes the same choice at its own start; the loader only shows it in advance.
#include <string>
#include <string_view>

inline constexpr int startManager = 0;
inline constexpr int startLibrarian = 1;
inline constexpr int markerEditor = 2;

// "/l..." (an instrument definition) and "/b..." (a bank file) start in the Librarian; anything
// else in the Manager. Only the first two characters of the arguments count.
int StartModuleFor(std::string_view commandLineTail);

// Whether the arguments name an instrument definition whose file may make the Editor possible.
bool NamesInstrumentDefinition(std::string_view commandLineTail);

// The file name of the definition named by "/librarian ...": the text after the last backslash,
// or, without any backslash, the text after the switch. Quotes around it are dropped. Empty when
// nothing usable is left; wildcards would match some other file, so a name with them is empty.
std::string DefinitionFileName(std::string_view commandLineTail);

// A definition file of the Korg M1 (or M1R) is recognised by its name: K and o at positions 0
// and 1, M and 1 at positions 5 and 6, as in "Korg M1.QXInstrument".
bool IsKorgM1FileName(std::string_view fileName);

// The marker under the picture: the start module, one further while CTRL is held. The Editor's
// marker only when the definition is a Korg M1 one; otherwise CTRL leads back to the Manager.
int MarkerIndex(int startModule, bool ctrlDown, bool editorPossible);

// The main program's full name: this program's folder (its full name cut at the last
// backslash) followed by "\Talvane95.dat"; without any backslash just "\Talvane95.dat".
std::string MainProgramPath(std::string_view ownFileName);

// The command line the main program is started with: its path, quoted so that a folder with
// blanks stays one word, a blank, and the loader's arguments unchanged. The main program then
// sees exactly the arguments the loader got.
std::string MainProgramCommandLine(std::string_view programPath, std::string_view commandLineTail);
