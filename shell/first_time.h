#pragma once

// The first entry into each module, remembered on the machine by a marker value in the machine
// settings key ("FirstTime0" Manager, "FirstTime1" Librarian, "FirstTime2" Program Editor). The
// marker is written before any advice is shown, so the advice never comes twice; where it cannot
// be written the advice comes again at the next run.

// The Manager's first entry: only the marker (the first-run welcome has said everything).
void EnterManagerFirstTime();
// On the first way into the Librarian: the marker, then advice about instrument definitions,
// owned by the current module window.
void EnterLibrarianFirstTime();
// On the first way into the Program Editor: the marker, then the question whether the user
// really has a Korg M1, owned by the current module window. True when the Editor is to open
// (always, after the first time).
bool EnterEditorFirstTime();

extern const char librarianAdviceText[];
extern const char editorAdviceText[];
