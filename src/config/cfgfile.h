// Configuration files: the PBX image of the record behind a 36-byte identification.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdio>

constexpr const char *CfgIdDorvan = "Daten Konfigurator DORVAN IS-x V1.4";
constexpr const char *CfgIdOstrale = "Daten Konfigurator OSTRALE 18x V1.4";
constexpr int CfgIdSize = 36;
constexpr long CfgFileSize = CfgIdSize + 2098;

extern char cfgpatbuf[256];

void saveCFGFileAs(Widget w, XtPointer client, XtPointer call);
void saveCFGFile(Widget w, XtPointer client, XtPointer call);
void loadCFGFile(Widget w, XtPointer client, XtPointer call);
void dowrite(FILE *fp);

// 1 when the open file is a regular file.
int isNormalFile(FILE *fp);
// 1 when the bytes read start with the expected text (first count characters);
// otherwise shows the wrong-file message for path and kind and returns 0.
int isCorrectFile(Widget parent, const char *path, const char *kind, const char *expected, const char *bytes,
                  int count);
