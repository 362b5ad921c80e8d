// What the outgoing and incoming call lists share: the read into a store, the
// list, the text files and printing.
#pragma once

#include "charges/calltransfer.h"

#include <X11/Intrinsic.h>
#include <cstdio>
#include <string>
#include <vector>

// One list dialog and the PBX memory behind it.
struct CallList {
    const char *dialogName;  // "gebOlist_dlg"
    const char *listName;    // "*gebOtext"
    const CallRead &read;    // what the PBX is asked for and how a record reads
    Widget dialog = nullptr;          // built on first opening and kept
    std::vector<unsigned char> store; // the last complete read; empty before the first
};

// Builds the dialog on first use (exit 1 when it cannot be built) and runs it
// modally until "OK".
void runCallList(CallList &list, Widget parent);
// Reads the PBX's records and, when the read ran through, makes them the store
// and shows them.  A read that fails leaves store and list as they were.
bool readCallList(CallList &list);
// Refills the list from the store, first offering a speed-dial file for the
// names when there is no directory.
void showCallList(CallList &list);
// Asks for a file and writes the lines into it.
bool saveCallList(const CallList &list, const char *query, const char *prompt, const char *pattern, CallForm form);
// The text lines through "lpr"; nothing before the first read.
bool printCallList(const CallList &list);
