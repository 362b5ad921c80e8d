// Reading a speed-dial file from a stream that is already open: no dialogs, the
// outcome as a result (see config/cfgread.h).
#pragma once

#include "config/cfgread.h"

#include <cstdio>

// Zeroes the bytes after each number's terminating zero up to its 24th byte,
// in a record of rec::RecordSize bytes.
void normaliseNumbers(unsigned char *record);

// The header, numbers, names and both prefix lists into record (from byte
// rec::KwzHeader on), when the file starts with the speed-dial mark; a
// shorter file replaces only as much as it has.  The numbers are normalised.
FileLoad readKwzStream(FILE *fp, unsigned char *record);

// Only the names of a speed-dial file into record (any other file would put
// its bytes into every name): as many as the file has.
FileLoad readKwzNames(FILE *fp, unsigned char *record);
