// The debug trace: everything goes to debugfile (see shell/shell.h); nothing is
// written while there is none.  Callers decide on the level.
#pragma once

#include <cstdio>

void tracePrintf(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void traceFlush();
// True when the trace level asks for errors and dumps (any level but 0).
bool traceErrors();
// True when the trace level asks for every byte on the line (above 2).
bool traceBytes();

// Rows of eight: the bytes in hex, then as characters ('.' outside 32..126).
void dumppacket(const char *title, const unsigned char *bytes, int count);
