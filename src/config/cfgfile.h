// Configuration files: the PBX image of the record behind a 36-byte
// identification.  The operations report whether a file was written or loaded;
// the main window is the shell's business.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdio>

constexpr const char *CfgIdDorvan = "Daten Konfigurator DORVAN IS-x V1.4";
constexpr const char *CfgIdOstrale = "Daten Konfigurator OSTRALE 18x V1.4";
constexpr int CfgIdSize = 36;
constexpr long CfgFileSize = CfgIdSize + 2098;

extern char cfgdirname[256]; // directory of the configuration-file dialogs

// The identification a saved file starts with.
enum class CfgVendor { Dorvan, Ostrale };

// Asks for a file and writes it; false when cancelled or not written.
bool saveConfigFileAs(Widget parent, CfgVendor vendor);
// Writes the current configuration file without asking, and only while the
// configuration is valid; false when nothing was written.
bool saveConfigFile(Widget parent, CfgVendor vendor);
// Clears the configuration-valid flag, asks for a file and loads it; true when
// loaded (the flag is then set).
bool loadConfigFile(Widget parent);
// Writes the identification and the PBX image to path, replacing the file only
// once all of it reached the disk; true when written (a failure is shown under
// parent, and the old file stays).
bool dowrite(Widget parent, const char *path, CfgVendor vendor);

// Tells under parent that the file at path could not be written, and why.
void showWriteError(Widget parent, const char *path, int error);

// 1 when the open file is a regular file.
int isNormalFile(FILE *fp);
// Tells under parent that the file at path is no file of that kind.
void showWrongFile(Widget parent, const char *path, const char *kind);
