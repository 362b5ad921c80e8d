// Where the data answers of the configuration and subscriber reads go in the
// record.  Pure copies: they read the answer's bytes 0..length-1 and nothing
// beyond, write only the region the answer belongs to, and take a record of
// rec::RecordSize bytes (the program passes `all`).  Data an answer lacks reads
// as zero bytes, as in the cleared receive buffer the answers arrive in.
#pragma once

#include <cstddef>

// Stores the answer to read step into its list (configLists[step]): the port
// answers' first data byte is the port count (step 0 keeps it, less one, as
// the PBX type); the rest is cut to the list's read size.  False, the record untouched, for a
// step that is none.
bool storeConfigAnswer(unsigned char *record, int step, const unsigned char *answer, int length);

// The ROM version text of an answer: its data up to the first zero byte, cut
// to size-1 characters, always terminated (size > 0).
void storeVersion(char *text, std::size_t size, const unsigned char *answer, int length);

// Subscriber record i (0..rec::TlnCount-1) from its answer: always the whole
// record, zeros where the answer is short.  False, the record untouched, for
// any other i.
bool storeTlnAnswer(unsigned char *record, int i, const unsigned char *answer, int length);
