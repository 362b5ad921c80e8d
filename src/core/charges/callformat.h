// Call records as the PBX keeps them.  Both end in the same 17 bytes
// (subscriber code, month, day, hour, minute, 12 bytes of packed digits); an
// outgoing record has its charge and duration ahead of them.  How a record
// reads as a line, and how an answer's records go into a store.
#pragma once

#include <string>

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
// entry with exactly that number, "" when none has it.  The directory is
// record's; get_CallName looks in the program's (`all`).
std::string callName(const unsigned char *record, const std::string &number);
std::string get_CallName(const std::string &number);
// A field of a CSV row: names come from the user, so one holding the
// separator, a quote or a line break is quoted and the row keeps its columns.
std::string csvField(const std::string &text, char separator = ',');

enum class CallForm { Text, Spreadsheet };

// The line of the call at position; "" for an empty one (subscriber code 0).
// Names come from record's speed-dial directory; the print* forms take them
// from the program's record (`all`).
std::string outCallLine(int position, const unsigned char *call, CallForm form, const unsigned char *record);
std::string inCallLine(int position, const unsigned char *call, CallForm form, const unsigned char *record);
std::string printOutcallbuf(int position, const unsigned char *call, CallForm form);
std::string printIncallbuf(int position, const unsigned char *call, CallForm form = CallForm::Text);

// Copies the records of an answer (length counting its 4 header bytes) into
// the store of capacity records at position received, none past the end.
// Returns how many whole records its data bytes hold: 0 when it ends the list
// (an empty answer, or one too short for a record).
int storeCallAnswer(unsigned char *store, int capacity, int recordSize, int received, const unsigned char *answer,
                    int length);
