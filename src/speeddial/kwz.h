// The speed-dial dialog: the directory as a list of 200 lines, its editor,
// files, text export and printing, the transfers and the prefix dialogs.
#pragma once

#include "link/transfer.h"

#include <X11/Intrinsic.h>

extern Widget kwzdlg; // built on first opening; parent of everything it shows

// Registers the dialog's callbacks and sets the default file paths.
void doSetupKwz();
// Builds "kwz_dlg" on first use and runs it modally until "OK".
void doKurzwahlen(Widget parent);

// Rebuilds the list from the record (nothing while no directory is present).
void showkwz();
// Applies the button rule to the dialog.
void checkButtons();
// Asks for a speed-dial file under parent and loads it; with show nonzero the
// list is rebuilt.  True when a file was loaded.
bool loadNshowFile(Widget parent, int show);

// The directory's transfers with their dialogs under parent.
TransferResult readSpeedDial(Widget parent);
// Callbacks of "Auslesen" and "Programmieren"; the list follows a complete run.
void readISkwz(Widget, XtPointer, XtPointer);
void writeISkwz(Widget, XtPointer, XtPointer);
