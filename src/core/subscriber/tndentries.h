// Subscriber data files (".tnd"): no header, one 55-byte entry per subscriber
// in subscriber order, each a copy of the record's functions, wake-up time,
// both forwarding targets and the ring time.  The entries on a stream that is
// already open: no dialogs, the outcome as a result.  The record has
// rec::RecordSize bytes.
#pragma once

#include <cstdio>

constexpr long TndEntrySize = 55;
constexpr long TndFileSize = 30 * TndEntrySize;

// The 1650 bytes of the file; false when they did not all reach the stream.
bool writeTndStream(FILE *fp, const unsigned char *record);
// Reads the entries field by field straight into the records: a field cut
// short keeps its bytes beyond the cut.  The number of whole entries read
// (30 for a complete file).
int readTndStream(FILE *fp, unsigned char *record);
