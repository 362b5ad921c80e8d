// Reading and programming the speed-dial numbers and both prefix lists.  The
// speed-dial area is not part of the configuration: these transfers leave the
// configuration-valid flag alone.
#pragma once

#include "link/transfer.h"

#include <X11/Intrinsic.h>

// Reads the 25 number blocks and the two prefix lists into the record; when it
// ran through, marks the directory read ("KwDaten", counters).  Names stay.
TransferResult readSpeedDial(Widget parent);

// Callbacks of "Auslesen" and "Programmieren"; the list follows a complete run.
void readISkwz(Widget, XtPointer, XtPointer);
void writeISkwz(Widget, XtPointer, XtPointer);
