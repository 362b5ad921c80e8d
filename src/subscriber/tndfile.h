// Subscriber data files (".tnd"): no header, one 55-byte entry per subscriber
// in subscriber order, each a copy of the record's functions, wake-up time,
// both forwarding targets and the ring time.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdio>

constexpr long TndEntrySize = 55;
constexpr long TndFileSize = 30 * TndEntrySize;

extern char tlndirname[256]; // directory of the subscriber file dialogs
extern char tlnpatbuf[256];  // and their filter pattern

// Asks for a file and writes the records into it; true when written (a write
// failure is shown under parent).  Cancelled or not a regular file: false.
bool saveTlnFile(Widget parent);
// Asks for a file and reads it into the records; true when a regular file of
// exactly 1650 bytes was read, which raises the subscriber-data-present flag.
// Any other regular file gets the wrong-file message and changes nothing.
bool loadTlnFile(Widget parent);
