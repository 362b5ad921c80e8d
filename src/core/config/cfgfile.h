// Configuration files: the PBX image of the record behind a 36-byte
// identification.  Writing and loading report what happened; dialogs and
// messages are the window's (app/cfgfiles.h).
#pragma once

#include "config/atomicfile.h"
#include "config/cfgread.h"

#include <cstdio>

constexpr const char *CfgIdDorvan = "Daten Konfigurator DORVAN IS-x V1.4";
constexpr const char *CfgIdOstrale = "Daten Konfigurator OSTRALE 18x V1.4";
constexpr int CfgIdSize = 36;
constexpr long CfgFileSize = CfgIdSize + 2098;

// The identification a saved file starts with.
enum class CfgVendor { Dorvan, Ostrale };

// The identification and the PBX image of record; false when the stream did
// not take all of it.
bool writeCfgStream(FILE *fp, CfgVendor vendor, const unsigned char *record);
// Writes record's file at path, replacing it only once all of it reached the
// disk; nothing else changes.
FileWrite writeConfigFile(const char *path, CfgVendor vendor, const unsigned char *record);
// The same for the program's record (`all`), which then counts as saved
// (change counter 0, file counter +1).
FileWrite writeConfigFile(const char *path, CfgVendor vendor);
// Loads an open configuration file into record; when loaded, its counters say
// the configuration is valid and saved.  WrongFile leaves record as it was.
FileLoad loadConfigImage(FILE *fp, unsigned char *record);
// The same for the program's record (`all`), which then counts as saved.
FileLoad loadConfigImage(FILE *fp);

// 1 when the open file is a regular file.
int isNormalFile(FILE *fp);
