// What goes to the spooler: the program's ISO 8859-1 text in the character set
// the printer reads, through the command that prints it.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace print {

// CUPS's text filter reads UTF-8 and stops at the first byte that is none;
// older printers read ISO 8859-1 as it is.
enum class Encoding { Utf8, Latin1 };

// "UTF-8" or "ISO-8859-1" (also "utf8", "latin1", any case); false for
// anything else.
bool parseEncoding(std::string_view name, Encoding &encoding);

// The text as the spooler gets it.
std::string forSpooler(std::string_view latin1, Encoding encoding);

// The command as it is run.  lpr is told a pitch at which 80 columns fit on
// A4 and Letter with common margins, ahead of the user's own options, which
// may override it; any other command gets the text as it is.
std::string commandLine(const std::string &command);

struct Outcome {
    enum Kind {
        Printed,
        NotStarted, // no shell to run it; error says why
        NotFound,   // the shell found no such command
        Failed,     // it exited with status (-1: killed), or did not take it all
    } kind = Printed;
    int error = 0;
    int status = 0;
};

// Runs the command (through commandLine) with the bytes on its standard input
// and waits for it.  A command that goes away early does not take the program
// with it.
Outcome spool(const std::string &command, std::string_view bytes);

// What the user is told when it did not print, in the window's words.
std::string failureText(const Outcome &outcome);

struct Settings {
    std::string command = "lpr"; // empty: lpr
    Encoding encoding = Encoding::Utf8;
};

// What the writer writes (the program's text, a stream of ISO 8859-1) to the
// spooler as settings say.  Failed when the writer did not write it all:
// half a list is not printed.
Outcome printText(const std::function<bool(FILE *fp)> &write, const Settings &settings);

} // namespace print
