// The speed-dial directory in the record: its slots, its file (".kwz") and its
// text export, without dialogs.  The dialogs over it are in kwzfile.h.
#pragma once

#include "config/atomicfile.h"
#include "config/cfgread.h"
#include "config/record.h"

#include <cstdio>
#include <string>

constexpr const char *KwzMark = "KwDaten";
constexpr int KwzMarkLength = 7;
constexpr std::size_t KwzFileSize = rec::KwzSizeInFile; // 13060
constexpr std::size_t KwzNameFileOffset = rec::KwzNames - rec::KwzHeader;
constexpr int KwzNameMax = 37;   // as the editor takes it
constexpr int KwzNumberMax = 24; // digits

inline char *kwzNumber(int i) { return recText(rec::KwzNumbers + rec::KwzNumberSize * std::size_t(i)); }
inline char *kwzName(int i) { return recText(rec::KwzNames + rec::KwzNameSize * std::size_t(i)); }

// A slot's text up to its first zero byte and never beyond the slot.
std::string slotText(const char *slot, std::size_t size);
inline std::string numberOf(int i) { return slotText(kwzNumber(i), rec::KwzNumberSize); }
inline std::string nameOf(int i) { return slotText(kwzName(i), rec::KwzNameSize); }

// Name and number into slot i: the name as it is (at most 38 characters), the
// number into a slot whose first 24 bytes were cleared; counts one change.
void putEntry(int i, const char *name, const char *number);

// The export of record's directory as text (two pages of 100 entries); false
// when the stream took it not completely.  writeTextFile: the program's record.
bool writeKwzText(FILE *fp, const unsigned char *record);
bool writeTextFile(FILE *fp);

// The directory of record as its file holds it: header, numbers, names, both
// prefix lists.
bool writeKwzStream(FILE *fp, const unsigned char *record);
// Writes record's directory at path (atomically); nothing else changes.
FileWrite writeKwzFile(const char *path, const unsigned char *record);
// The same for the program's record (`all`), whose directory then counts as
// saved (change counter 0).
FileWrite writeKwzFile(const char *path);
// Loads a speed-dial file into record as the dialog's "Laden" does: the
// counters say a directory is present and saved.  Loaded, WrongFile or
// Unplaced as readKwzStream says; record is untouched unless Loaded.
FileLoad loadKwzImage(FILE *fp, unsigned char *record);
// The same for the program's record (`all`), which then counts as saved.
FileLoad loadKwzImage(FILE *fp);
