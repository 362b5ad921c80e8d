// Start-up and the main window; toplevel comes from the toolkit.
#pragma once

#include "app/cfgfiles.h"
#include "config/version.h"
#include "toolkit/toolkit.h" // toplevel

#include <X11/Intrinsic.h>
#include <string>

// Runs the whole program (what main() does); returns only through exit().
int kelvoraMain(int argc, char **argv);

// kelvoraMain without its event loop: record, toolkit, command line, main window.
void kelvoraStart(int argc, char **argv);
// Reads -D and the device from what the toolkit left of the command line.
void parseCommandLine(int argc, char **argv);
// The level of -D, 0 to 99; anything else prints why and the usage line, exit 1.
int traceLevelOf(const char *progpath, const char *text);
// Registers the callback procedures, builds and realizes the main window under
// toplevel and shows the version.
void buildMainWindow();
[[noreturn]] void usage(const char *progpath);

void AllocateStructs();
void SetUpVars();
void kelvora_vers();
void show_anl_vers();
void activateMainButtons();
// Quits; asks first while the configuration, the speed dial or the subscriber
// data hold changes neither saved nor programmed.
void quitting(Widget = nullptr, XtPointer = nullptr, XtPointer = nullptr);
// True while they do.
bool unsavedWork();
void showHelp(Widget w, XtPointer, XtPointer);

// The title: the file the configuration came from or went to, the resource
// table's title, the line chosen in the window; a leading "*" while the quit
// question would be asked.
void showWindowTitle();
// The title again once the dialog run that just ended has been stored.
void followDialogEdits();
// The file's name (without its folder) goes into the title; "" for none.
void showFileInTitle(const char *path);
// The message line tells how a file or transfer step ended: the line's
// resource name, else own, with what for its %s.
void tellStep(const char *name, const char *own, const std::string &what);
// The local time as the line tells it ("14:32").
std::string clockTime();

// The main window's transfers and files: each runs the configuration operation
// and then brings the main window up to date.
void readConfig(Widget = nullptr, XtPointer = nullptr, XtPointer = nullptr);
void writeConfig(Widget = nullptr, XtPointer = nullptr, XtPointer = nullptr);
void loadCFGFile(Widget, XtPointer, XtPointer);
void saveCFGFile(Widget, XtPointer, XtPointer);
void saveCFGFileAs(Widget, XtPointer, XtPointer);
// The subscriber data transfers as registered procedures: the widget is the
// parent of the working and error dialogs.
void readTlnConfig(Widget parent, XtPointer = nullptr, XtPointer = nullptr);
void writeTlnConfig(Widget parent, XtPointer = nullptr, XtPointer = nullptr);
