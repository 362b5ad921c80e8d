// Reading the files' contents from a stream that is already open: no dialogs,
// no file names, the outcome as a result.  The callers check that the stream is
// a regular file and tell the user about a wrong one.
#pragma once

#include <cstdio>

enum class FileLoad {
    Loaded,    // the record holds what the file had (a short file: as far as it reaches)
    WrongFile, // the mark at the start is missing; the record is untouched
    Unplaced,  // the stream could not be positioned; the record is untouched
};

// True when the first count bytes of bytes match expected (as strncmp does).
bool hasMark(const char *bytes, const char *expected, int count);

// A configuration file: the identification, then the PBX image into record
// bytes 0-2097.  The record has rec::RecordSize bytes.
FileLoad readCfgStream(FILE *fp, unsigned char *record);
