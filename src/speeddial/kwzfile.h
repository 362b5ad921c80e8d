// The speed-dial directory in the record: its slots, its files (".kwz"), the
// name merge and the text export.  The dialog of the directory lives in kwz.cpp.
#pragma once

#include "config/record.h"

#include <X11/Intrinsic.h>
#include <cstdio>
#include <string>

constexpr const char *KwzMark = "KwDaten";
constexpr int KwzMarkLength = 7;
constexpr std::size_t KwzFileSize = rec::KwzSizeInFile; // 13060
constexpr std::size_t KwzNameFileOffset = rec::KwzNames - rec::KwzHeader;
constexpr int KwzNameMax = 37;   // as the editor takes it
constexpr int KwzNumberMax = 24; // digits

extern char thedirname[256]; // directory of the load and save-as dialogs
extern char patbuf[256];     // their pattern

inline char *kwzNumber(int i) { return recText(rec::KwzNumbers + rec::KwzNumberSize * std::size_t(i)); }
inline char *kwzName(int i) { return recText(rec::KwzNames + rec::KwzNameSize * std::size_t(i)); }

// A slot's text up to its first zero byte and never beyond the slot.
std::string slotText(const char *slot, std::size_t size);
inline std::string numberOf(int i) { return slotText(kwzNumber(i), rec::KwzNumberSize); }
inline std::string nameOf(int i) { return slotText(kwzName(i), rec::KwzNameSize); }

// Name and number into slot i: the name as it is (at most 38 characters), the
// number into a slot whose first 24 bytes were cleared; counts one change.
void putEntry(int i, const char *name, const char *number);
// Zeroes the bytes after each number's terminating zero up to its 24th byte.
void normaliseNumbers();

// The export of the directory as text (two pages of 100 entries); false when
// the stream took it not completely.
bool writeTextFile(FILE *fp);

// Sets the speed-dial file path and the directory of the file dialogs.
void setKwzDefaults();

// Asks for a speed-dial file under parent and loads it; true when loaded.
bool loadKwzFile(Widget parent);
// Writes the directory to the speed-dial file path (no question); true when
// written.  A file that cannot be opened or written is reported under parent
// and the change counter is kept.
bool saveKwzFile(Widget parent);
// Asks for a file, then writes it.
bool saveKwzFileAs(Widget parent);
// Asks for a file and writes the text export into it.
bool saveKwzText(Widget parent);
// Asks for a speed-dial file and takes its names; true when taken.  Only with a
// directory present, and only from a file with the speed-dial mark.
bool mergeKwzNames(Widget parent);
// The text export into "lpr"; false (after telling the user) when lpr could not
// be run or reported an error.
bool printKwzText(Widget parent);
