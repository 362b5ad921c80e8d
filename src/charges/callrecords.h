// The PBX's memory of calls.  Both records end in the same 17 bytes (subscriber
// code, month, day, hour, minute, 12 bytes of packed digits); an outgoing record
// has its charge and duration ahead of them.  Here: how a record reads as a
// line, and what the outgoing and incoming list dialogs share -- the read into
// a store, the list, the text files and printing.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdio>
#include <string>
#include <vector>

constexpr int OutCallSize = 23, OutCallCount = 1000;
constexpr int InCallSize = 17, InCallCount = 75;
constexpr int CallNumberSize = 12;

// "--" for 0xAA, else "%2X".
std::string getKitAppNum(unsigned char code);
// The dialled or calling number of 12 packed bytes: "-----" for a first byte
// 0xFF, "#9" for a private call (a byte 0xBB), else its digits up to an end
// nibble 0xF (at most 24).
std::string get_Phonenumber(const unsigned char *number);
// The name to show for a number: "" without a speed-dial directory; the two
// fixed names for "-" and "#" numbers; else the name of the first speed-dial
// entry with exactly that number, "" when none has it.
std::string get_CallName(const std::string &number);

enum class CallForm { Text, Spreadsheet };

// The line of the record at position; "" for an empty record (subscriber code 0).
std::string printOutcallbuf(int position, const unsigned char *record, CallForm form);
std::string printIncallbuf(int position, const unsigned char *record, CallForm form = CallForm::Text);

// One list dialog and the PBX memory behind it.
struct CallList {
    const char *dialogName;  // "gebOlist_dlg"
    const char *listName;    // "*gebOtext"
    const char *readMessage; // the working dialog's message
    const char *traceLabel;  // for the dump of every answer
    int command;             // the read command
    bool wideIndex;          // the request carries a 16-bit index (6-byte command)
    int recordSize;
    int capacity;
    std::string (*line)(int position, const unsigned char *record, CallForm form);
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
// Every non-empty record of the store, one line each ("%80.80s" when printing);
// false when the stream did not take them.
bool writeCalls(const CallList &list, FILE *fp, bool printing, CallForm form);
// Asks for a file and writes the lines into it.
bool saveCallList(const CallList &list, const char *query, const char *prompt, const char *pattern, CallForm form);
// The text lines through "lpr"; nothing before the first read.
bool printCallList(const CallList &list);
