// The speed-dial files (".kwz") as the dialog handles them: the file dialogs,
// the name merge, the text export into a file or "lpr".  The dialog of the
// directory lives in kwz.cpp; the format itself in kwzformat.h.
#pragma once

#include "speeddial/kwzformat.h"

#include <X11/Intrinsic.h>

extern char thedirname[256]; // directory of the load and save-as dialogs
extern char patbuf[256];     // their pattern

// Sets the speed-dial file path and the directory of the file dialogs.
void setKwzDefaults();

// Asks for a speed-dial file under parent and loads it; true when loaded.
bool loadKwzFile(Widget parent);
// True once the directory came from a file or went into one (its path is
// then the speed-dial file path); a read from the PBX does not change that.
bool kwzFromFile();
// Writes the directory to the speed-dial file path (no question); true when
// written.  A file that cannot be opened or written is reported under parent
// and the change counter is kept.
bool saveKwzFile(Widget parent);
// Asks for a file, then writes it.
bool saveKwzFileAs(Widget parent);
// Asks for a file and writes the text export into it.
bool saveKwzText(Widget parent);
// Asks for a speed-dial file and takes its names; true when taken.  Only with a
// directory present, and only from a file with the speed-dial mark.
bool mergeKwzNames(Widget parent);
// The text export into "lpr"; false (after telling the user) when lpr could not
// be run or reported an error.
bool printKwzText(Widget parent);
