// The main window's "Übersicht": the overview page of the configuration as it
// is now, with the speed-dial directory, subscriber data and call lists the
// program holds, written into the user's runtime or cache folder and opened
// with the resource Kelvora.browseCommand ("xdg-open %s").
#pragma once

#include <X11/Intrinsic.h>
#include <string>
#include <vector>

void showOverview(Widget = nullptr, XtPointer = nullptr, XtPointer = nullptr);

// Where the page goes: $XDG_RUNTIME_DIR/kelvora, else $XDG_CACHE_HOME/kelvora
// or ~/.cache/kelvora; made (mode 0700) when missing.  "" when none can be.
std::string overviewFolder();
// The command line of a browse command for a file: split at blanks, "%s" the
// file (one argument, never read by a shell); without "%s" the file last.
std::vector<std::string> browseArguments(const std::string &command, const std::string &path);
