// Start-up, main window and the state every part of the program shares.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdio>

extern Widget toplevel;      // the application shell; parent of every dialog
extern int debugflag;        // trace level from -D; 0 = no trace
extern FILE *debugfile;      // the trace file while tracing
extern char anl_vers[256];   // the PBX's ROM version text
extern char cfgdirname[256]; // directory of the configuration-file dialogs

constexpr const char *KelvoraVersion = "0.0.5";
constexpr const char *DefaultFilesDir = "/usr/local/kelvora/etc";

// Runs the whole program (what main() does); returns only through exit().
int kelvoraMain(int argc, char **argv);

void AllocateStructs();
void SetUpVars();
void kelvora_vers();
void show_anl_vers();
void setFlags(int value);
void activateMainButtons();
void quitting(Widget = nullptr, XtPointer = nullptr, XtPointer = nullptr);

// Test-only: where the trace file goes (default "/tmp/kelvora.debug").
void setDebugFilePath(const char *path);
const char *debugFilePath();
