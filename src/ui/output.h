// Lists written as text: into a file the user picks, or to the printer.  The
// caller supplies the writer; failures are told to the user under parent.
#pragma once

#include "config/atomicfile.h"
#include "print/printout.h"

#include <X11/Intrinsic.h>
#include <cstdio>
#include <functional>

// Writes lines into fp; false when the stream did not take them all.
using LineWriter = std::function<bool(FILE *fp)>;

// Asks for a file (query name, prompt and pattern; the dialog starts in the
// files directory with empty buffers) and writes it.  Nothing is written into
// anything but a regular file.  True when written; a write that fails shows
// "writeError".
bool saveLinesAs(Widget parent, const char *query, const char *prompt, const char *pattern, const LineWriter &write);

// Tells under parent that the file at path could not be written, and why.
void showWriteError(Widget parent, const char *path, int error);
// What a write through writeFileAtomically comes to for the user: true when
// written; a target that is no regular file is passed over without a word; a
// write-protected file shows "readOnly", another user's "otherOwner", a
// failure "writeError" (errno as the write left it).
bool toldWrite(Widget parent, const char *path, FileWrite result);
// Tells under parent that the file at path is no file of that kind.
void showWrongFile(Widget parent, const char *path, const char *kind);

// The resources printCommand ("lpr") and printEncoding ("UTF-8"); an encoding
// that is neither is said on standard error and UTF-8 printed.
print::Settings printSettings();
// Pipes the lines into the print command; false (after telling the user with
// "printError") when it could not be run, was not found or reported an error.
bool printLines(Widget parent, const LineWriter &write);
