// The debug trace and its state: the level given with -D and the trace file.
// Nothing is written while there is no file.  Callers decide on the level.
#pragma once

#include <cstdio>

extern int debugflag;   // trace level from -D; 0 = no trace
extern FILE *debugfile; // the trace file while tracing

// Opens (truncating) the trace file for a level, closing any earlier one.  It
// is used only when it is a regular file of the user's own (a symbolic link
// is not followed, a FIFO not waited on) and gets mode 0600.  When the file
// cannot be used, tracing stays off (level 0) and standard error says why.
// True when the file is open.
bool openTrace(int level);
// Closes the trace file when the level asks for tracing.
void closeTrace();

void tracePrintf(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void traceFlush();
// True when the trace level asks for errors and dumps (any level but 0).
bool traceErrors();
// True when the trace level asks for every byte on the line (above 2).
bool traceBytes();

// Rows of eight: the bytes in hex, then as characters ('.' outside 32..126).
void dumppacket(const char *title, const unsigned char *bytes, int count);

// Test-only: where the trace file goes (default "/tmp/kelvora.debug").
void setDebugFilePath(const char *path);
const char *debugFilePath();
