// kelvoractl's printouts and the call lists' table for spreadsheets: the
// window's bytes through the window's code.
#pragma once

#include "charges/calltransfer.h"
#include "print/printout.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// --print-encoding and --print-command as given (empty: not given); false
// after saying what is wrong.
bool printSettingsOf(const std::string &encoding, const std::string &command, print::Settings &settings);

// The writer's text to the spooler, as the window's "Drucken" sends it; the
// exit status (FileTrouble, with the window's text, when it did not print).
int printOut(const std::function<bool(FILE *fp)> &write, const print::Settings &settings);

// The call list as the window prints it, names from record.
int printCalls(const CallRead &list, const std::vector<unsigned char> &store, const unsigned char *record,
               const print::Settings &settings);
// The speed-dial directory of record as the window prints it.
int printSpeedDial(const unsigned char *record, const print::Settings &settings);
// The table for spreadsheets on standard output, names from record.
int writeCallSheet(const CallRead &list, const std::vector<unsigned char> &store, const unsigned char *record);
