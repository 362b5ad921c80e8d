// Subscriber data files (".tnd") as the subscriber dialog loads and saves them;
// the format is subscriber/tndentries.h.
#pragma once

#include "subscriber/tndentries.h"

#include <X11/Intrinsic.h>

extern char tlndirname[256]; // directory of the subscriber file dialogs
extern char tlnpatbuf[256];  // and their filter pattern

// Asks for a file and writes the records into it; true when written (a write
// failure is shown under parent).  Cancelled or not a regular file: false.
bool saveTlnFile(Widget parent);
// Asks for a file and reads it into the records; true when a regular file of
// exactly 1650 bytes was read, which raises the subscriber-data-present flag.
// Any other regular file gets the wrong-file message and changes nothing.
bool loadTlnFile(Widget parent);
