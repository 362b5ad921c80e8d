// Start-up, main window and the state every part of the program shares;
// toplevel comes from the toolkit.
#pragma once

#include "toolkit/toolkit.h" // toplevel

#include <X11/Intrinsic.h>

extern char anl_vers[256];   // the PBX's ROM version text
extern char cfgdirname[256]; // directory of the configuration-file dialogs

constexpr const char *KelvoraVersion = "0.0.5";
constexpr const char *DefaultFilesDir = "/usr/local/kelvora/etc";

// Runs the whole program (what main() does); returns only through exit().
int kelvoraMain(int argc, char **argv);

// kelvoraMain without its event loop: record, toolkit, command line, main window.
void kelvoraStart(int argc, char **argv);
// Reads -D and the device from what the toolkit left of the command line.
void parseCommandLine(int argc, char **argv);
// Registers the callback procedures, builds and realizes the main window under
// toplevel and shows the version.
void buildMainWindow();
[[noreturn]] void usage(const char *progpath);

void AllocateStructs();
void SetUpVars();
void kelvora_vers();
void show_anl_vers();
void activateMainButtons();
void quitting(Widget = nullptr, XtPointer = nullptr, XtPointer = nullptr);
void showHelp(Widget w, XtPointer, XtPointer);

// Openers of the main window's dialogs.
void showConf(Widget, XtPointer, XtPointer);
void dokwz(Widget, XtPointer, XtPointer);
void dornz(Widget, XtPointer, XtPointer);
void doglob(Widget, XtPointer, XtPointer);
void dotlnperm(Widget, XtPointer, XtPointer);
void dotlntyp(Widget, XtPointer, XtPointer);
void doamtperm(Widget, XtPointer, XtPointer);
void docalldist(Widget, XtPointer, XtPointer);
void dogebdat(Widget, XtPointer, XtPointer);
void dosteuerk(Widget, XtPointer, XtPointer);
void douserfkt(Widget, XtPointer, XtPointer);
void doOutKit(Widget, XtPointer, XtPointer);
void doInKit(Widget, XtPointer, XtPointer);
