// Reading the PBX's call records, and erasing its memory of outgoing calls.
#pragma once

#include "charges/callformat.h"
#include "link/transfer.h"

#include <cstdio>
#include <vector>

// What one of the two lists reads.
struct CallRead {
    const char *message;    // the working display's message
    const char *traceLabel; // for the dump of every answer
    int command;            // the read command
    bool wideIndex;         // the request carries a 16-bit index (6-byte command)
    int recordSize;
    int capacity;
    // names from record's speed-dial directory
    std::string (*line)(int position, const unsigned char *call, CallForm form, const unsigned char *record);
};
extern const CallRead outgoingCalls; // the last 1000 outgoing calls
extern const CallRead incomingCalls; // the last 75 incoming calls

// Reads the records from position 0 on until the PBX has no more (or the
// store is full); store gets them, zeros behind, only when the read ran
// through.  A read that fails leaves it as it was.
TransferResult readCalls(const CallRead &list, std::vector<unsigned char> &store, TransferObserver &observer);
// Erases the PBX's memory of outgoing calls.
TransferResult eraseOutgoingCalls(TransferObserver &observer);

// Every non-empty record of the store, one line each as the window saves it
// ("%80.80s" when printing), names from record; false when the stream did
// not take them.
bool writeCallLines(const CallRead &list, const std::vector<unsigned char> &store, FILE *fp, bool printing,
                    CallForm form, const unsigned char *record);
